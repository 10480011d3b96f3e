# Sourced by the run and test scripts: a display, the build tree's Wine prefix
# and one persistent wineserver for everything that runs after it. What it
# starts is stopped when the sourcing shell exits.
#   LV_BUILD   the build tree (default: build)

LV_BUILD=${LV_BUILD:-build}
export WINEPREFIX=$(realpath -m "$LV_BUILD/wineprefix")
export WINEDEBUG=${WINEDEBUG:--all}
# Wine would mirror every Start Menu link the tests make into the Linux desktop's menus.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
lv_started_xvfb=

lv_stop_session() {
    wineserver -k 2>/dev/null || true
    [ -n "$lv_started_xvfb" ] && kill "$lv_started_xvfb" 2>/dev/null || true
}
trap lv_stop_session EXIT

if [ -z "${DISPLAY:-}" ]; then
    for number in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
        Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        lv_started_xvfb=$!
        export DISPLAY=":$number"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
        break
    done
fi

if [ ! -f "$WINEPREFIX/.installlv-ready" ]; then
    echo "Making the Wine prefix $WINEPREFIX (once per build tree)..."
    mkdir -p "$WINEPREFIX"
    # No Mono or Gecko: the installer needs neither, and there is no network to fetch them.
    WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    # Windows stay unmanaged: without a window manager under Xvfb, Wine would
    # otherwise wait two seconds for one whenever a window is hidden.
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.installlv-ready"
fi
# The prefix's Desktop is a link to the Linux home; links made there by the
# tests stay inside the prefix instead.
for lv_folder in "$WINEPREFIX"/drive_c/users/*/Desktop; do
    [ -L "$lv_folder" ] && rm "$lv_folder" && mkdir "$lv_folder"
done
wineserver -p
# Wine's own background processes start with the first program and keep the
# output handles they were born with; started here, they hold nothing of a
# test runner's, which would otherwise wait for them to close.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
if [ -f "$LV_BUILD/win64/tests/desktop_anchor.exe" ]; then
    /usr/lib/wine/wine64 "$LV_BUILD/win64/tests/desktop_anchor.exe" </dev/null >/dev/null 2>&1 &
fi
