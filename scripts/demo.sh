#!/usr/bin/env bash
# The driver end to end: starts the scale simulator on a free loopback port,
# uploads the example goods, tare, texts and company name through the driver
# library with addin-host (the platform's stand-in), then shows the PLU table
# the simulator holds. With --windows the 32-bit DLL does the upload under Wine.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
windows=0
[ "${1:-}" = "--windows" ] && windows=1

"$ROOT/scripts/setup.sh" >/dev/null
echo "== building"
cmake --preset linux >/dev/null
cmake --build --preset linux --target w_quorlan7t4p addin-host tiger-sim >/dev/null
if [ $windows = 1 ]; then
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 --target w_quorlan7t4p addin-host >/dev/null
    export WINEPREFIX="$ROOT/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
fi

work=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

echo "== starting the scale simulator"
build/linux/bin/tiger-sim --port 0 --state "$work/state.json" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do
    grep -q '^PORT ' "$work/sim.out" 2>/dev/null && break
    sleep 0.1
done
port=$(awk '/^PORT /{print $2; exit}' "$work/sim.out")
[ -n "$port" ] || { echo "demo: the simulator did not start"; cat "$work/sim.out"; exit 1; }
echo "simulator on 127.0.0.1:$port"

export W_QUORLAN7T4P_LOG_DIR="$work/logs"
upload_args=(upload --ip 127.0.0.1 --port "$port" --firmware 1
             --goods examples/goods.xml --tare examples/tare.xml --texts examples/texts.xml
             --company "ООО «Весёлый фермер»##15##ИНН 7701234567" --log)
echo "== uploading through the driver"
if [ $windows = 1 ]; then
    export W_QUORLAN7T4P_LOG_DIR="Z:${work//\//\\}\\logs"
    wine build/win32/bin/addin-host.exe "${upload_args[@]}"
else
    build/linux/bin/addin-host "${upload_args[@]}"
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
echo "log files: $(ls "$work/logs" 2>/dev/null | tr '\n' ' ')"
