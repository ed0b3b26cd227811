#!/usr/bin/env bash
# Runs the window tests of one Windows target under Wine on a virtual X
# display, with screenshots into build/ui-artefacts/.
# Usage: run_ui_tests.sh UI_TESTS_EXE TARGET ROOT
# Wine gets a prefix of its own (build/wineprefix-ui, made once): its virtual
# desktop draws the window captions, Tahoma comes from Debian's fonts-wine,
# and the Russian locale (made by scripts/setup.sh) gives code page 1251.
# Every step is bounded: the whole run ends within a few minutes.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
winrun="$WQ_ROOT/scripts/winrun"

if [ "${1:-}" = "--inner" ]; then
    shift
    exe=$1 art=$2
    # A screenshot for every request the tests write into the artefacts folder.
    (
        while true; do
            for request in "$art"/*.request; do
                [ -e "$request" ] || continue
                name=${request%.request}
                timeout 10 import -window root "$name.png" 2>/dev/null
                rm -f "$request"
                touch "$name.done"
            done
            sleep 0.1
        done
    ) &
    watcher=$!
    # The server first, apart from the test's output: it outlives the test by a few seconds.
    "$WQ_WINESERVER" -p5 </dev/null >/dev/null 2>&1
    "$winrun" "$exe" --gtest_brief=1
    rc=$?
    kill "$watcher" 2>/dev/null
    "$WQ_WINESERVER" -k 2>/dev/null
    exit $rc
fi

exe=$1 target=$2 root=$3
for tool in xvfb-run import "$WQ_WINE64" "$WQ_WINESERVER"; do
    command -v "$tool" >/dev/null || { echo "run_ui_tests.sh: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
locales="$root/.deps/locale"
[ -d "$locales/ru_RU.UTF-8" ] || { echo "run_ui_tests.sh: $locales/ru_RU.UTF-8 is missing (run scripts/setup.sh)"; exit 1; }

export LOCPATH="$locales"
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 2>/dev/null
art="$root/build/ui-artefacts"
mkdir -p "$art"
rm -f "$art/$target"-*.png "$art"/*.request "$art"/*.done

# The prefix, once: fonts and the virtual desktop.
WINEPREFIX="$root/build/wineprefix-ui"
exec 8>"$WINEPREFIX.lock"
flock -w 300 8 || { echo "run_ui_tests.sh: the Wine prefix is locked"; exit 1; }
if [ ! -f "$WINEPREFIX/.ui-ready" ]; then echo "run_ui_tests.sh: preparing $WINEPREFIX"; fi
wq_wine_ui_prefix "$WINEPREFIX" || { echo "run_ui_tests.sh: the Wine prefix could not be made"; exit 1; }

export WQ_UI_ARTEFACTS="Z:${art//\//\\}" WQ_UI_PREFIX="$target-"
timeout -k 10 240 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inner "$exe" "$art" 8>&-
rc=$?
# Nothing of this prefix may outlive the run: its programs hold the caller's output open.
timeout 30 "$WQ_WINESERVER" -k 2>/dev/null
[ $rc -eq 124 ] && echo "run_ui_tests.sh: the window tests did not finish in time"
ls "$art/$target"-*.png 2>/dev/null
exit $rc
