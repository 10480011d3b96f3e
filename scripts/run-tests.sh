#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
# the host tools' tests natively, the installer's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export LV_BUILD=build
cmake -S . -B "$LV_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$LV_BUILD" -j2
source scripts/wine-session.sh
ctest --test-dir "$LV_BUILD" --output-on-failure --timeout 300 -j2
