# Windows programs under Wine on either kind of machine: sourced by the
# scripts, never run. Some kernels refuse 32-bit x86 code; there 64-bit
# programs still run natively under the 64-bit loader, and 32-bit ones only
# under user-mode emulation (scripts/ia32-emulated), minutes per process.
# Debian's `wine` wrapper always starts the 32-bit loader, so nothing calls
# it: scripts/winrun picks the loader for each program.
#
# WQ_FORCE_IA32_EMULATION=1 takes the emulated path on a machine that runs
# 32-bit code natively, to test that path; the machine is not changed.

WQ_ROOT="${WQ_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
WQ_WINE32=/usr/lib/wine/wine
WQ_WINE64=/usr/lib/wine/wine64
WQ_WINESERVER=/usr/lib/wine/wineserver64
# How much longer a bounded step may take when its 32-bit program is emulated.
WQ_EMULATED_TIME_SCALE=30

# Sets and exports WQ_IA32 (native or emulated) and WQ_TIME_SCALE; with
# --print, says in one line what this machine runs.
wq_ia32_detect() {
    local probe why
    probe=$(python3 "$WQ_ROOT/scripts/ia32_probe.py" 2>/dev/null || echo none)
    if [ "$probe" = native ] && [ "${WQ_FORCE_IA32_EMULATION:-0}" = 1 ]; then
        WQ_IA32=emulated
        why="natively, but WQ_FORCE_IA32_EMULATION=1 takes the emulated path"
    elif [ "$probe" = native ]; then
        WQ_IA32=native
        why="natively"
    else
        WQ_IA32=emulated
        why="not natively (the kernel refuses i386 programs$([ "$probe" = emulated ] && echo "; an emulator registered in binfmt_misc takes them"))"
    fi
    WQ_TIME_SCALE=1
    [ "$WQ_IA32" = emulated ] && WQ_TIME_SCALE=$WQ_EMULATED_TIME_SCALE
    export WQ_IA32 WQ_TIME_SCALE
    if [ "${1:-}" = --print ]; then
        if [ "$WQ_IA32" = native ]; then
            echo "32-bit x86 code: runs $why; every Windows test runs under Wine"
        else
            echo "32-bit x86 code: runs $why; 64-bit Windows programs run natively, 32-bit ones under qemu-i386 (a bounded set)"
        fi
    fi
}

# wq_wine_env FOLDER: Wine's settings for that prefix, for this shell.
wq_wine_env() {
    export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
}

# wq_wineboot FOLDER [WRAPPER...]: makes a 64-bit prefix once, with the
# 64-bit loader; its 32-bit half is made by 32-bit programs, which run
# through WRAPPER. A prefix an interrupted run left half made is made anew.
wq_wineboot() {
    local folder=$1; shift
    wq_wine_env "$folder"
    [ -f "$WINEPREFIX/.wq-ready" ] && return 0
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    timeout $((300 * ${WQ_TIME_SCALE:-1})) "$@" "$WQ_WINE64" wineboot -i </dev/null >/dev/null 2>&1 8>&- &&
        timeout 120 "$WQ_WINESERVER" -w 8>&- &&
        touch "$WINEPREFIX/.wq-ready"
}

# wq_wine_prefix FOLDER: a prefix in which 32-bit programs run too (its
# 32-bit half takes minutes where it is emulated).
wq_wine_prefix() {
    if [ "${WQ_IA32:-native}" = emulated ]; then
        wq_wineboot "$1" "$WQ_ROOT/scripts/ia32-emulated"
    else
        wq_wineboot "$1"
    fi
}

# wq_wine_ui_prefix FOLDER: the prefix of the window tests: Wine's fonts
# (Debian's Wine does not find them) and a virtual desktop, which draws the
# windows' captions for screenshots. Where 32-bit code is emulated only the
# 64-bit window tests run, so its 32-bit half is not made there.
wq_wine_ui_prefix() {
    wq_wineboot "$1" || return 1
    [ -f "$WINEPREFIX/.ui-ready" ] && return 0
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" &&
        timeout 60 "$WQ_WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1 8>&- &&
        timeout 60 "$WQ_WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1 8>&- &&
        timeout 60 "$WQ_WINESERVER" -w 8>&- &&
        touch "$WINEPREFIX/.ui-ready"
}

# One server kept alive across many short programs, and Wine's background
# services started now, detached from any test's output: started from inside
# ctest they would inherit its pipes and hold it open.
wq_wine_server_start() {
    "$WQ_WINESERVER" -p </dev/null >/dev/null 2>&1
    timeout 120 "$WQ_WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wq_wine_server_stop() {
    timeout 30 "$WQ_WINESERVER" -k >/dev/null 2>&1 || true
}
