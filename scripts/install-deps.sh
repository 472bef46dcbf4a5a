#!/usr/bin/env bash
# Installs the Debian packages Rumbolo needs to build, run and test.
# Quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ ccache pkg-config
    # scripts/package.sh: CPack reads the binaries with file and dpkg-shlibdeps.
    dpkg-dev file
    qtbase5-dev qtmultimedia5-dev libqt5sql5-sqlite libqt5multimedia5-plugins
    libquazip1-qt5-dev libqt5svg5-dev qttools5-dev-tools
    xvfb xauth x11-xkb-utils xdotool x11-apps x11-utils imagemagick
    # The window manager needs the X core fonts "variable" and "fixed": without
    # them it exits at once, and nothing can go full screen.
    evilwm xfonts-base xfonts-75dpi
    pulseaudio pulseaudio-utils espeak-ng sox
    fonts-noto-color-emoji fonts-dejavu-core
    libcpp-httplib-dev libssl-dev openssl ca-certificates
    sqlite3 zip unzip libzip-dev curl python3 procps
    # scripts/bench.sh: the start-up and touch-to-screen timings read the
    # screen with the X damage and shared-memory extensions and click with XTest.
    libxdamage-dev libxext-dev libxfixes-dev libxtst-dev
    # The program reads the fonts' configuration on a second thread at start.
    libfontconfig-dev
)
PACKAGES+=(
    # The examiner's manual (docs/manual/): pandoc makes one HTML file of its chapters.
    pandoc
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi

echo "Installing Debian packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
