#!/bin/sh
# Runs ctest with one Wine server kept alive for the whole run.
set -e
BUILD=$(cd "$1" && pwd)
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$(dirname "$0")/wine-session.sh"
wine_session_start
# Drive T: is a small volume of its own, for a disk that fills during a switch; only where this run may mount one.
mkdir -p "$BUILD/smallvolume"
if mountpoint -q "$BUILD/smallvolume" || mount -t tmpfs -o size=260m tmpfs "$BUILD/smallvolume" 2>/dev/null; then
    ln -sfn "$BUILD/smallvolume" "$WINEPREFIX/dosdevices/t:"
else
    rm -f "$WINEPREFIX/dosdevices/t:"
fi
# Drive V: is a folder of this run and U: the same folder read-only, for a game folder the launcher may not write.
mkdir -p "$BUILD/writable" "$BUILD/readonly"
if mountpoint -q "$BUILD/readonly" ||
   { mount --bind "$BUILD/writable" "$BUILD/readonly" 2>/dev/null && mount -o remount,bind,ro "$BUILD/readonly" 2>/dev/null; }; then
    ln -sfn "$BUILD/writable" "$WINEPREFIX/dosdevices/v:"
    ln -sfn "$BUILD/readonly" "$WINEPREFIX/dosdevices/u:"
else
    rm -f "$WINEPREFIX/dosdevices/u:" "$WINEPREFIX/dosdevices/v:"
fi
trap 'wine_session_stop; umount "$BUILD/smallvolume" "$BUILD/readonly" 2>/dev/null || true' EXIT
# Drive R: is an empty folder of this run, for tests of a launcher at a drive root.
rm -rf "$BUILD/driveroot" && mkdir -p "$BUILD/driveroot"
ln -sfn "$BUILD/driveroot" "$WINEPREFIX/dosdevices/r:"
cd "$BUILD" && shift; ctest --output-on-failure "$@"
