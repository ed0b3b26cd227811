#!/usr/bin/env bash
# Runs the GTK window tests of the Linux library on a virtual X display, with
# screenshots into build/ui-artefacts/linux-*.png.
# Usage: run_gtk_ui_tests.sh UI_GTK_TESTS ROOT [plain|sanitized]
# A sanitized build runs without LeakSanitizer (it crashes at exit among
# WebKitGTK's threads) and keeps no screenshots.
set -uo pipefail
exe=$1 root=$2 build=${3:-plain}
command -v xvfb-run >/dev/null || { echo "run_gtk_ui_tests.sh: xvfb-run is missing (scripts/setup.sh installs it)"; exit 1; }
art="$root/build/ui-artefacts"
if [ "$build" = sanitized ]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
else
    mkdir -p "$art"
    rm -f "$art"/linux-*.png
    export WQ_UI_ARTEFACTS="$art"
fi
# No session bus here: GTK's accessibility bridge would wait for one.
export NO_AT_BRIDGE=1
unset WAYLAND_DISPLAY
run() { timeout -k 10 120 xvfb-run -a -s "-screen 0 1024x768x24" "$@"; }
run "$exe" --gtest_brief=1
rc=$?
# Again in a process whose own GTK runs before the library is asked for a window.
WQ_UI_HOST_GTK=1 run "$exe" --gtest_brief=1 --gtest_filter='*OverTheApplications*'
host_rc=$?
[ $rc -eq 0 ] && rc=$host_rc
[ $rc -eq 124 ] && echo "run_gtk_ui_tests.sh: the window tests did not finish in time"
[ "$build" = sanitized ] || ls "$art"/linux-*.png 2>/dev/null
exit $rc
