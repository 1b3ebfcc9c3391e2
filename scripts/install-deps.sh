#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, test and run the program. Safe to
# run again: packages already present are left alone. Further package names given as
# arguments are installed too (scripts/package.sh names the packaging tools).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
  qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth socat poppler-utils
  clang-14 libclang-rt-14-dev
  desktop-file-utils  # the install test checks the desktop entry
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
