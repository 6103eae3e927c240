#!/bin/sh
# Lays out a demo game folder and starts the launcher in it; without a display, under Xvfb,
# saves a screenshot once the window is up and ends the launcher.
set -e
BUILD=$(cd "$1" && pwd)
DEMO="$BUILD/demo"
mkdir -p "$DEMO"
cp "$BUILD/vorelin.exe" "$DEMO/"
[ -f "$DEMO/war3.exe" ] || cp "$BUILD/packages/stand-ins/war3.exe" "$DEMO/war3.exe"
[ -f "$DEMO/game.dll" ] || cp "$BUILD/versiondll/v124.dll" "$DEMO/game.dll"
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "$DISPLAY" ]; then
    echo "demo folder: $DEMO"
    exec wine "$DEMO/vorelin.exe"
fi
. "$(dirname "$0")/wine-session.sh"
wine_session_start
trap wine_session_stop EXIT
wine "$DEMO/vorelin.exe" >"$BUILD/demo.log" 2>&1 </dev/null &
i=0
until xwininfo -root -tree 2>/dev/null | grep -q "Kelvadi"; do
    i=$((i + 1))
    if [ $i -gt 300 ]; then echo "the launcher's window did not appear"; exit 1; fi
    sleep 0.1
done
sleep 1  # let the first paint finish
xwd -root -silent | convert xwd:- "$BUILD/demo.png"
echo "demo folder: $DEMO"
echo "screenshot: $BUILD/demo.png"
