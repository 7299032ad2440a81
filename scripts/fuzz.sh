#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each for a bounded time on the seed corpus in fuzz/corpus. A crash fails the script; the input
# that caused it is left in the build folder (crash-*): copy it into tests/data/fuzz-regressions
# with the fix. Usage: scripts/fuzz.sh [seconds-per-target] [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh fuzz
seconds="${1:-20}"
build="${2:-build-fuzz}"
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDROVIX_FUZZ=ON \
    -DBUILD_TESTING=OFF -DDROVIX_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_all
root="$(pwd)"
export UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
status=0
for corpus in fuzz/corpus/*/; do
    name="$(basename "$corpus")"
    target="$build/fuzz/fuzz_$name"
    work="$build/fuzz-run/$name"
    rm -rf "$work"
    mkdir -p "$work/corpus"
    cp "$corpus"* "$work/corpus/"
    # First the regressions: every input a fuzzer once crashed on must pass.
    if [ -d "tests/data/fuzz-regressions/$name" ]; then
        "$target" "$root/tests/data/fuzz-regressions/$name"/* >"$work/regressions.log" 2>&1 || {
            cat "$work/regressions.log"
            echo "fuzz: $name fails on a recorded regression input" >&2
            status=1
            continue
        }
    fi
    (cd "$work" && "$root/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 corpus >run.log 2>&1) || {
        tail -n 60 "$work/run.log"
        echo "fuzz: $name crashed; the input is in $work" >&2
        status=1
        continue
    }
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/run.log")"
    cov="$(grep -o 'cov: [0-9]*' "$work/run.log" | tail -n1 | cut -d' ' -f2)"
    echo "fuzz: $name: $runs executions, coverage $cov"
done
exit "$status"
