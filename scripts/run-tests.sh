#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the host tools' tests natively, the installer's tests under Wine, and the
# end-to-end scenarios on the shipped 32-bit program (e2e32_*) under Wine
# with its code emulated, beside the others.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export LV_BUILD=build LV_WINE32=1
# The Wine prefixes are made (once per build tree) while the build runs; what
# the 32-bit one lacks is told again by the session, and its tests fail.
mkdir -p "$LV_BUILD"
scripts/wine-prefix.sh "$LV_BUILD/wineprefix" >"$LV_BUILD/wineprefix.log" 2>&1 &
prefix64=$!
scripts/wine-prefix.sh --32 "$LV_BUILD/wineprefix32" >"$LV_BUILD/wineprefix32.log" 2>&1 &
prefix32=$!
cmake -S . -B "$LV_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$LV_BUILD" -j2
wait "$prefix64" "$prefix32" || true
source scripts/wine-session.sh
ctest --test-dir "$LV_BUILD" --output-on-failure --timeout 300 -j2
