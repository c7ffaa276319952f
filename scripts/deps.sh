#!/usr/bin/env bash
# Installs the Debian 12 packages Files needs that are not installed yet.
# Usage: scripts/deps.sh build|test
set -euo pipefail

build_pkgs=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6svg6 qt6-image-formats-plugins libpoppler-cpp-dev
  libicu-dev libssl-dev libfmt-dev libspdlog-dev nlohmann-json3-dev
  libzip-dev libarchive-dev zlib1g-dev libcurl4-openssl-dev libpugixml-dev libasio-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-inter adwaita-icon-theme shared-mime-info
)
test_pkgs=(xvfb xauth xdotool x11-apps attr findutils python3-pyatspi at-spi2-core dbus)

want=("${build_pkgs[@]}")
[ "${1:-build}" = test ] && want+=("${test_pkgs[@]}")

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
