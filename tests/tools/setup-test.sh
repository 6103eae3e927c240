#!/bin/sh
# The set-up's decisions, with apt-get, dpkg and the rest replaced by recorders: no root,
# no network, nothing installed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/repo/tools" "$T/repo/deps/minizip" "$T/repo/deps/libdeflate" "$T/bin"
cp "$here/../../tools/setup.sh" "$T/repo/tools/"
touch "$T/repo/deps/minizip/unzip.c" "$T/repo/deps/libdeflate/libdeflate.h"
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")

fake() { printf '#!/bin/sh\n%s\n' "$2" > "$T/bin/$1"; chmod +x "$T/bin/$1"; }
fake dpkg-query '[ -n "$FAKE_MISSING" ] || echo "install ok installed"'
fake id 'echo "$FAKE_UID"'
fake locale 'printf "en_US.utf8\nzh_CN.utf8\n"'
fake dpkg 'echo i386'
# install fails without -t when FAKE_PLAIN_FAILS, and always when FAKE_ALL_FAIL.
fake apt-get 'echo "$*" >> "$CALLS"
case "$*" in update*) exit 0;; esac
[ -n "$FAKE_ALL_FAIL" ] && { echo "E: Unable to correct problems"; exit 100; }
case "$*" in *" -t "*) exit 0;; esac
[ -n "$FAKE_PLAIN_FAILS" ] && { echo "E: Unable to correct problems"; exit 100; }
exit 0'

failures=0
# run NAME MISSING UID PLAIN_FAILS ALL_FAIL: runs the script, leaving its output, status and calls.
run() {
    name=$1
    CALLS="$T/$name.calls"; : > "$CALLS"
    out=$(PATH="$T/bin:$PATH" CALLS="$CALLS" FAKE_MISSING=$2 FAKE_UID=$3 FAKE_PLAIN_FAILS=$4 FAKE_ALL_FAIL=$5 \
          sh "$T/repo/tools/setup.sh" 2>&1)
    status=$?
    installs=$(grep -c '^install' "$CALLS")
}
expect() {
    if [ "$2" != "$3" ]; then echo "FAIL $name: $1: got [$2], expected [$3]"; failures=$((failures + 1)); fi
}

run all-present "" 0 "" ""
expect status "$status" 0; expect output "$out" ""; expect "apt-get calls" "$(wc -l < "$CALLS")" 0

run not-root 1 1000 "" ""
expect status "$status" 1; expect output "$out" "Run as root: sh $T/repo/tools/setup.sh"
expect "apt-get calls" "$(wc -l < "$CALLS")" 0

run plain-install 1 0 "" ""
expect status "$status" 0; expect output "$out" ""; expect installs "$installs" 1

run mid-sync 1 0 1 ""
expect status "$status" 0; expect installs "$installs" 2
expect "output lines" "$(printf '%s\n' "$out" | wc -l)" 1
expect output "$out" "setup: the install failed (a package index caught mid-sync?); retrying with the $suite release suite preferred"
expect "second install" "$(grep '^install' "$CALLS" | tail -n1 | grep -c -- "-t $suite ")" 1

run both-fail 1 0 1 1
expect "status is a failure" "$([ "$status" -ne 0 ] && echo yes)" yes
expect "apt's error shown" "$(printf '%s\n' "$out" | grep -c 'Unable to correct problems')" 1

[ "$failures" -eq 0 ] && echo "setup decisions: all cases passed"
exit "$failures"
