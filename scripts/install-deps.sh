#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and a real window need.
# Does nothing when they are all there. Runs as root or through sudo.
set -euo pipefail

PACKAGES=(
    # the build (pkg-config for packaging/make-app-icon.sh) and the manual pages
    build-essential cmake ninja-build pkg-config help2man
    # the window; they bring the Qt libraries and OpenGL headers with them
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-serialport-dev libqcustomplot-dev
    # the tests and benchmarks
    libgtest-dev libbenchmark-dev
    # the window's faces: NanumGothic for Korean, DejaVu Sans for the dialogs
    fonts-nanum fonts-dejavu-core
    # a real X server for the window (xvfb-run, screenshots with import, xwininfo)
    xvfb xauth imagemagick x11-utils
    # scripts/check-accessibility.sh: a session bus, the accessibility bus and its reader
    dbus at-spi2-core python3-pyatspi
    # the fuzz targets
    clang
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
