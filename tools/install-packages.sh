#!/usr/bin/env bash
# Installs every Debian package that building, testing and the demo need.
# Skips apt entirely when all of them are already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git
  qt6-base-dev libgl1-mesa-dev
  firebird3.0-server firebird3.0-utils firebird-dev libfbclient2
  libjpeg-dev zlib1g-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  xvfb xauth imagemagick xdotool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
