#!/bin/sh
# Runs one Windows program under the build's private Wine prefix.
: "${WINEPREFIX:=$(pwd)/wineprefix}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
