#!/usr/bin/env bash
# The library starts and registers its class for a user who has no data
# folder at all: /var/lib not writable, HOME unusable. With the log folder
# override the log goes there; without it the driver works without a log.
# Usage: start_without_data_folders.sh BIN_FOLDER
set -euo pipefail
bin=$1
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work"/*.out 2>/dev/null; exit 1; }

mkdir "$work/logs" && chmod 777 "$work/logs"
# Open refuses the address before any connection, and logs why.
printf 'GetInterfaceRevision\nSetParameter LogEnabled b:true\nSetParameter IPAddress s:no-address\nOpen empty\n' >"$work/session.txt"

# As root, a user without rights; as anyone else, that user already.
as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --); fi
run() { env -i PATH=/usr/bin:/bin HOME=/nonexistent "$@" "${as_user[@]}" "$bin/addin-host" run "$work/session.txt"; }

check() {
    grep -q '^GetInterfaceRevision = 3002' "$1" || fail "no answer ($1)"
    grep -q 'GetLastError: 1001: Синтаксическая ошибка в IP-адресе' "$1" || fail "Open did not answer ($1)"
    if grep -q 'AddError\|the call failed\|refused' "$1"; then fail "a call failed ($1)"; fi
}
run W_QUORLAN7T4P_LOG_DIR="$work/logs" >"$work/override.out" 2>&1 || true
check "$work/override.out"
grep -q 'Exception: .Синтаксическая ошибка в IP-адресе' "$work/logs"/no-address_*.log || fail "no log line in the override folder"

run >"$work/nothing.out" 2>&1 || true
check "$work/nothing.out"
echo "started and answered with and without a log folder"
