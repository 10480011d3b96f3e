#!/usr/bin/env bash
# Installs what is missing, builds, and starts InstallLV.exe under Wine.
# The shipped program is the 32-bit build/win32/InstallLV.exe; this machine
# runs only 64-bit code, so what starts here is the 64-bit build of the same
# sources. With no display it walks through a fresh installation under Xvfb,
# as a user would, saving a screenshot of every screen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export LV_BUILD=${LV_BUILD:-build}
cmake -S . -B "$LV_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$LV_BUILD" -j2
had_display=${DISPLAY:-}
source scripts/wine-session.sh
program=$(realpath "$LV_BUILD/win64/InstallLV.exe")
echo "Shipped 32-bit program: $(realpath "$LV_BUILD/win32/InstallLV.exe")"
if [ -n "$had_display" ]; then
    /usr/lib/wine/wine64 "$program"
    exit 0
fi
shots=$(realpath -m "$LV_BUILD/screenshots")
echo "No display: walking through a fresh installation under Xvfb (prefix $WINEPREFIX)"
scripts/drive-installer.sh "$shots"
echo
echo "Screenshots of every screen are in $shots:"
ls -1 "$shots"
echo "(The walk-through removed its installation again: the tests expect a prefix without Lumivane.)"
