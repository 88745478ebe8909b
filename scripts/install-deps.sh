#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and a real window need.
# Does nothing when they are all there. Runs as root or through sudo.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6 libqt6svg6
    libqcustomplot-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libgl-dev libxkbcommon-dev
    fonts-nanum fonts-dejavu-core
    xvfb xauth imagemagick x11-utils
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
