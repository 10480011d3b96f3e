#!/usr/bin/env bash
# Runs a program of the 64-bit Windows build under Wine in the build tree's
# own prefix (never ~/.wine). Usage: wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
if [ ! -f "$WINEPREFIX/.installlv-ready" ]; then
    echo "wine-run: no Wine prefix at $WINEPREFIX; scripts/run-tests.sh makes one" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "wine-run: DISPLAY is not set; the tests make windows (scripts/run-tests.sh starts Xvfb)" >&2
    exit 1
fi
exec /usr/lib/wine/wine64 "$@"
