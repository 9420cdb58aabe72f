#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need, when
# any is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6
  libqcustomplot-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-qpa-plugins fonts-dejavu-core xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
