#!/usr/bin/env bash
# Checks a built library product: it exports exactly GetClassNames,
# GetClassObject and DestroyObject (undecorated), and depends only on
# libraries every system has.
# Usage: check_library.sh FILE TARGET   (TARGET: linux, win32, win64)
set -euo pipefail
file=$1 target=$2
expected=$'DestroyObject\nGetClassNames\nGetClassObject'

fail() { echo "FAIL: $*" >&2; exit 1; }

case $target in
  win32|win64)
    triple=$([ "$target" = win32 ] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32)
    dump=$("$triple-objdump" -p "$file")
    exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1;next} on&&/^[ \t]*\[/{print $NF;next} on{on=0}' | sort)
    imports=$(printf '%s\n' "$dump" | awk '/DLL Name:/{print $3}' | sort -u)
    allowed='^(KERNEL32|msvcrt|USER32|GDI32|ADVAPI32|SHELL32|SHLWAPI|WS2_32|WSOCK32|VERSION|ole32|OLEAUT32|COMCTL32|COMDLG32|UxTheme)\.dll$'
    ;;
  linux)
    exports=$(nm -D --defined-only "$file" | awk '$2 ~ /^[TtWwi]$/ {print $3}' | sort)
    imports=$(readelf -d "$file" | awk '/NEEDED/{gsub(/[\[\]]/,"",$5); print $5}' | sort -u)
    allowed='^(libc\.so\.6|libm\.so\.6|libpthread\.so\.0|libdl\.so\.2|ld-linux-x86-64\.so\.2)$'
    ;;
  *) fail "unknown target $target" ;;
esac

[ "$exports" = "$expected" ] || fail "exports of $file are:"$'\n'"$exports"
while read -r dll; do
  [ -z "$dll" ] && continue
  [[ $dll =~ $allowed ]] || fail "$file depends on $dll"
done <<< "$imports"
echo "$file: exports $(echo $exports), depends on $(echo $imports)"
