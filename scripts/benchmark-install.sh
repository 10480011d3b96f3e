#!/usr/bin/env bash
# A benchmark, not a test: the sizes of the shipped program, of its payload
# and of its programs; the wall time of complete fresh installations under
# Wine, split by the install dialog's phases; and, where makensis is
# installed (Debian's nsis), the same job done by the peer installer of
# ../shared/bench/peer.nsi, built here from this build's payload files: its
# size beside ours, and its install work beside ours in paired runs.
# Usage: benchmark-install.sh [RUNS]   (default 5; builds first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
export LV_BUILD=${LV_BUILD:-build}
[ -f "$LV_BUILD/CMakeCache.txt" ] || cmake -S . -B "$LV_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$LV_BUILD" -j2 >/dev/null
source scripts/wine-session.sh

# The four installed files as a build made them, gathered for the peer's script.
gather_payload() {
    local tree=$1 folder=$2
    mkdir -p "$folder"
    cp "$tree/payload/lumivane/Lumivane.exe" "$tree/payload/uninstall/Uninstall.exe" \
       "$tree/payload/Lumivane.hlp" "$tree/payload/Lumivane.txt" "$folder/"
}

# makensis PAYLOAD TARGET OUT [-DEMPTY]
make_peer() {
    makensis -V1 -DPAYLOAD="$(realpath "$1")" -DTARGET="$2" -DOUT="$(realpath -m "$3")" ${4:-} "$peer_script" >/dev/null
}

shipped=$LV_BUILD/win32/InstallLV.exe
shipped_size=$(stat -c %s "$shipped")
total_stored=0
echo "Sizes of the shipped (32-bit) build, in bytes:"
while IFS= read -r stored; do
    stored_size=$(stat -c %s "$stored")
    # The SZDD header holds the expanded length at offset 10, 32-bit little-endian.
    expanded_size=$(od -An -tu4 -j10 -N4 --endian=little "$stored" | tr -d ' ')
    printf '  %-14s expanded %8d  stored %8d\n' "$(basename "$stored" .msz)" "$expanded_size" "$stored_size"
    total_stored=$((total_stored + stored_size))
done < <(find "$LV_BUILD/win32/payload" -name '*.msz' | sort)
printf '  %-14s %8d whole, %d without its payload (%d)\n' InstallLV.exe "$shipped_size" \
    "$((shipped_size - total_stored))" "$total_stored"

peer_script=$(realpath -e ../shared/bench/peer.nsi 2>/dev/null || true)
peer_args=()
if command -v makensis >/dev/null && [ -n "$peer_script" ]; then
    peer=$LV_BUILD/peer
    rm -rf "$peer"
    gather_payload "$LV_BUILD/win32" "$peer/payload32"
    gather_payload "$LV_BUILD/win64" "$peer/payload64"
    make_peer "$peer/payload32" x86-unicode "$peer/peer32.exe"
    peer_size=$(stat -c %s "$peer/peer32.exe")
    printf '  %-14s %8d whole (the same job, same payload, 32-bit)\n' "peer" "$peer_size"
    echo "size ratio InstallLV / peer: $(awk -v a="$shipped_size" -v b="$peer_size" 'BEGIN { printf "%.2f", a / b }')"
    # Timed as the 64-bit build is, both in this prefix, natively.
    make_peer "$peer/payload64" amd64-unicode "$peer/peer.exe"
    make_peer "$peer/payload64" amd64-unicode "$peer/peer-empty.exe" -DEMPTY
    peer_args=("Z:$(realpath "$peer/peer.exe")" "Z:$(realpath "$peer/peer-empty.exe")")
else
    echo "(no makensis or no ../shared/bench/peer.nsi: the peer is left out; apt-get install nsis)"
fi

echo
echo "Fresh installations of the 64-bit build (this machine runs no 32-bit code),"
echo "driven by tools/walkthrough in $WINEPREFIX, each from a machine without Lumivane:"
/usr/lib/wine/wine64 "$LV_BUILD/win64/tools/walkthrough/walkthrough.exe" benchmark "$runs" "${peer_args[@]}" </dev/null

echo "The same check on the shipped file, by the same (64-bit) code:"
LV_INSTALLER_UNDER_TEST="Z:$(realpath "$shipped")" \
    /usr/lib/wine/wine64 "$LV_BUILD/win64/tools/walkthrough/walkthrough.exe" benchmark 0 </dev/null
