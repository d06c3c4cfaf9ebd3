#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are there.
set -euo pipefail
packages=(
  cmake ninja-build clang make pkg-config
  qt6-base-dev qt6-svg-dev qcoro-qt6-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libarchive-dev
  adb fastboot zip fonts-dejavu-core
  python3
  default-jdk-headless libsmali-java enjarify dexdump
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
