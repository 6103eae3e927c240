#!/bin/sh
# Runs ctest with one Wine server kept alive for the whole run.
set -e
BUILD=$(cd "$1" && pwd)
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$(dirname "$0")/wine-session.sh"
wine_session_start
trap wine_session_stop EXIT
# Drive R: is an empty folder of this run, for tests of a launcher at a drive root.
rm -rf "$BUILD/driveroot" && mkdir -p "$BUILD/driveroot"
ln -sfn "$BUILD/driveroot" "$WINEPREFIX/dosdevices/r:"
cd "$BUILD" && shift; ctest --output-on-failure "$@"
