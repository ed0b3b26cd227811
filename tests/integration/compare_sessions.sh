#!/usr/bin/env bash
# One whole session of a Windows DLL, driven by its addin-host.exe under Wine,
# against the Linux simulator, compared with the same session of the Linux
# library: the description, every answer and out-parameter, and every frame
# the scale received must be the same. It proves a Windows binary interface
# end to end, also where 32-bit programs only run emulated (the time bounds
# grow with WQ_TIME_SCALE there).
# Usage: compare_sessions.sh LINUX_BIN WINDOWS_BIN SOURCE_FOLDER WORK_FOLDER
set -uo pipefail
linux_bin=$1 windows_bin=$2 src=$3 work=$4
scale=${WQ_TIME_SCALE:-1}
winrun="$src/scripts/winrun"
rm -rf "$work"
mkdir -p "$work"
cd "$src" || exit 1
sim_pid=""
trap '[ -n "$sim_pid" ] && kill $sim_pid 2>/dev/null' EXIT
fail() { echo "FAIL: $*"; exit 1; }

start_simulator() { # NAME
    "$linux_bin/tiger-sim" --port 0 --journal "$work/$1.journal" --state "$work/$1.state" >"$work/$1.sim" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do grep -q '^PORT ' "$work/$1.sim" && break; sleep 0.1; done
    port=$(awk '/^PORT /{print $2; exit}' "$work/$1.sim")
    [ -n "$port" ] || fail "the simulator did not start"
}

stop_simulator() {
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=""
}

write_session() { # PORT
    cat <<EOF
GetInterfaceRevision
GetDescription empty
GetParameters empty
GetAdditionalActions empty
SetParameter IPAddress s:127.0.0.1
SetParameter IPPort d:$1
SetParameter FirmwareType d:1
SetParameter LogEnabled b:false
DeviceTest empty empty
Open empty
UploadGoods empty @examples/goods.xml s:first
UploadTare empty @examples/tare.xml
UploadAdditionalText @examples/texts.xml
UploadCompany "s:ООО «Весёлый фермер»##15##ИНН 7701234567"
DeleteGood i:5
Close empty
DeleteGood i:1
GetLastError empty
DoAdditionalAction s:NoSuchAction
GetLastError empty
EOF
}

# session NAME COMMAND...: describe, then the whole session, as one host would.
session() {
    local name=$1; shift
    start_simulator "$name"
    write_session "$port" >"$work/$name.session.txt"
    timeout $((60 * scale)) "$@" describe >"$work/$name.describe" 2>&1 || fail "$name: describe failed"
    timeout $((120 * scale)) "$@" run "$work/$name.session.txt" >"$work/$name.out" 2>&1
    stop_simulator
    # What differs by design: the port, the log folder of the system (and so
    # the size of the description that names it), the line ends of a Windows
    # console.
    sed -i -e 's/\r*$//' -e "s/\\b$port\\b/PORT/g" -e 's/LogPath="[^"]*"/LogPath="..."/' \
        -e 's/^\(<DriverDescription .*\) ([0-9]* bytes)$/\1 (its size)/' \
        "$work/$name.out" "$work/$name.describe"
    grep -q 'script done' "$work/$name.out" || fail "$name: the session did not finish"
}

session linux "$linux_bin/addin-host" --lib "$linux_bin/libw_quorlan7t4p.so"
windows_library=$(ls "$windows_bin"/w_quorlan7t4p*.dll | head -1)
session windows "$winrun" "$windows_bin/addin-host.exe" --lib "$windows_library"

for part in describe out journal state; do
    diff -u "$work/linux.$part" "$work/windows.$part" >"$work/$part.diff" ||
        fail "the $part differs (see $work/$part.diff):"$'\n'"$(head -40 "$work/$part.diff")"
done
grep -q 'UploadGoods = true' "$work/windows.out" || fail "the upload did not succeed"
grep -q '1001: Устройство не включено' "$work/windows.out" || fail "no refusal and GetLastError after it"
echo "compare_sessions: $(basename "$windows_library") answered $(grep -c '^> ' "$work/windows.out") calls and sent $(grep -c . "$work/windows.journal") frames as the Linux library did"
