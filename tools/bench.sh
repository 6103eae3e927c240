#!/bin/sh
# Runs the benchmark programs of a build in a Wine session of their own:
#     sh tools/bench.sh build [program ...]   (default: every benchmark)
set -e
BUILD=$(cd "$1" && pwd)
shift
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$(dirname "$0")/wine-session.sh"
wine_session_start
trap wine_session_stop EXIT
[ $# -gt 0 ] || set -- launchbench switchbench zipbench regionbench
for program in "$@"; do
    [ -f "$BUILD/$program.exe" ] || continue
    echo "== $program"
    (cd "$BUILD" && wine "$program.exe" </dev/null 2>&1)
done
