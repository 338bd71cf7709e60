# Sourced by the scripts that run Windows programs under wine. Sets up, for the build folder
# build-windows/: one wine prefix (made once), a persistent wine server, and a virtual X
# display (Xvfb) for programs that show windows; the caller's EXIT trap must call
# wine_env_stop. Wine draws window frames itself here (no window manager), with the fonts
# that Debian's fonts-wine ships copied into the prefix.
root="${root:?root must be set}"
export WINEPREFIX="$root/build-windows/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
mkdir -p "$WINEPREFIX"

wine_env_start() {
    wineserver -k 2>/dev/null || true
    # A display of its own: Xvfb picks a free number and writes it when ready.
    local said
    said="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$said" >/dev/null 2>&1 &
    wine_env_xvfb=$!
    for _ in $(seq 100); do
        [ -s "$said" ] && break
        sleep 0.1
    done
    if [ ! -s "$said" ]; then
        # The Windows app's tests need windows: without a display they cannot run, and that
        # is a failure of the run, not a test to leave out.
        rm -f "$said"
        echo "wine-env: Xvfb did not start: no display for the Windows app's windows" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$said")"
    rm -f "$said"
    wineserver -p
    # The prefix is made once per build folder; later runs reuse it. Wine's own background
    # programs start with the first program run, and keep open whatever output that run was
    # given: they start here, on /dev/null, so no test's output pipe is held open after it.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -f "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] ||
            cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_env_stop() {
    wineserver -k 2>/dev/null || true
    [ -n "${wine_env_xvfb:-}" ] && kill "$wine_env_xvfb" 2>/dev/null || true
}
