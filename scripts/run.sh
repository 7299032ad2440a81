#!/usr/bin/env bash
# Builds Drovix and runs it against the built-in router simulator, in a fresh demo folder.
# With a display it opens the window; without one it makes an unattended run and says what it did.
# Usage: scripts/run.sh [--syslog]   (--syslog: a router whose System Log Drovix reads, with history
# files and the myNetWatchman file; without it the Incoming and Outgoing tables.)
# Set DROVIX_ROUTER=address:port to use a real router instead (then nothing is simulated).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=""
case "${1:-}" in
    --syslog) mode=syslog ;;
    "") ;;
    *) echo "usage: scripts/run.sh [--syslog]" >&2; exit 2 ;;
esac
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target drovix drovix-routersim

demo="$(pwd)/demo"
rm -rf "$demo"
mkdir -p "$demo/config"
export DROVIX_HOME="$demo"
export XDG_CONFIG_HOME="$demo/config"   # the demo's saved password stays out of your own store

. scripts/demo-env.sh
sim_pid=""
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap cleanup EXIT

router="${DROVIX_ROUTER:-}"
if [ -z "$router" ]; then
    demo_start_sim "$demo"
    echo "Router simulator on $router (logon admin / demo-pass)"
fi
demo_fill_folder "$demo" "$router" "${DROVIX_PASSWORD:-demo-pass}" "$mode"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    build/drovix /trace
else
    echo "No display: unattended run (drovix /auto /trace) in $demo"
    status=0
    build/drovix /auto /trace || status=$?
    echo "--- what Drovix fetched (Drovix_Trace.Log):"
    cat "$demo/Drovix_Trace.Log" 2>/dev/null || echo "(no trace)"
    echo "--- exit status $status; files in $demo:"
    ls -l "$demo" "$demo/sblogs"
    [ -f "$demo/SBmNW.log" ] && { echo "--- SBmNW.log:"; cat "$demo/SBmNW.log"; }
    exit "$status"
fi
