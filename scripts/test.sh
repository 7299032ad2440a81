#!/usr/bin/env bash
# Checks that the folders of src/ include only downwards, builds Drovix and runs every test.
# Usage: scripts/test.sh [build-folder] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check-floors.sh
build="${1:-build}"
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVIX_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
