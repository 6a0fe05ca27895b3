# Shared settings of the scripts: the packages QR4T needs, the build folders, and the Wine environment
# of a build. Sourced by scripts/test, scripts/run, scripts/bench, scripts/bench_displays and
# scripts/fuzz.
#
# Each build type has a folder of its own, so that one script never rebuilds another's:
#   build/host          Debug, native, with the sanitizers: scripts/test
#   build/win           Debug, MinGW-w64: scripts/test, scripts/bench_displays
#   build/host-release  Release, native, no sanitizers: the result tools of scripts/run, scripts/bench
#   build/win-release   Release, MinGW-w64: the program of scripts/run, the grid benchmark of scripts/bench
#   build/fuzz          RelWithDebInfo, clang, the fuzz harnesses only: scripts/fuzz
# QR4T_JOBS limits the compile jobs that run at once (all the cores by default).

QR4T_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What the builds need, and what only the tests and the program need (Wine, Xvfb and the readers of
# exported files): scripts/test installs the second set while the builds compile.
QR4T_BUILD_PACKAGES="cmake ninja-build g++ clang-format googletest libbenchmark-dev zlib1g-dev
 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev"
QR4T_TEST_PACKAGES="wine64 wine fonts-wine xvfb xauth libosmesa6 imagemagick pngcheck fonts-liberation
 hp2xx xclip ghostscript libwmf-bin emf2svg librsvg2-bin libxml2-utils python3-ezdxf
 libreoffice-draw-nogui libreoffice-impress-nogui"
# The fuzz build (scripts/fuzz, and its short pass in scripts/test): clang with libFuzzer and the
# sanitizer runtimes. Clang 16, since clang 14 cannot compile std::source_location of GCC 12's library.
QR4T_FUZZ_PACKAGES="clang-16 libclang-rt-16-dev"
QR4T_PACKAGES="$QR4T_BUILD_PACKAGES $QR4T_TEST_PACKAGES $QR4T_FUZZ_PACKAGES"

# Installs the Debian packages of the list given (all of QR4T_PACKAGES without one) that are missing;
# runs apt-get update first when any is.
qr4t_install_packages() {
    local missing=()
    for p in ${1:-$QR4T_PACKAGES}; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Environment of Wine for one build folder: a private prefix, no debug output, no Mono or Gecko.
qr4t_wine_env() {
    export WINEPREFIX="$1/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
}

# Makes the Wine prefix once, with the registry settings that let programs run without a window
# manager and without a crash dialog that would wait forever. The window frames that Wine draws take
# the symbols of their caption buttons (minimise, maximise, close) from the font Marlett, which Wine
# does not find in its own folder: the prefix gets the copy of Debian's fonts-wine.
qr4t_wine_prefix() {
    qr4t_wine_env "$1"
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f "$WINEPREFIX/.qr4t-ready" ]; then
        [ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null
        return 0
    fi
    mkdir -p "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1
    wineserver -w
    DISPLAY= wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    touch "$WINEPREFIX/.qr4t-ready"
}

# Starts Xvfb on a free display number and exports DISPLAY; qr4t_stop_xvfb ends it.
qr4t_start_xvfb() {
    local n=91
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QR4T_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

qr4t_stop_xvfb() {
    [ -n "${QR4T_XVFB_PID:-}" ] && kill "$QR4T_XVFB_PID" 2>/dev/null && wait "$QR4T_XVFB_PID" 2>/dev/null
    QR4T_XVFB_PID=""
}

qr4t_jobs() { echo "${QR4T_JOBS:-$(nproc 2>/dev/null || echo 2)}"; }

# Configures (once) and builds the Release builds' targets given: qr4t_build_release host|win TARGET...
# Prints only the compiler's complaints and the failure.
qr4t_build_release() {
    local kind=$1 dir="$QR4T_ROOT/build/$1-release"
    shift
    local options=(-DCMAKE_BUILD_TYPE=Release)
    if [ "$kind" = win ]; then
        options+=(-DCMAKE_TOOLCHAIN_FILE="$QR4T_ROOT/cmake/mingw-w64.cmake")
        qr4t_wine_env "$dir"
    else
        options+=(-DQR4T_SANITIZE=OFF)
    fi
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$QR4T_ROOT" -B "$dir" -G Ninja "${options[@]}" >/dev/null || return 1
    fi
    cmake --build "$dir" -j "$(qr4t_jobs)" --target "$@" | grep -v '^\[[0-9]*/[0-9]*\] \|^ninja: no work to do'
    return "${PIPESTATUS[0]}"
}
