#!/usr/bin/env bash
# Installs the Debian packages the build needs; quiet and quick when all are present.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev
  zlib1g-dev libyaml-cpp-dev libcli11-dev libglib2.0-dev
  qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n libgl-dev fonts-dejavu-core
  libgsf-1-dev libxlsxwriter-dev
  # Independent readers that tests check our files with.
  python3-olefile python3-openpyxl python3-dbfread chromium
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
