#!/bin/sh
# Runs ctest with one Wine server kept alive for the whole run.
set -e
BUILD=$(cd "$1" && pwd)
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$BUILD" && ctest --output-on-failure
