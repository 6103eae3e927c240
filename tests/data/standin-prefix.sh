#!/bin/sh
# Makes a copy of the test prefix in which the stand-in control is registered in place of the
# WebBrowser control (machine-wide: a per-user class has no effect here).
set -e
BUILD=$1
COPY="$BUILD/wineprefix-standin"
rm -rf "$COPY"
cp -a "$BUILD/wineprefix" "$COPY"
export WINEPREFIX="$COPY"
DLL=$(winepath -w "$BUILD/tests/standin_browser.dll")
KEY='HKLM\Software\Classes\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\InprocServer32'
wine reg add "$KEY" /ve /d "$DLL" /f >/dev/null 2>&1
wine reg add "$KEY" /v ThreadingModel /d Apartment /f >/dev/null 2>&1
wineserver -w
