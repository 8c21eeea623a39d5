#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when some are missing.
# As root it installs them; otherwise it lists them and how to install them.
set -euo pipefail

packages=(
  cmake make g++ clang pkg-config python3
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  xvfb xdotool x11-utils imagemagick valgrind gnuplot-nox
  wine wine64 libgl1-mesa-dri
  openbox xfwm4 weston libdecor-0-plugin-1-cairo
  dpkg-dev file lintian desktop-file-utils unzip icoutils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
