#!/usr/bin/env bash
# Builds every target and runs every test: natively, under AddressSanitizer
# and UndefinedBehaviorSanitizer, and the Windows programs under Wine; the
# windows of both DLLs on a virtual display, and those of the Linux library
# with GTK under Xvfb (tests/ui, screenshots in build/ui-artefacts/); each
# fuzz target under libFuzzer for a bounded time.
# Exits non-zero when anything fails; the last line counts the tests.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

"$ROOT/scripts/setup.sh" || { echo "test.sh: setup failed"; exit 1; }

# A private Wine prefix, made once; one wineserver kept alive across the
# many short test programs.
export WINEPREFIX="$ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== creating the Wine prefix"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || { echo "test.sh: wineboot failed"; exit 1; }
fi
wineserver -p
# Start Wine's background services now, detached from any test's output:
# started from inside ctest they would inherit its pipes and hold it open.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

PRESETS=(linux linux-asan win32 win64)
passed=0
failed=0
broken=()

for preset in "${PRESETS[@]}"; do
    echo "== $preset: configure and build"
    if ! cmake --preset "$preset" >"build/$preset.configure.log" 2>&1; then
        cat "build/$preset.configure.log"
        broken+=("$preset (configure)")
        continue
    fi
    if ! cmake --build --preset "$preset"; then
        broken+=("$preset (build)")
        continue
    fi
    echo "== $preset: tests"
    log="build/$preset.ctest.log"
    ctest --preset "$preset" 2>&1 | tee "$log"
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$summary" ]; then
        broken+=("$preset (no test summary)")
        continue
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    [ "$bad" -eq 0 ] || broken+=("$preset ($bad failed)")
done

# Every fuzz target of tests/fuzz for a bounded time (FUZZ_SECONDS each,
# about 4 minutes for all); a crash, leak, sanitizer report or an input slower
# than 1 s fails its target. Each one counts as a test.
echo "== linux-fuzz: bounded runs"
FUZZ_SECONDS="${FUZZ_SECONDS:-25}"
mkdir -p build/fuzz-logs
if cmake --preset linux-fuzz >build/linux-fuzz.configure.log 2>&1 && cmake --build --preset linux-fuzz; then
    for corpus in tests/fuzz/corpus/*/; do
        target=$(basename "$corpus")
        log="build/fuzz-logs/$target.log"
        if scripts/fuzz.sh "$target" "$FUZZ_SECONDS" >"$log" 2>&1; then
            figures=$(grep -E '^#[0-9]+' "$log" | tail -1 | sed -E 's/^#([0-9]+).* (cov: [0-9]+).*/\1 executions, \2/')
            echo "fuzz: $target passed ($figures)"; passed=$((passed + 1))
        else
            echo "fuzz: $target FAILED (see $log and build/fuzz-artifacts/$target/)"
            grep -E 'FINDING|ERROR|runtime error|SUMMARY' "$log" | head -5
            failed=$((failed + 1)); broken+=("fuzz ($target)")
        fi
    done
else
    tail -30 build/linux-fuzz.configure.log
    broken+=("linux-fuzz (build)")
fi

# The release: the package is made twice and must not change, then unpacked,
# read as the platform reads it, and every library in it loaded and tested.
echo "== release package"
package_test() {
    local name=$1; shift
    if "$@"; then
        echo "package: $name passed"; passed=$((passed + 1))
    else
        echo "package: $name FAILED"; failed=$((failed + 1)); broken+=("package ($name)")
    fi
}
make_package() { bash scripts/package.sh >>build/package.log 2>&1 || { tail -30 build/package.log; return 1; }; }
same_package_twice() {
    make_package || return 1
    local first; first=$(cd dist && sha256sum ./*.zip)
    make_package || return 1
    [ "$first" = "$(cd dist && sha256sum ./*.zip)" ] || { echo "two runs made different archives"; return 1; }
}
: >build/package.log
package_test "reproducible" same_package_twice
package_test "loads and tests" python3 tests/package/check_package.py "$ROOT"

echo
if [ ${#broken[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${broken[@]}"
fi
echo "$passed passed, $failed failed"
[ ${#broken[@]} -eq 0 ]
