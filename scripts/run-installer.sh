#!/usr/bin/env bash
# Installs what is missing, builds, and starts InstallLV.exe under Wine.
# The shipped program is the 32-bit build/win32/InstallLV.exe. This machine
# runs only 64-bit code natively, so by default what starts here is the
# 64-bit build of the same sources; with --32 it is the shipped program
# itself, in a prefix of its own, its code emulated (slower). With no display
# it walks through a fresh installation under Xvfb, as a user would, saving a
# screenshot of every screen.
# Usage: run-installer.sh [--32]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 1 ] || { [ $# -eq 1 ] && [ "$1" != --32 ]; }; then
    echo "usage: $0 [--32]" >&2
    exit 2
fi
shipped=${1:+32}
scripts/install-deps.sh
export LV_BUILD=${LV_BUILD:-build}
cmake -S . -B "$LV_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$LV_BUILD" -j2
had_display=${DISPLAY:-}
[ -n "$shipped" ] && export LV_WINE32=1
source scripts/wine-session.sh
echo "Shipped 32-bit program: $(realpath "$LV_BUILD/win32/InstallLV.exe")"
if [ -n "$shipped" ]; then
    # The session said what is missing.
    [ -f "$LV_WINEPREFIX32/.installlv-ready" ] || exit 1
    export WINEPREFIX=$LV_WINEPREFIX32
    loader=/usr/lib/wine/wine program=$LV_BUILD/win32/InstallLV.exe
    walkthrough=$LV_BUILD/win64/tools/walkthrough/walkthrough32.exe shots=$LV_BUILD/screenshots32
else
    loader=/usr/lib/wine/wine64 program=$LV_BUILD/win64/InstallLV.exe
    walkthrough=$LV_BUILD/win64/tools/walkthrough/walkthrough.exe shots=$LV_BUILD/screenshots
fi
if [ -n "$had_display" ]; then
    "$loader" "$(realpath "$program")"
    exit 0
fi
shots=$(realpath -m "$shots")
echo "No display: walking through a fresh installation of $program under Xvfb (prefix $WINEPREFIX)"
scripts/drive-installer.sh "$shots" "$walkthrough"
echo
echo "Screenshots of every screen are in $shots:"
ls -1 "$shots"
echo "(The walk-through removed its installation again: the tests expect a prefix without Lumivane.)"
