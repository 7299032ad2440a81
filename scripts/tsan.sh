#!/usr/bin/env bash
# Builds the tests of the engine's own threads under ThreadSanitizer and runs them: the lookup
# workers share their slots with the window's thread, and the matching reads the day files on a
# thread of its own; any unordered access there must fail the build. (The matching's tests read no
# router page: Qt's network thread, built without the sanitizer, would be reported falsely.)
# Usage: scripts/tsan.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-tsan}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DDROVIX_WERROR=ON -DDROVIX_SANITIZE=thread \
    -DDROVIX_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target test_resolve test_syslog
cd "$build"
QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest -R '^(resolve\.|syslog\.SysLogMatch\.)' --output-on-failure
