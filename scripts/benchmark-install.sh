#!/usr/bin/env bash
# A benchmark, not a test: the wall time of complete fresh installations under
# Wine, from the installer's start to the completion box, split by phase; and
# the sizes of the shipped program and of its payload.
# Usage: benchmark-install.sh [RUNS]   (default 3; builds first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
export LV_BUILD=${LV_BUILD:-build}
[ -f "$LV_BUILD/CMakeCache.txt" ] || cmake -S . -B "$LV_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$LV_BUILD" -j2 >/dev/null
source scripts/wine-session.sh

echo "Fresh installations of the 64-bit build (this machine runs no 32-bit code),"
echo "driven by tools/walkthrough in $WINEPREFIX, each from a machine without Lumivane:"
/usr/lib/wine/wine64 "$LV_BUILD/win64/tools/walkthrough/walkthrough.exe" benchmark "$runs" </dev/null

shipped=$LV_BUILD/win32/InstallLV.exe
echo "The same check on the shipped file, by the same (64-bit) code:"
LV_INSTALLER_UNDER_TEST="Z:$(realpath "$shipped")" \
    /usr/lib/wine/wine64 "$LV_BUILD/win64/tools/walkthrough/walkthrough.exe" benchmark 0 </dev/null
echo
echo "Shipped program: $shipped  $(stat -c %s "$shipped") bytes"
echo "Its payload, as the build made it (stored = the MSZ resource, expanded = the installed file):"
total_stored=0 total_expanded=0
while IFS= read -r stored; do
    stored_size=$(stat -c %s "$stored")
    # The SZDD header holds the expanded length at offset 10, 32-bit little-endian.
    expanded_size=$(od -An -tu4 -j10 -N4 --endian=little "$stored" | tr -d ' ')
    printf '  %-14s stored %8d bytes  expanded %8d bytes\n' "$(basename "$stored" .msz)" "$stored_size" "$expanded_size"
    total_stored=$((total_stored + stored_size)) total_expanded=$((total_expanded + expanded_size))
done < <(find "$LV_BUILD/win32/payload" -name '*.msz' | sort)
printf '  %-14s stored %8d bytes  expanded %8d bytes\n' "total" "$total_stored" "$total_expanded"
