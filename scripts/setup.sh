#!/usr/bin/env bash
# Prepares this machine (Debian 12, x86_64, run as root) for building the
# driver: installs the toolchains and tools from Debian's packages, then builds
# the third-party libraries the driver links statically, once per target.
# Debian's chromium is among the packages: the tests check the help page in it,
# headless.
# GTK's headers (libgtk-3-dev) are for the Linux windows, which load GTK at run
# time; WebKitGTK 4.1, xdg-utils and the DejaVu fonts are there for their
# tests under Xvfb. clang and libclang-rt-dev (libFuzzer and clang's
# sanitizers) build the fuzz targets of the linux-fuzz preset.
# Idempotent: a second run with everything in place does no apt work and no
# builds, and finishes in a few seconds.
#
# Layout (all under the repository's .deps/, which git ignores):
#   .deps/src/                 Debian source packages (.dsc + tarballs), checked
#                              against the Sha256 sums in each .dsc, and their
#                              unpacked upstream trees <pkg>-<version>/
#   .deps/<target>/include/    headers, <target> one of linux, win32, win64:
#                                pcre2.h                  (consumers define PCRE2_STATIC
#                                                          and PCRE2_CODE_UNIT_WIDTH=16)
#                                pugixml.hpp pugiconfig.hpp (default config, char/UTF-8 API)
#                                md4c.h md4c-html.h
#                                expat.h expat_external.h (built for UTF-16: consumers
#                                                          define XML_UNICODE, and
#                                                          XML_STATIC on Windows)
#                                zlib.h zconf.h
#                                minizip/unzip.h minizip/ioapi.h (+ minizip/iowin32.h on Windows)
#                                gtest/ gmock/            (win32, win64 only)
#   .deps/<target>/lib/        static archives:
#                                libpcre2-16.a libpugixml.a libmd4c.a libmd4c-html.a
#                                libz.a libminizip.a (built with -DNOCRYPT -DNOUNCRYPT)
#                                libexpatw.a              (XML_Char is UTF-16)
#                                libgtest.a libgtest_main.a libgmock.a libgmock_main.a
#                                                         (win32, win64 only)
#                              plus the libraries' own CMake package files
#                              (lib/cmake/pugixml, lib/cmake/md4c, cmake/ for pcre2)
#                              and lib/pkgconfig/.
#   .deps/<target>/.stamp-<lib>-<version>   completion stamps (hold a hash of the
#                              recipe, so a version or recipe change rebuilds)
#   .deps/logs/                one log per build step; a failure prints its tail
#   .deps/locale/ru_RU.UTF-8/  the Russian locale the window tests give Wine (LOCPATH)
#
# The linux archives are built with -fPIC (they end up inside a shared library)
# and also serve the linux-asan preset. The Linux build uses the system
# GoogleTest (package libgtest-dev); the Windows ones use the archives above,
# built from Debian's googletest source in /usr/src/googletest.
# win32/win64 are built with cmake/toolchain-mingw-i686.cmake and
# cmake/toolchain-mingw-x86_64.cmake (MinGW-w64, POSIX thread model).
# On Windows libz.a is the static zlib of Debian's libz-mingw-w64-dev, copied.
#
# Environment: CFLAGS/CXXFLAGS/CPPFLAGS/LDFLAGS/CC/CXX are ignored (unset) so
# that the archives do not depend on the caller's shell.

set -Eeuo pipefail

# ---- pinned dependency versions (full Debian source versions, bookworm) -----
# These are the bookworm release versions (expat's from a point release). The
# newer bookworm-security uploads (pcre2 10.42-1+deb12u2, zlib
# 1:1.2.13.dfsg-1+deb12u1, expat 2.5.0-1+deb12u5) are listed by apt but their
# source files are not served by the mirror this machine reaches.
# Only the upstream (orig) tarballs are used; Debian's patches are not applied.
PCRE2_VERSION="10.42-1"
PUGIXML_VERSION="1.13-0.2"
MD4C_VERSION="0.4.8-1"
ZLIB_VERSION="1:1.2.13.dfsg-1"
EXPAT_VERSION="2.5.0-1+deb12u2"

# What each part needs. The demo builds only the Linux library and its two
# tools (the release preset: no tests, no benchmarks, no GTK headers).
DEMO_PACKAGES=(g++ cmake ninja-build dpkg-dev python3)
WINDOWS_PACKAGES=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine wine32:i386 wine64
)
TEST_PACKAGES=(
    xvfb xauth fonts-wine imagemagick locales
    googletest libgtest-dev libbenchmark-dev pkg-config
    chromium
    libgtk-3-dev libwebkit2gtk-4.1-0 xdg-utils fonts-dejavu-core
    clang libclang-rt-dev
)
# Runs 32-bit Windows programs where the kernel does not (scripts/wine-env.sh).
EMULATION_PACKAGES=(qemu-user-static)

PART="${1:-tests}"
case "$PART" in
    demo) PACKAGES=("${DEMO_PACKAGES[@]}"); TARGETS=(linux) ;;
    windows-demo) PACKAGES=("${DEMO_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"); TARGETS=(linux win32 win64) ;;
    tests) PACKAGES=("${DEMO_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" "${TEST_PACKAGES[@]}"); TARGETS=(linux win32 win64) ;;
    *) echo "usage: setup.sh [demo | windows-demo | tests]   (default: tests)" >&2; exit 2 ;;
esac

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="$ROOT/.deps"
SRC="$DEPS/src"
LOGS="$DEPS/logs"
BUILDS="$DEPS/build"
JOBS="$(nproc 2>/dev/null || echo 2)"

unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS CC CXX
export LC_ALL=C

# ---- error reporting ---------------------------------------------------------
STEP="starting"
LOG=""
START_TIME=$SECONDS

on_err() {
    local rc=$?
    # A failing command substitution or subshell also runs this trap; let only
    # the main shell report.
    if [[ "${BASHPID:-$$}" != "$$" ]]; then exit "$rc"; fi
    trap - ERR
    {
        if [[ -n "$LOG" && -s "$LOG" ]]; then
            echo "setup.sh: last lines of ${LOG#"$ROOT"/}:"
            tail -n 40 "$LOG" | sed 's/^/    /'
        fi
        echo "setup.sh: failed: $STEP (exit status $rc)"
    } >&2
    exit "$rc"
}
trap on_err ERR

die() {
    echo "setup.sh: failed: $STEP: $*" >&2
    trap - ERR
    exit 1
}

step() {
    STEP="$*"
    echo "setup.sh: $*"
}

# Runs a command with its output appended to $LOG.
logged() {
    "$@" >>"$LOG" 2>&1
}

new_log() {
    mkdir -p "$LOGS"
    LOG="$LOGS/$1.log"
    : >"$LOG"
}

# ---- apt helpers -------------------------------------------------------------
APT_UPDATED=0

wait_for_apt() {
    command -v fuser >/dev/null 2>&1 || return 0
    local waited=0
    while fuser /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock \
        /var/lib/apt/lists/lock /var/cache/apt/archives/lock >/dev/null 2>&1; do
        if ((waited == 0)); then
            echo "setup.sh: waiting for another apt/dpkg run to finish"
        fi
        if ((waited >= 3600)); then
            die "apt/dpkg is still locked by another process after ${waited}s"
        fi
        sleep 5
        waited=$((waited + 5))
    done
}

# apt-get with retries: another apt run may grab the lock between our check and
# our call.
apt_get() {
    local attempt
    for attempt in 1 2; do
        wait_for_apt
        if logged env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"; then
            return 0
        fi
        ((attempt == 2)) && break
        echo "setup.sh: apt-get $1 failed, retrying once" >&2
        sleep 10
    done
    return 1
}

apt_update_once() {
    if ((APT_UPDATED == 0)); then
        step "apt-get update"
        new_log apt-update
        # A mirror in the middle of a sync fails one index; the lists at hand
        # may still hold every package we need, and the install decides.
        if ! logged env DEBIAN_FRONTEND=noninteractive apt-get update -q; then
            echo "setup.sh: warning: apt-get update reported errors; going on with the package lists at hand:" >&2
            grep -E '^(E|W): ' "$LOG" | sort -u | sed 's/^/    /' >&2
        fi
        APT_UPDATED=1
    fi
}

# Installs packages; when an index failed to download (a mirror in the middle
# of a sync), the release's own archive may still hold a consistent set: an
# i386 package must match its amd64 twin's version, and the security archive's
# amd64 version has no i386 twin then. Only a failed install stops the run.
install_packages() {
    local codename
    new_log apt-install
    apt_get install -y -q --no-install-recommends "$@" && return 0
    codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
    if [[ -n "$codename" ]] && grep -qE '^(E|W): Failed to fetch' "$LOGS/apt-update.log" 2>/dev/null; then
        echo "setup.sh: warning: installing from $codename's own archive, as an index of its updates is missing" >&2
        logged env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 \
            install -y -q --no-install-recommends -t "$codename" "$@" && return 0
    fi
    local p missing=()
    for p in "$@"; do is_installed "$p" || missing+=("$p"); done
    echo "setup.sh: could not install: ${missing[*]}" >&2
    grep -E '^E: |unmet dependencies|Depends: ' "$LOG" | sort -u | head -20 | sed 's/^/    /' >&2
    die "apt-get install"
}

# deb-src entries are needed by `apt-get source`. Returns 0 if it changed a file.
enable_deb_src() {
    local changed=1 f=/etc/apt/sources.list.d/debian.sources
    if [[ -f "$f" ]] && grep -qE '^Types:[[:space:]]*deb[[:space:]]*$' "$f"; then
        sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$f"
        changed=0
    fi
    f=/etc/apt/sources.list
    if [[ -f "$f" ]]; then
        local tmp
        tmp="$(mktemp)"
        awk 'NR == FNR { if ($1 == "deb-src") { r = $0; sub(/^deb-src[ \t]+/, "", r); have[r] = 1 } next }
             { print
               if ($1 == "deb") {
                   r = $0; sub(/^deb[ \t]+/, "", r)
                   if (!(r in have)) { print "deb-src " r; have[r] = 1 }
               } }' "$f" "$f" >"$tmp"
        if ! cmp -s "$tmp" "$f"; then
            cat "$tmp" >"$f"
            changed=0
        fi
        rm -f "$tmp"
    fi
    return "$changed"
}

# ---- step 1: packages ----------------------------------------------------------
is_installed() {
    [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]
}

ensure_packages() {
    step "checking packages"
    local p missing=()
    for p in "${PACKAGES[@]}"; do
        is_installed "$p" || missing+=("$p")
    done
    if ((${#missing[@]} > 0)); then
        if [[ " ${PACKAGES[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
            dpkg --add-architecture i386
        fi
        enable_deb_src || true
        apt_update_once
        step "installing ${missing[*]}"
        install_packages "${PACKAGES[@]}"
        for p in "${PACKAGES[@]}"; do
            is_installed "$p" || die "package $p is still not installed after apt-get install"
        done
    fi
    enable_deb_src || true # needed by `apt-get source`

    step "checking toolchains"
    local tool
    for tool in gcc g++ ar cmake ninja dpkg-source; do
        command -v "$tool" >/dev/null 2>&1 || die "$tool not found in PATH"
    done
    [[ "$PART" == demo ]] && return 0
    for tool in i686-w64-mingw32-gcc-posix i686-w64-mingw32-g++-posix \
        x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix \
        i686-w64-mingw32-ar x86_64-w64-mingw32-ar /usr/lib/wine/wine64 /usr/lib/wine/wine; do
        command -v "$tool" >/dev/null 2>&1 || die "$tool not found in PATH"
    done
    for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix; do
        "$tool" -v 2>&1 | grep '^Thread model: posix' >/dev/null ||
            die "$tool does not use the POSIX thread model"
    done
    [[ "$PART" == tests ]] && { [[ -f /usr/src/googletest/CMakeLists.txt ]] || die "/usr/src/googletest is missing (package googletest)"; }
    for p in i686 x86_64; do
        [[ -f /usr/$p-w64-mingw32/lib/libz.a ]] || die "/usr/$p-w64-mingw32/lib/libz.a is missing (package libz-mingw-w64-dev)"
    done
}

# ---- step 1b: the Russian locale of the window tests under Wine ---------------
# Code page 1251 and Russian date formats for Wine, without touching the
# system's locales: compiled into .deps/locale/, used through LOCPATH.
ensure_russian_locale() {
    local dir="$DEPS/locale"
    [[ -f "$dir/ru_RU.UTF-8/LC_CTYPE" ]] && return 0
    step "building the ru_RU.UTF-8 locale"
    mkdir -p "$dir"
    localedef -i ru_RU -f UTF-8 "$dir/ru_RU.UTF-8" >/dev/null 2>&1 || true
    [[ -f "$dir/ru_RU.UTF-8/LC_CTYPE" ]] || die "localedef could not build ru_RU.UTF-8"
}

# ---- step 2: dependency sources -------------------------------------------------
# Prints "sha256 name" for each file listed in a .dsc.
dsc_files() {
    awk '/^Checksums-Sha256:/ { f = 1; next } /^[^ ]/ { f = 0 } f && NF == 3 { print $1, $3 }' "$1"
}

dsc_orig() {
    dsc_files "$1" | awk '$2 ~ /\.orig\.tar\.[a-z0-9]+$/ { print $2 }'
}

# verify_dsc DSC [quiet]: every file listed in the .dsc that is present must
# match its Sha256; the orig tarball must be present. The Debian packaging
# (debian.tar/diff.gz) is not used and may be absent.
verify_dsc() {
    local dsc="$1" quiet="${2:-}" sum name dir
    dir="$(dirname "$dsc")"
    if [[ ! -f "$dsc" ]]; then
        [[ -n "$quiet" ]] && return 1
        die "$(basename "$dsc") was not downloaded (is the version still in the archive? see apt-cache showsrc)"
    fi
    local origs
    origs="$(dsc_orig "$dsc")"
    if [[ -z "$origs" ]]; then
        [[ -n "$quiet" ]] && return 1
        die "$(basename "$dsc") lists no Sha256 for an orig tarball"
    fi
    while read -r sum name; do
        if [[ -f "$dir/$name" ]]; then
            if [[ "$(sha256sum "$dir/$name" | cut -d' ' -f1)" != "$sum" ]]; then
                if [[ -n "$quiet" ]]; then
                    rm -f "$dir/$name"
                    return 1
                fi
                die "checksum mismatch for $name (expected $sum)"
            fi
            [[ -n "$quiet" ]] || echo "setup.sh:   sha256 ok: $name"
        elif grep -qxF "$name" <<<"$origs"; then
            [[ -n "$quiet" ]] && return 1
            die "$name was not downloaded"
        else
            [[ -n "$quiet" ]] || echo "setup.sh:   not available, not needed: $name"
        fi
    done < <(dsc_files "$dsc")
    return 0
}

# fetch_source PKG VERSION: sets SRCDIR to the unpacked upstream tree.
SRCDIR=""
fetch_source() {
    local pkg="$1" ver="$2"
    local nover="${ver#*:}" # file names carry no epoch
    local dsc="$SRC/${pkg}_${nover}.dsc"
    SRCDIR="$SRC/$pkg-$nover"
    if [[ -f "$SRCDIR/.setup-unpacked" ]]; then
        return 0
    fi
    mkdir -p "$SRC"
    if ! verify_dsc "$dsc" quiet; then
        if ! apt-cache showsrc --only-source "$pkg" 2>/dev/null | grep -xF "Version: $ver" >/dev/null; then
            apt_update_once
        fi
        new_log "source-$pkg"
        step "downloading $pkg $ver source"
        cd "$SRC"
        # A 404 on the Debian packaging makes apt-get fail although the orig
        # tarball arrived; verify_dsc below decides.
        if ! logged apt-get source -q --download-only -o APT::Sandbox::User=root "$pkg=$ver"; then
            echo "setup.sh:   apt-get source reported errors (see ${LOG#"$ROOT"/}); checking what arrived"
        fi
        cd "$ROOT"
    fi
    step "verifying $pkg $ver source"
    [[ -n "$LOG" && "$LOG" == *"/source-$pkg.log" ]] || new_log "source-$pkg"
    verify_dsc "$dsc"
    step "unpacking $pkg $ver source"
    local orig
    orig="$(dsc_orig "$dsc")"
    [[ "$(wc -l <<<"$orig")" == 1 ]] || die "expected exactly one orig tarball in $(basename "$dsc"), got: $orig"
    rm -rf "$SRCDIR" "$SRCDIR.tmp"
    mkdir -p "$SRCDIR.tmp"
    logged tar -xf "$SRC/$orig" -C "$SRCDIR.tmp" --strip-components=1 --no-same-owner
    touch "$SRCDIR.tmp/.setup-unpacked"
    mv "$SRCDIR.tmp" "$SRCDIR"
}

# ---- step 3: builds ---------------------------------------------------------------
triple_of() {
    case "$1" in
        win32) echo i686-w64-mingw32 ;;
        win64) echo x86_64-w64-mingw32 ;;
        *) echo "" ;;
    esac
}

toolchain_of() {
    case "$1" in
        win32) echo "$ROOT/cmake/toolchain-mingw-i686.cmake" ;;
        win64) echo "$ROOT/cmake/toolchain-mingw-x86_64.cmake" ;;
        *) echo "" ;;
    esac
}

# cmake_configure TARGET SRCDIR BUILDDIR [cmake args...]
cmake_configure() {
    local target="$1" src="$2" bdir="$3"
    shift 3
    local prefix="$DEPS/$target"
    local args=(
        -G Ninja -S "$src" -B "$bdir" -Wno-dev
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$prefix"
        -DCMAKE_INSTALL_LIBDIR=lib
        -DCMAKE_INSTALL_INCLUDEDIR=include
        -DBUILD_SHARED_LIBS=OFF
    )
    if [[ "$target" == linux ]]; then
        args+=(-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DCMAKE_POSITION_INDEPENDENT_CODE=ON)
    else
        local tc
        tc="$(toolchain_of "$target")"
        [[ -f "$tc" ]] || die "toolchain file ${tc#"$ROOT"/} is missing"
        args+=(-DCMAKE_TOOLCHAIN_FILE="$tc")
    fi
    rm -rf "$bdir"
    logged cmake "${args[@]}" "$@"
}

# Drops documentation that some install rules add to the prefix.
prune_prefix() {
    local prefix="$DEPS/$1"
    rm -rf "$prefix/man" "$prefix/share/man" "$prefix/share/doc"
    rmdir "$prefix/share" 2>/dev/null || true
}

build_pcre2() { # TARGET BUILDDIR
    local extra=()
    [[ "$1" == linux ]] && extra+=(-DPCRE2_STATIC_PIC=ON)
    cmake_configure "$1" "$SRCDIR" "$2" \
        -DPCRE2_BUILD_PCRE2_8=OFF -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_BUILD_PCRE2_32=OFF \
        -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF \
        -DBUILD_STATIC_LIBS=ON -DPCRE2_SUPPORT_JIT=OFF "${extra[@]}"
    logged cmake --build "$2" -j "$JOBS"
    logged cmake --install "$2"
}

build_pugixml() { # TARGET BUILDDIR
    cmake_configure "$1" "$SRCDIR" "$2" -DPUGIXML_BUILD_TESTS=OFF
    logged cmake --build "$2" -j "$JOBS"
    logged cmake --install "$2"
}

build_md4c() { # TARGET BUILDDIR
    # md4c has no switch for its md2html program: build only the two
    # libraries and run the install script of their directory (src/).
    cmake_configure "$1" "$SRCDIR" "$2"
    logged cmake --build "$2" -j "$JOBS" --target md4c md4c-html
    logged cmake -DCMAKE_INSTALL_CONFIG_NAME=Release -P "$2/src/cmake_install.cmake"
}

build_zlib() { # TARGET BUILDDIR  (zlib itself, then minizip from its contrib/)
    local target="$1" bdir="$2" prefix="$DEPS/$1"
    local triple cc ar
    triple="$(triple_of "$target")"
    rm -rf "$bdir"
    mkdir -p "$bdir" "$prefix/lib" "$prefix/include/minizip"
    if [[ "$target" == linux ]]; then
        cc=gcc
        ar="ar"
        cd "$bdir"
        logged env CC=gcc CFLAGS="-O2 -fPIC" "$SRCDIR/configure" --static \
            --prefix="$prefix" --libdir="$prefix/lib" --includedir="$prefix/include"
        logged make -j "$JOBS" libz.a
        logged make install
        cd "$ROOT"
    else
        cc="$triple-gcc-posix"
        ar="/usr/bin/$triple-ar"
        install -m 644 "/usr/$triple/lib/libz.a" "$prefix/lib/libz.a"
        install -m 644 "/usr/$triple/include/zlib.h" "/usr/$triple/include/zconf.h" "$prefix/include/"
    fi

    local flags=(-O2 -DNDEBUG -DNOCRYPT -DNOUNCRYPT -I"$prefix/include")
    local sources=(unzip.c ioapi.c) headers=(unzip.h ioapi.h)
    if [[ "$target" == linux ]]; then
        flags+=(-fPIC -D_FILE_OFFSET_BITS=64)
    else
        sources+=(iowin32.c)
        headers+=(iowin32.h)
    fi
    local s objs=()
    for s in "${sources[@]}"; do
        logged "$cc" "${flags[@]}" -c "$SRCDIR/contrib/minizip/$s" -o "$bdir/${s%.c}.o"
        objs+=("$bdir/${s%.c}.o")
    done
    rm -f "$prefix/lib/libminizip.a"
    logged "$ar" rcs "$prefix/lib/libminizip.a" "${objs[@]}"
    for s in "${headers[@]}"; do
        install -m 644 "$SRCDIR/contrib/minizip/$s" "$prefix/include/minizip/$s"
    done
}

# XML_Char is UTF-16 (unsigned short): the driver reads the host's UTF-16 text
# and keeps names and values as they are, with no round trip through UTF-8.
# The archive is then named libexpatw.a; the char one of an earlier recipe
# goes, so that nothing can link it by mistake.
build_expat() { # TARGET BUILDDIR  (the tarball holds the library in expat/)
    rm -f "$DEPS/$1/lib/libexpat.a"
    cmake_configure "$1" "$SRCDIR/expat" "$2" \
        -DEXPAT_CHAR_TYPE=ushort \
        -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
        -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_FUZZERS=OFF \
        -DEXPAT_BUILD_PKGCONFIG=OFF
    logged cmake --build "$2" -j "$JOBS"
    logged cmake --install "$2"
}

build_gtest() { # TARGET BUILDDIR
    cmake_configure "$1" /usr/src/googletest "$2" \
        -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF \
        -Dgtest_build_tests=OFF -Dgtest_build_samples=OFF
    logged cmake --build "$2" -j "$JOBS"
    logged cmake --install "$2"
}

outputs_of() {
    case "$1" in
        pcre2) echo lib/libpcre2-16.a include/pcre2.h ;;
        pugixml) echo lib/libpugixml.a include/pugixml.hpp include/pugiconfig.hpp ;;
        expat) echo lib/libexpatw.a include/expat.h include/expat_external.h ;;
        md4c) echo lib/libmd4c.a lib/libmd4c-html.a include/md4c.h include/md4c-html.h ;;
        zlib) echo lib/libz.a lib/libminizip.a include/zlib.h include/zconf.h \
            include/minizip/unzip.h include/minizip/ioapi.h ;;
        gtest) echo lib/libgtest.a lib/libgtest_main.a lib/libgmock.a lib/libgmock_main.a \
            include/gtest/gtest.h include/gmock/gmock.h ;;
    esac
}

# Hash of everything that determines a library's archives for a target: the
# recipe functions, the toolchain file, and the system packages it uses.
recipe_hash() {
    local lib="$1" target="$2" tc
    {
        echo "$lib $target"
        declare -f "build_$lib" cmake_configure
        tc="$(toolchain_of "$target")"
        if [[ -n "$tc" ]]; then
            cat "$tc" "$ROOT/cmake/mingw-common.cmake"
            dpkg-query -W -f='${Version}\n' "g++-mingw-w64-$([[ $target == win32 ]] && echo i686 || echo x86-64)-posix"
            if [[ "$lib" == zlib ]]; then
                dpkg-query -W -f='${Version}\n' libz-mingw-w64-dev
            fi
        else
            dpkg-query -W -f='${Version}\n' g++
        fi
    } | sha256sum | cut -c1-16
}

# build_lib LIB VERSION TARGET
build_lib() {
    local lib="$1" ver="$2" target="$3"
    local prefix="$DEPS/$target"
    local stamp="$prefix/.stamp-$lib-${ver//:/_}"
    local hash out ok=1
    hash="$(recipe_hash "$lib" "$target")"
    if [[ -f "$stamp" && "$(cat "$stamp")" == "$hash" ]]; then
        for out in $(outputs_of "$lib"); do
            [[ -f "$prefix/$out" ]] || ok=0
        done
        if ((ok)); then
            echo "setup.sh: $lib $ver for $target: up to date"
            return 0
        fi
    fi
    step "building $lib $ver for $target"
    rm -f "$prefix"/.stamp-"$lib"-*
    mkdir -p "$prefix/lib" "$prefix/include"
    new_log "$lib-$target"
    local bdir="$BUILDS/$target/$lib"
    "build_$lib" "$target" "$bdir"
    for out in $(outputs_of "$lib"); do
        [[ -f "$prefix/$out" ]] || die "$out was not produced (see ${LOG#"$ROOT"/})"
    done
    rm -rf "$bdir"
    echo "$hash" >"$stamp"
}

# ---- main ---------------------------------------------------------------------------
mkdir -p "$DEPS"
if command -v flock >/dev/null 2>&1; then
    exec 9>"$DEPS/.setup.lock"
    if ! flock -n 9; then
        echo "setup.sh: another setup.sh is running, waiting for it"
        flock 9
    fi
fi

# qemu-user-static only where 32-bit programs must be emulated.
if [[ "$PART" != demo ]]; then
    if [[ -z "${WQ_IA32:-}" ]]; then
        source "$ROOT/scripts/wine-env.sh"
        wq_ia32_detect
    fi
    [[ "$WQ_IA32" == emulated ]] && PACKAGES+=("${EMULATION_PACKAGES[@]}")
fi
ensure_packages
[[ "$PART" == tests ]] && ensure_russian_locale

GTEST_VERSION="$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || true)"

# The sources first, then each target's libraries side by side: most of a
# library's build is its configure step, which uses one processor.
LIBS=()
declare -A LIB_VERSION LIB_SOURCE
for entry in "zlib:$ZLIB_VERSION" "pcre2:$PCRE2_VERSION" "pugixml:$PUGIXML_VERSION" "md4c:$MD4C_VERSION" "expat:$EXPAT_VERSION"; do
    lib="${entry%%:*}"
    LIBS+=("$lib")
    LIB_VERSION[$lib]="${entry#*:}"
    STEP="fetching $lib ${LIB_VERSION[$lib]} source"
    fetch_source "$lib" "${LIB_VERSION[$lib]}"
    LIB_SOURCE[$lib]="$SRCDIR"
done
if [[ "$PART" == tests ]]; then
    LIB_VERSION[gtest]="$GTEST_VERSION"
    LIB_SOURCE[gtest]=/usr/src/googletest
fi

build_target() { # TARGET: every library of it, in parallel
    local target="$1" lib pid failed=()
    local libs=("${LIBS[@]}")
    [[ "$target" != linux && -n "${LIB_SOURCE[gtest]:-}" ]] && libs+=(gtest)
    declare -A jobs
    for lib in "${libs[@]}"; do
        (SRCDIR="${LIB_SOURCE[$lib]}" build_lib "$lib" "${LIB_VERSION[$lib]}" "$target") &
        jobs[$lib]=$!
    done
    for lib in "${libs[@]}"; do
        wait "${jobs[$lib]}" || failed+=("$lib")
    done
    if ((${#failed[@]} > 0)); then
        for lib in "${failed[@]}"; do
            echo "setup.sh: last lines of .deps/logs/$lib-$target.log:" >&2
            tail -n 40 "$LOGS/$lib-$target.log" 2>/dev/null | sed 's/^/    /' >&2
        done
        STEP="building ${failed[*]} for $target"
        die "see the logs above"
    fi
    prune_prefix "$target"
}
for target in "${TARGETS[@]}"; do
    build_target "$target"
done

rmdir "$BUILDS"/* "$BUILDS" 2>/dev/null || true
echo "setup.sh: done in $((SECONDS - START_TIME))s; dependencies in .deps/{linux,win32,win64}/{include,lib}"
