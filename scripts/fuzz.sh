#!/usr/bin/env bash
# Runs one fuzz target (tests/fuzz) under libFuzzer for SECONDS (default 300).
# The corpus grows in build/fuzz-corpus/<target>/ (outside git) and starts
# from the seeds in tests/fuzz/corpus/<target>/; a crash is written to
# build/fuzz-artifacts/<target>/ and, once fixed, belongs in
# tests/fuzz/regressions/<target>/.
#   scripts/fuzz.sh documents 600
#   scripts/fuzz.sh --list
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
BIN="build/linux-fuzz/bin"

if [ "${1:-}" = "--list" ]; then
    ls tests/fuzz/corpus
    exit 0
fi
TARGET="${1:?usage: scripts/fuzz.sh TARGET [SECONDS] | --list}"
SECONDS_TO_RUN="${2:-300}"
[ -d "tests/fuzz/corpus/$TARGET" ] || { echo "fuzz.sh: no target $TARGET (scripts/fuzz.sh --list)"; exit 2; }

if [ ! -f build/linux-fuzz/build.ninja ]; then
    cmake --preset linux-fuzz >build/linux-fuzz.configure.log 2>&1 || { cat build/linux-fuzz.configure.log; exit 1; }
fi
cmake --build --preset linux-fuzz -j2 >build/linux-fuzz.build.log 2>&1 || { tail -40 build/linux-fuzz.build.log; exit 1; }

CORPUS="build/fuzz-corpus/$TARGET"
ARTIFACTS="build/fuzz-artifacts/$TARGET"
mkdir -p "$CORPUS" "$ARTIFACTS"
# Leaks are findings too; a report must stop the run.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:handle_abort=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
SEEDS=("tests/fuzz/corpus/$TARGET")
[ -d "tests/fuzz/regressions/$TARGET" ] && SEEDS+=("tests/fuzz/regressions/$TARGET")
exec "$BIN/fuzz_$TARGET" -max_total_time="$SECONDS_TO_RUN" -timeout=1 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$ARTIFACTS/" "$CORPUS" "${SEEDS[@]}"
