#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, test and run.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-translations-l10n libgl-dev
  libsqlite3-dev sqlite3 libzip-dev zip unzip libxlsxwriter-dev libsodium-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-arphic-uming poppler-utils xvfb xauth x11-apps imagemagick xdotool
  qt6-qpa-plugins
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
