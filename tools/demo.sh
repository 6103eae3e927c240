#!/bin/sh
# Lays out a demo game folder and starts the launcher in it; without a display, under Xvfb with a screenshot.
set -e
BUILD=$(cd "$1" && pwd)
DEMO="$BUILD/demo"
mkdir -p "$DEMO"
cp "$BUILD/vorelin.exe" "$DEMO/"
[ -f "$DEMO/war3.exe" ] || cp "$BUILD/vorelin.exe" "$DEMO/war3.exe"
cp "$BUILD/versiondll/v124.dll" "$DEMO/game.dll"
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "$DISPLAY" ]; then exec wine "$DEMO/vorelin.exe"; fi
Xvfb :77 -screen 0 1024x768x24 >/dev/null 2>&1 & XPID=$!
export DISPLAY=:77
sleep 2
wine "$DEMO/vorelin.exe" & LPID=$!
sleep 8
xwd -root -silent | convert xwd:- "$BUILD/demo.png" 2>/dev/null && echo "screenshot: $BUILD/demo.png"
kill $LPID 2>/dev/null || true
wineserver -k 2>/dev/null || true
kill $XPID 2>/dev/null || true
