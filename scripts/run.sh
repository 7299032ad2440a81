#!/usr/bin/env bash
# Builds Drovix and runs it against the built-in router simulator, in a fresh demo folder.
# With a display it opens the window; without one it makes an unattended run and says what it did.
# Set DROVIX_ROUTER=address:port to use a real router instead (then nothing is simulated).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target drovix drovix-routersim

demo="$(pwd)/demo"
rm -rf "$demo"
mkdir -p "$demo/sblogs" "$demo/config"
export DROVIX_HOME="$demo"
export XDG_CONFIG_HOME="$demo/config"   # the demo's saved password stays out of your own store

sim_pid=""
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap cleanup EXIT

router="${DROVIX_ROUTER:-}"
if [ -z "$router" ]; then
    build/drovix-routersim --port 0 --user admin --password demo-pass \
        --records tools/routersim/sample-log.txt >"$demo/routersim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 50); do
        grep -q '^listening' "$demo/routersim.out" 2>/dev/null && break
        sleep 0.1
    done
    router="$(sed -n 's/^listening \([0-9.:]*\).*/\1/p' "$demo/routersim.out" | head -n1)"
    [ -n "$router" ] || { echo "The router simulator did not start:"; cat "$demo/routersim.out"; exit 1; }
    echo "Router simulator on $router (logon admin / demo-pass)"
fi

# The demo password goes in the way an older settings file carried it: scrambled, then moved into
# the per-user store on the first start.
key=7E2A91D04C6B3F58E0A7D2196B4C8F03
password="${DROVIX_PASSWORD:-demo-pass}"
scrambled=""
for ((i = 0; i < ${#password}; i++)); do
    c=$(printf '%d' "'${password:i:1}")
    k=0
    if [ $((2 * i)) -lt ${#key} ]; then k=$((16#${key:2*i:2})); fi
    scrambled+=$(printf '%02X' $((c ^ k)))
done
printf 'PWE=%s\r\nSAVEPW=1\r\nUSERID=admin\r\nADDRESS=%s\r\nCOMPSB=1\r\nCOMPADDR=1\r\n' \
    "$scrambled" "$router" >"$demo/Drovix.ini"
printf 'LOGDIR %s\r\n' "$demo/sblogs" >"$demo/Stillbeacon.ini"
cp tools/routersim/sample-sblogs/* "$demo/sblogs/"
cp tools/routersim/sample-Hideaddr.txt "$demo/Hideaddr.txt"
cp tools/routersim/sample-Hideport.txt "$demo/Hideport.txt"

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
    exit "$status"
fi
