#!/usr/bin/env bash
# Makes the release: the add-in package the platform takes and the
# integrator's tools, both reproducible (the same commit gives the same bytes).
#   dist/w_quorlan7t4p-<version>.zip        MANIFEST.XML, INFO.XML, the three
#                                           libraries, help/, the integration guide
#   dist/w_quorlan7t4p-tools-<version>.zip  tiger-sim and addin-host for Linux
#                                           and Windows x86, each with its driver
# Usage: scripts/package.sh [--out DIR]     (default: dist/)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
out="$ROOT/dist"
[ "${1:-}" = "--out" ] && out="$(mkdir -p "$2" && cd "$2" && pwd)"

"$ROOT/scripts/setup.sh" >/dev/null || { echo "package.sh: setup failed"; exit 1; }
mkdir -p build

for preset in linux-release win32-release win64-release; do
    cmake --preset "$preset" >"build/$preset.configure.log" 2>&1 || { cat "build/$preset.configure.log"; exit 1; }
    targets=(w_quorlan7t4p addin-host tiger-sim)
    [ "$preset" = linux-release ] && targets+=(help-render)
    cmake --build --preset "$preset" --target "${targets[@]}" >"build/$preset.build.log" 2>&1 ||
        { tail -40 "build/$preset.build.log"; exit 1; }
done

version=$(sed -n 's/^project(w_quorlan7t4p VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
words=${version//./_}
description=$(awk -F'\t' '$1 == "65065" {print $2}' resources/Strings.txt)
win32_lib="w_quorlan7t4p_$words.dll"
win64_lib="w_quorlan7t4p64_$words.dll"
linux_lib="libw_quorlan7t4p64_$words.so"

# Every entry carries the commit's time, in UTC, so that two runs agree.
export TZ=UTC
stamp=$(git log -1 --format=%cd --date=format-local:'%Y-%m-%d %H:%M:%S' 2>/dev/null || echo "2000-01-01 00:00:00")

stage="$ROOT/build/package"
rm -rf "$stage"
mkdir -p "$stage/addin/help" "$stage/tools/linux" "$stage/tools/windows-x86" "$out"

# ---- the add-in package ------------------------------------------------------
cp build/win32-release/bin/"$win32_lib" build/win64-release/bin/"$win64_lib" \
   build/linux-release/bin/"$linux_lib" "$stage/addin/"
cat >"$stage/addin/MANIFEST.XML" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<bundle xmlns="http://v8.1c.ru/8.2/addin/bundle">
	<component os="Windows" path="$win32_lib" type="native" arch="i386"/>
	<component os="Windows" path="$win64_lib" type="native" arch="x86_64"/>
	<component os="Linux" path="$linux_lib" type="native" arch="x86_64"/>
</bundle>
XML
cat >"$stage/addin/INFO.XML" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<drivers>
	<component progid="AddIn.TigerScale.w_quorlan7t4p" name="$description" version="$version"/>
</drivers>
XML
build/linux-release/bin/help-render docs/help/guide.md --out "$stage/addin/help" >/dev/null
cp docs/help/guide.md "$stage/addin/help/"
cp docs/integration-guide.md "$stage/addin/"

# ---- the tools ---------------------------------------------------------------
cp build/linux-release/bin/{tiger-sim,addin-host,"$linux_lib"} "$stage/tools/linux/"
cp build/win32-release/bin/{tiger-sim.exe,addin-host.exe,"$win32_lib"} "$stage/tools/windows-x86/"
cp docs/tools-readme.md "$stage/tools/README.md"

zip_folder() { python3 "$ROOT/scripts/reproducible_zip.py" "$1" "$2" "$stamp"; }
zip_folder "$stage/addin" "$out/w_quorlan7t4p-$version.zip"
zip_folder "$stage/tools" "$out/w_quorlan7t4p-tools-$version.zip"
for archive in "$out/w_quorlan7t4p-$version.zip" "$out/w_quorlan7t4p-tools-$version.zip"; do
    echo "$archive $(stat -c %s "$archive") bytes, sha256 $(sha256sum "$archive" | cut -c1-16)"
done
