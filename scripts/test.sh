#!/usr/bin/env bash
# Builds every target and runs every test: natively, under AddressSanitizer
# and UndefinedBehaviorSanitizer, and the Windows programs under Wine; the
# windows of both DLLs on a virtual display, and those of the Linux library
# with GTK under Xvfb (tests/ui, screenshots in build/ui-artefacts/); each
# fuzz target under libFuzzer for a bounded time. Where the machine does not
# run 32-bit x86 code, the 32-bit programs run emulated and only a bounded set
# of them (scripts/wine-env.sh, README "Machines that do not run 32-bit code").
# Exits non-zero when anything fails; the last line counts the tests passed,
# failed and skipped.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

# What this machine runs decides how the 32-bit Windows programs are tested.
source "$ROOT/scripts/wine-env.sh"
wq_ia32_detect --print

"$ROOT/scripts/setup.sh" tests || { echo "test.sh: setup failed"; exit 1; }

passed=0
failed=0
skipped=0
broken=()
skipped_what=()

trap wq_wine_server_stop EXIT
# Private Wine prefixes, made once. The tests' prefix needs its 32-bit half
# (minutes where it is emulated): it is made while the Linux presets build.
mkdir -p build
if [ ! -f "$ROOT/build/wineprefix-ui/.ui-ready" ]; then echo "== creating the Wine prefix of the window tests"; fi
wq_wine_ui_prefix "$ROOT/build/wineprefix-ui" || { echo "test.sh: wineboot failed"; exit 1; }
wq_wine_server_stop
if [ ! -f "$ROOT/build/wineprefix/.wq-ready" ]; then echo "== creating the Wine prefix of the tests, in the background"; fi
wq_wine_env "$ROOT/build/wineprefix"
wq_wine_prefix "$ROOT/build/wineprefix" >build/wineprefix.log 2>&1 &
prefix_job=$!
prefix_ready=""

# Waits once for the tests' prefix, then keeps one wineserver alive across
# the many short test programs.
wine_ready() {
    if [ -z "$prefix_ready" ]; then
        prefix_ready=no
        wait "$prefix_job" && wq_wine_server_start && prefix_ready=yes
    fi
    [ "$prefix_ready" = yes ] || { echo "test.sh: wineboot failed (build/wineprefix.log)"; return 1; }
}

# count_ctest LOG NAME: adds a ctest run's summary to the counts.
count_ctest() {
    local log=$1 name=$2 summary total bad
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$summary" ]; then
        broken+=("$name (no test summary)")
        return
    fi
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    [ "$bad" -eq 0 ] || broken+=("$name ($bad failed)")
}

# Where 32-bit code is emulated, the win32 preset runs only the static checks
# of its libraries and the frame's tests that drive the DLL by raw slot; the
# 32-bit session below and the package check prove the rest end to end.
WIN32_EMULATED_TESTS='_is_self_contained$|^frame_tests$'

PRESETS=(linux linux-asan win32 win64)
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
    if [[ "$preset" == win* ]] && ! wine_ready; then
        broken+=("$preset (Wine prefix)")
        continue
    fi
    echo "== $preset: tests"
    log="build/$preset.ctest.log"
    selection=()
    if [ "$preset" = win32 ] && [ "$WQ_IA32" = emulated ]; then
        selection=(-R "$WIN32_EMULATED_TESTS")
        not_run=$(ctest --preset win32 -N -E "$WIN32_EMULATED_TESTS" | sed -nE 's/^ *Test +#[0-9]+: //p')
        skipped=$((skipped + $(grep -c . <<<"$not_run")))
        skipped_what+=("win32: $(tr '\n' ' ' <<<"$not_run")(32-bit programs are emulated on this machine, minutes each)")
    fi
    ctest --preset "$preset" "${selection[@]}" 2>&1 | tee "$log"
    count_ctest "$log" "$preset"
done

# The same session through the exports of each Windows DLL and of the Linux
# library, against the Linux simulator: every answer and every frame alike.
echo "== Windows sessions against the Linux library"
for target in win32 win64; do
    if wine_ready && bash tests/integration/compare_sessions.sh build/linux/bin "build/$target/bin" "$ROOT" "build/$target.session"; then
        echo "session: $target passed"; passed=$((passed + 1))
    else
        echo "session: $target FAILED (see build/$target.session/)"; failed=$((failed + 1)); broken+=("session ($target)")
    fi
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
package_test "loads and tests" eval 'wine_ready && python3 tests/package/check_package.py "$ROOT"'

echo
if [ ${#skipped_what[@]} -gt 0 ]; then
    printf 'skipped: %s\n' "${skipped_what[@]}"
fi
if [ ${#broken[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${broken[@]}"
fi
echo "$passed passed, $failed failed, $skipped skipped"
[ ${#broken[@]} -eq 0 ]
