# Shared by the set-up scripts: installs the Debian packages that are missing, configures and
# builds. Quick when nothing has changed.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ORBISTA_BUILD_DIR:-$ROOT/build}"
PACKAGES=(cmake g++ make googletest libgtest-dev libbenchmark-dev qt6-base-dev qt6-translations-l10n
          xvfb xauth fonts-wine fonts-dejavu-core fp-utils-3.2.2 xchm dpkg-dev desktop-file-utils
          appstream libcli11-dev help2man lintian libxcb1-dev libboost-math-dev
          qt6-charts-dev libqt6opengl6-dev)  # Debian's Charts config needs the OpenGL one too

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
    cmake --build "$BUILD" -j "$(nproc)"
}
