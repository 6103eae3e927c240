#!/bin/sh
# Lays out a demo game folder and starts the launcher in it; without a display, under Xvfb,
# saves a screenshot once the window is up and ends the launcher.
set -e
BUILD=$(cd "$1" && pwd)
DEMO="$BUILD/demo"
mkdir -p "$DEMO"
cp "$BUILD/vorelin.exe" "$DEMO/"
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# A new folder holds the whole of 1.24E as a player's does: its package extracted by minizip's own
# extractor in this prefix, so that each file has the time the launcher's extraction gives it. A
# folder laid out before is left as it is: what is missing there is the repair box's to tell.
lay_out_version() {
    [ -f "$DEMO/war3.exe" ] && return 0
    if ! (cd "$DEMO" && wine "$BUILD/miniunz.exe" -x -o ../packages/185.zip -d .) >"$BUILD/demo-layout.log" 2>&1 ||
       [ ! -f "$DEMO/war3.exe" ]; then
        echo "the version could not be laid out in $DEMO; see $BUILD/demo-layout.log"
        exit 1
    fi
}

if [ -n "$DISPLAY" ]; then
    lay_out_version
    echo "demo folder: $DEMO"
    exec wine "$DEMO/vorelin.exe"
fi
. "$(dirname "$0")/wine-session.sh"
wine_session_start
trap wine_session_stop EXIT
lay_out_version
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
