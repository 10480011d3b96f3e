# Sourced by the run and test scripts: a display, the build tree's Wine prefix
# and one persistent wineserver for everything that runs after it. What it
# starts is stopped when the sourcing shell exits.
#   LV_BUILD   the build tree (default: build)
#   LV_WINE32  when set: the prefix of the shipped 32-bit programs as well
#              (LV_WINEPREFIX32, scripts/wine-prefix.sh --32), with its own
#              wineserver; when it cannot be made, the session goes on
#              without it, and says why

LV_BUILD=${LV_BUILD:-build}
export WINEPREFIX=$(realpath -m "$LV_BUILD/wineprefix")
LV_WINEPREFIX32=$(realpath -m "$LV_BUILD/wineprefix32")
export WINEDEBUG=${WINEDEBUG:--all}
# Wine would mirror every Start Menu link the tests make into the Linux desktop's menus.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
# For every 32-bit program started in the session, Wine's services included
# (scripts/wine-prefix.sh says why this much).
export QEMU_RESERVED_VA=0x81000000
lv_started_xvfb=
lv_prefixes=("$WINEPREFIX")

lv_stop_session() {
    for lv_prefix in "${lv_prefixes[@]}"; do
        WINEPREFIX=$lv_prefix wineserver -k 2>/dev/null || true
    done
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

"$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh" "$WINEPREFIX"
if [ -n "${LV_WINE32:-}" ]; then
    "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh" --32 "$LV_WINEPREFIX32" && lv_prefixes+=("$LV_WINEPREFIX32")
fi
for lv_prefix in "${lv_prefixes[@]}"; do
    WINEPREFIX=$lv_prefix wineserver -p
    # Wine's own background processes start with the first program and keep the
    # output handles they were born with; started here, they hold nothing of a
    # test runner's, which would otherwise wait for them to close.
    WINEPREFIX=$lv_prefix /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
    if [ -f "$LV_BUILD/win64/tests/desktop_anchor.exe" ]; then
        WINEPREFIX=$lv_prefix /usr/lib/wine/wine64 "$LV_BUILD/win64/tests/desktop_anchor.exe" </dev/null >/dev/null 2>&1 &
    fi
done
