# Sourced: starts and stops the Wine server, the prefix's services and Xvfb for one run.
# The services that the first Wine program of a session starts (winedevice, plugplay, ...)
# inherit that program's output; started here with it redirected, they cannot hold a
# caller's pipe open after the program ends.
wine_session_start() {
    wine_loader
    XVFB_PID=""
    if [ -z "$DISPLAY" ]; then
        n=90
        while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
        XVFB_PID=$!
        export DISPLAY=:$n
        i=0
        while [ ! -e /tmp/.X11-unix/X$n ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
    fi
    # The prefix's desktop process takes the display it was started with: Xvfb comes first.
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -p >/dev/null 2>&1 </dev/null || true
    wine_fonts
    wineboot >/dev/null 2>&1 </dev/null || true
    # COM's service, which the web panels need. Its first start in a new prefix takes half a minute
    # or more, during which every program that needs it waits for seconds: it is waited for here.
    i=0
    until wine net start rpcss 2>&1 </dev/null | grep -qi "already running\|started successfully"; do
        i=$((i + 1))
        if [ $i -ge 120 ]; then echo "wine-session: the RPC service did not start" >&2; break; fi
        sleep 1
    done
}

# Chinese glyphs: the dialog fonts fall back to WenQuanYi Zen Hei, and Arial links to it for the
# glyphs it lacks, as on a Chinese system. Unmanaged windows: with no window manager on Xvfb, Wine
# would wait 2 s each time a managed window is hidden. Imported again whenever these settings change.
wine_fonts() {
    reg="$WINEPREFIX/session.reg"
    cat > "$reg.new" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="WenQuanYi Zen Hei"
"NSimSun"="WenQuanYi Zen Hei"
"Microsoft YaHei"="WenQuanYi Zen Hei"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="WenQuanYi Zen Hei"
"MS Shell Dlg 2"="WenQuanYi Zen Hei"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Arial"=hex(7):77,71,79,2d,7a,65,6e,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,5a,65,6e,\
  20,48,65,69,00,00
REG
    if [ -f "$reg" ] && cmp -s "$reg" "$reg.new"; then rm -f "$reg.new"; return 0; fi
    mv "$reg.new" "$reg"
    wine regedit /S "$reg" >/dev/null 2>&1 </dev/null || rm -f "$reg"
}

# Some virtual machines run 64-bit user code only: there the build's 64-bit twin runs under Wine's
# 64-bit loader, which the "wine" command would not pick while the 32-bit one is installed.
wine_loader() {
    runs_32bit && return 0
    shims="$WINEPREFIX.bin"
    mkdir -p "$shims"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$shims/wine"
    cp "$shims/wine" "$shims/wine-stable"
    chmod +x "$shims/wine" "$shims/wine-stable"
    export PATH="$shims:$PATH" WINELOADER=/usr/lib/wine/wine64
}

runs_32bit() {
    /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

wine_session_stop() {
    wineserver -k >/dev/null 2>&1 || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
}
