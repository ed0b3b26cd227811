#!/usr/bin/env bash
# addin-host as a user runs it: uploads the examples to a tiger-sim process
# and the scale then holds them; a failing call ends with the driver's error.
# Usage: addin_host_upload.sh BIN_FOLDER SOURCE_FOLDER [EMULATOR]
set -euo pipefail
bin=$1 src=$2 emulator=${3:-}
ext=""; [ -n "$emulator" ] && ext=".exe"
work=$(mktemp -d)
sim_pid=""
trap '[ -n "$sim_pid" ] && kill $sim_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work"/*.out 2>/dev/null; exit 1; }

$emulator "$bin/tiger-sim$ext" --port 0 --state "$work/state.json" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq $((100 * ${WQ_TIME_SCALE:-1}))); do grep -q '^PORT ' "$work/sim.out" && break; sleep 0.1; done
port=$(awk '/^PORT /{print $2; exit}' "$work/sim.out" | tr -d '\r')
[ -n "$port" ] || fail "the simulator did not start"

export W_QUORLAN7T4P_LOG_DIR="$work/logs"
$emulator "$bin/addin-host$ext" upload --ip 127.0.0.1 --port "$port" --firmware 1 --batch 10 \
    --goods "$src/examples/goods.xml" --tare "$src/examples/tare.xml" --texts "$src/examples/texts.xml" \
    --company "Ромашка" >"$work/upload.out" 2>&1 || fail "upload failed"
grep -q 'goods: 32/32' "$work/upload.out" || fail "no progress line"
grep -q 'driver answered true' "$work/upload.out" || fail "no summary"
grep -q '"plu":32' "$work/state.json" || fail "PLU 32 missing on the scale"
grep -q '"name_line2":"Марокко"' "$work/state.json" || fail "two-line name lost"
grep -q '"company":"Ромашка' "$work/state.json" || fail "company name lost"

# A refused call prints the driver's own error and fails the command.
if $emulator "$bin/addin-host$ext" call DeleteGood i:1 >"$work/call.out" 2>&1; then fail "call on a closed driver succeeded"; fi
grep -q '1001: Устройство не включено' "$work/call.out" || fail "no GetLastError line"
echo "addin-host upload: ok"
