# Shared settings of the scripts: the packages QR4T needs, and the Wine environment of a build.
# Sourced by scripts/test, scripts/run and scripts/bench.

QR4T_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What the builds need, and what only the tests and the program need (Wine, Xvfb and the readers of
# exported files): scripts/test installs the second set while the builds compile.
QR4T_BUILD_PACKAGES="cmake ninja-build g++ googletest libbenchmark-dev zlib1g-dev
 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev"
QR4T_TEST_PACKAGES="wine64 wine fonts-wine xvfb xauth libosmesa6 imagemagick pngcheck fonts-liberation
 hp2xx xclip ghostscript libwmf-bin emf2svg librsvg2-bin libxml2-utils python3-ezdxf
 libreoffice-draw-nogui libreoffice-impress-nogui"
QR4T_PACKAGES="$QR4T_BUILD_PACKAGES $QR4T_TEST_PACKAGES"

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
# manager and without a crash dialog that would wait forever.
qr4t_wine_prefix() {
    qr4t_wine_env "$1"
    [ -f "$WINEPREFIX/.qr4t-ready" ] && return 0
    mkdir -p "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1
    wineserver -w
    DISPLAY= wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
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

qr4t_jobs() { nproc 2>/dev/null || echo 2; }
