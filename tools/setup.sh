#!/bin/sh
# Installs what the build needs from Debian's packages and unpacks minizip from
# Debian's zlib source package and libdeflate from its own into deps/; does nothing
# when all is present.
# Run by hand as root when a build reports a missing tool: sh tools/setup.sh
set -e
cd "$(dirname "$0")/.."
PKGS="python3 python3-pil bzip2 xz-utils g++-mingw-w64-i686 libz-mingw-w64-dev wine wine32 xvfb xdotool fonts-wqy-zenhei fonts-liberation doctest-dev cmake make x11-apps x11-utils imagemagick dpkg-dev locales"
# A machine that cannot run 32-bit code builds and runs a 64-bit twin for the tests and the demo.
/lib/ld-linux.so.2 --version >/dev/null 2>&1 || PKGS="$PKGS g++-mingw-w64-x86-64-win32 wine64"
missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
needsrc=""
[ -f deps/minizip/unzip.c ] || needsrc=1
needdeflate=""
[ -f deps/libdeflate/libdeflate.h ] || needdeflate=1
needlocale=""
locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' || needlocale=1
locale -a 2>/dev/null | grep -qi '^en_US.utf8$' || needlocale=1
[ -z "$missing$needsrc$needdeflate$needlocale" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "Run as root: sh $(pwd)/tools/setup.sh"
    exit 1
fi

suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
log=$(mktemp)
trap 'rm -f "$log"' EXIT
updated=""
update() {
    # A mirror mid-sync fails one index now and then; what was fetched is still usable.
    [ -n "$updated" ] || apt-get update -qq >"$log" 2>&1 || true
    updated=1
}

# SETUP_FAIL_FIRST_TRY=1 makes the first attempt of each step fail, so that the
# fallbacks can be exercised on a machine where nothing is wrong.
first_try() {
    [ -z "$SETUP_FAIL_FIRST_TRY" ] && "$@" >"$log" 2>&1
}

if [ -n "$missing" ]; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    update
    export DEBIAN_FRONTEND=noninteractive
    if ! first_try apt-get install -y -qq $missing; then
        # With one architecture's index of the security suite missing, wine32's libraries
        # cannot match the versions of their amd64 twins; the release suite has both.
        echo "setup: the install failed (a package index caught mid-sync?); retrying with the $suite release suite preferred"
        apt-get install -y -qq -t "$suite" $missing >"$log" 2>&1 || { cat "$log"; exit 1; }
    fi
fi

if [ -n "$needlocale" ]; then
    for l in "zh_CN.UTF-8 UTF-8" "en_US.UTF-8 UTF-8"; do
        grep -qx "$l" /etc/locale.gen 2>/dev/null || echo "$l" >> /etc/locale.gen
    done
    locale-gen >/dev/null
fi

if [ -n "$needsrc$needdeflate" ] && ! grep -rqs "deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    # Source entry for the Debian mirror already configured for binaries.
    uri=$(grep -rhs '^URIs:' /etc/apt/sources.list.d/*.sources | head -n1 | awk '{print $2}')
    [ -n "$uri" ] || uri=$(grep -hs '^deb ' /etc/apt/sources.list | head -n1 | awk '{print $2}')
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$uri" "$suite" > /etc/apt/sources.list.d/debian-src.sources
    updated=""
fi

# fetch_source PACKAGE: its upstream tarball from Debian, into deps/src-PACKAGE; its path in $orig.
fetch_source() {
    update
    dir="deps/src-$1"
    rm -rf "$dir" && mkdir -p "$dir"
    if ! (cd "$dir" && first_try apt-get source -qq --download-only "$1"); then
        echo "setup: the $1 source was not found (its index caught mid-sync?); fetching the indexes again"
        sleep 5
        apt-get update -qq >"$log" 2>&1 || true
        (cd "$dir" && apt-get source -qq --download-only "$1") >"$log" 2>&1 || { cat "$log"; exit 1; }
    fi
    orig=$(ls "$dir/$1"_*.orig.tar.* | head -n1)
}

if [ -n "$needsrc" ]; then
    fetch_source zlib
    rm -rf deps/zlib && mkdir -p deps/zlib
    tar xf "$orig" -C deps/zlib --strip-components=1
    rm -rf deps/minizip && cp -r deps/zlib/contrib/minizip deps/minizip
    # unzip.c forces NOUNCRYPT at its top, which compiles decryption out; the
    # reader needs it, so that one definition is removed from the copy.
    sed -i '/^#ifndef NOUNCRYPT$/{N;N;/#define NOUNCRYPT\n#endif/d}' deps/minizip/unzip.c
    grep -q '^        #define NOUNCRYPT' deps/minizip/unzip.c && { echo "NOUNCRYPT still forced"; exit 1; }
    rm -rf deps/src-zlib
fi

if [ -n "$needdeflate" ]; then
    fetch_source libdeflate
    # Unpacked beside its final place and moved there whole, so that a build sharing deps/
    # never sees half a library.
    rm -rf deps/libdeflate.new && mkdir -p deps/libdeflate.new
    tar xf "$orig" -C deps/libdeflate.new --strip-components=1
    [ -f deps/libdeflate.new/libdeflate.h ] && [ -f deps/libdeflate.new/lib/deflate_decompress.c ] ||
        { echo "setup: the libdeflate source has no libdeflate.h or lib/deflate_decompress.c"; exit 1; }
    rm -rf deps/libdeflate && mv deps/libdeflate.new deps/libdeflate
    rm -rf deps/src-libdeflate
fi
