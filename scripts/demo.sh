#!/usr/bin/env bash
# The driver end to end: starts the scale simulator on a free loopback port,
# uploads the example goods, tare, texts and company name through the driver
# library with addin-host (the platform's stand-in), then shows the PLU table
# the simulator holds. With --windows the 32-bit DLL does the upload under
# Wine (emulated, minutes, where the machine does not run 32-bit code), with
# --windows64 the 64-bit DLL.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
started=$SECONDS
windows=""
case "${1:-}" in
    --windows) windows=win32 ;;
    --windows64) windows=win64 ;;
    "") ;;
    *) echo "usage: scripts/demo.sh [--windows | --windows64]"; exit 2 ;;
esac

if [ -n "$windows" ]; then
    source "$ROOT/scripts/wine-env.sh"
    wq_ia32_detect --print
    "$ROOT/scripts/setup.sh" windows-demo >/dev/null
else
    "$ROOT/scripts/setup.sh" demo >/dev/null
fi
# The release presets: the shipped libraries, no tests to build.
echo "== building"
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target w_quorlan7t4p addin-host tiger-sim >/dev/null
bin=build/linux-release/bin
if [ -n "$windows" ]; then
    bin=build/$windows-release/bin
    cmake --preset "$windows-release" >/dev/null
    cmake --build --preset "$windows-release" --target w_quorlan7t4p addin-host >/dev/null
    if [ "$windows" = win32 ] && [ "$WQ_IA32" = emulated ]; then
        echo "== 32-bit code runs emulated here: the 32-bit DLL takes a few minutes"
        echo "   (scripts/demo.sh --windows64 runs the 64-bit DLL natively)"
    fi
    trap wq_wine_server_stop EXIT
    wq_wine_prefix "$ROOT/build/wineprefix"
fi

work=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$work"
    if [ -n "$windows" ]; then wq_wine_server_stop; fi
}
trap cleanup EXIT

echo "== starting the scale simulator"
build/linux-release/bin/tiger-sim --port 0 --state "$work/state.json" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do
    grep -q '^PORT ' "$work/sim.out" 2>/dev/null && break
    sleep 0.1
done
port=$(awk '/^PORT /{print $2; exit}' "$work/sim.out")
[ -n "$port" ] || { echo "demo: the simulator did not start"; cat "$work/sim.out"; exit 1; }
echo "simulator on 127.0.0.1:$port"

# The driver's log stays after the demo, for a look at what went over the wire.
logs="$ROOT/build/demo-logs"
rm -rf "$logs"
mkdir -p "$logs"
export W_QUORLAN7T4P_LOG_DIR="$logs"
upload_args=(upload --ip 127.0.0.1 --port "$port" --firmware 1
             --goods examples/goods.xml --tare examples/tare.xml --texts examples/texts.xml
             --company "ООО «Весёлый фермер»##15##ИНН 7701234567" --log)
echo "== uploading through the driver"
if [ -n "$windows" ]; then
    export W_QUORLAN7T4P_LOG_DIR="Z:${logs//\//\\}"
    scripts/winrun "$bin/addin-host.exe" "${upload_args[@]}"
else
    "$bin/addin-host" "${upload_args[@]}"
fi

echo "== what the scale holds"
python3 - "$work/state.json" <<'PY'
import json, sys
state = json.load(open(sys.argv[1], encoding="utf-8"))
plu = state.get("plu", [])
print(f"{'PLU':>4}  {'barcode':13}  {'price':>9}  {'kind':6}  name")
for p in plu:
    name = p.get("name_line1", "").rstrip()
    if p.get("name_line2", "").strip():
        name += " / " + p["name_line2"].rstrip()
    kind = "weight" if p.get("is_weight_goods") else "piece"
    print(f"{p['plu']:>4}  {p.get('barcode',''):13}  {p.get('price_hundredths',0)/100:>9.2f}  {kind:6}  {name}")
print(f"{len(plu)} PLU records, {len(state.get('tare', []))} tare entries, "
      f"{len(state.get('additional_texts', []))} texts, company: {(state.get('company') or '').rstrip()!r}")
PY

library=$(find "$bin" -maxdepth 1 \( -name '*w_quorlan7t4p*.so' -o -name 'w_quorlan7t4p*.dll' \) | head -1)
cat <<EOF

What you saw: the driver $library, loaded by addin-host as the platform
loads it, uploaded examples/goods.xml, tare.xml, texts.xml and the company
name to the scale simulator over TCP; the table is what the scale now holds.
The driver's log, every frame in hex: $logs/ ($(ls "$logs" | tr '\n' ' '))
Next:
  scripts/demo.sh --windows      the 32-bit Windows DLL under Wine (--windows64: the 64-bit one)
  scripts/test.sh                every test of every target (installs what the tests need first)
  scripts/package.sh             the release package in dist/
demo done in $((SECONDS - started)) s
EOF
