#!/bin/sh
# Installs what the build needs from Debian's packages; does nothing when all is present.
set -e
PKGS="g++-mingw-w64-i686 libz-mingw-w64-dev wine wine32 xvfb fonts-wqy-zenhei doctest-dev cmake make x11-apps imagemagick"
missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" != 0 ]; then
    echo "Run as root: dpkg --add-architecture i386 && apt-get update && apt-get install -y$missing"
    exit 1
fi
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
