#!/usr/bin/env bash
# Builds the shipped InstallLV.exe (the host tools and the 32-bit build, no
# tests) and puts it with a SHA256SUMS file in BUILD_DIR/release/.
#   scripts/release.sh [BUILD_DIR]     BUILD_DIR: build-release
#   LV_SIGN_PKCS12    a PKCS#12 file: the programs are signed with its key
#   LV_SIGN_PASSWORD  its password (taken from the environment only)
#   SOURCE_DATE_EPOCH the signing time; by default the commit's
# The same commit gives the same bytes, signed or not. What the build needs
# is installed by scripts/install-deps.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-release}")
pkcs12=
if [ -n "${LV_SIGN_PKCS12:-}" ]; then
    pkcs12=$(realpath -e "$LV_SIGN_PKCS12")
fi

# A failed build leaves no release behind, not even an earlier one.
rm -rf "$build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLV_SIGN_PKCS12="$pkcs12" >/dev/null
cmake --build "$build" --target win32 -j2

program=$build/win32/InstallLV.exe
"$build/bin/seal" check "$program"
mkdir -p "$build/release"
cp "$program" "$build/release/InstallLV.exe"
(cd "$build/release" && sha256sum InstallLV.exe >SHA256SUMS)

echo
echo "Release: $build/release/InstallLV.exe ($([ -n "$pkcs12" ] && echo signed || echo unsigned))"
echo "  size    $(stat -c %s "$program") bytes"
echo "  sha256  $(cut -d' ' -f1 "$build/release/SHA256SUMS")"
