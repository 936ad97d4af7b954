#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, when missing.
set -euo pipefail
packages=(build-essential cmake ninja-build libgtest-dev libbenchmark-dev libsqlite3-dev qt6-base-dev xvfb xauth
          xdotool x11-utils libxdamage1 python3 trayer faketime imagemagick fonts-dejavu-core
          openbox tint2 picom libxcb1-dev
          desktop-file-utils appstream dpkg-dev file man-db weston qt6-wayland dbus-daemon)
# The sanitizer build, the fuzz targets and clang-tidy need clang as well.
if [ "${1:-}" = "--checks" ]; then
  packages+=(clang clang-tidy libclang-rt-14-dev)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
