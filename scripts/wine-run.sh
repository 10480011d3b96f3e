#!/usr/bin/env bash
# Runs a program of the 64-bit Windows build under Wine in one of the build
# tree's own prefixes (never ~/.wine); 32-bit programs it starts run under the
# emulator. Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# A test's own overrides, beside the session's (a list cannot pass through
# ctest's environment whole); Wine reads them as each process starts.
if [ -n "${LV_DLL_OVERRIDES:-}" ]; then
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$LV_DLL_OVERRIDES"
fi
# As scripts/wine-prefix.sh, which says why.
export QEMU_RESERVED_VA=0x81000000
if [ ! -f "$WINEPREFIX/.installlv-ready" ]; then
    echo "wine-run: no Wine prefix at $WINEPREFIX; scripts/run-tests.sh makes one" >&2
    cat "$WINEPREFIX/.installlv-missing" >&2 2>/dev/null || true
    exit 1
fi
if [ -f "$WINEPREFIX/.installlv-32bit" ] && ! grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    echo "wine-run: 32-bit programs cannot run: the kernel does not hand them to the emulator" \
         "(/proc/sys/fs/binfmt_misc/qemu-i386 is missing or disabled; scripts/wine-prefix.sh --32 registers it)" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "wine-run: DISPLAY is not set; the tests make windows (scripts/run-tests.sh starts Xvfb)" >&2
    exit 1
fi
# Wine starts some of its own services on demand, as children of the program
# that first needs one; they live on and keep the output handles they were
# born with. Given the runner's pipes, they would keep the runner waiting long
# after the program ended: the program writes to files instead, passed on
# once it has ended.
output=$(mktemp) errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
status=0
/usr/lib/wine/wine64 "$@" </dev/null >"$output" 2>"$errors" || status=$?
cat "$output"
cat "$errors" >&2
exit "$status"
