#!/usr/bin/env bash
# Installs the Debian 12 packages of scripts/packages.txt that are missing; with --checks,
# those of its [checks] part as well.
set -euo pipefail
list="$(dirname "$0")/packages.txt"
if [ "${1:-}" = "--checks" ]; then
  mapfile -t packages < <(sed -e 's/#.*//' -e '/^\[checks\]/d' "$list" | tr -s ' \t' '\n' | sed '/^$/d')
else
  mapfile -t packages < <(sed -e 's/#.*//' -e '/^\[checks\]/,$d' "$list" | tr -s ' \t' '\n' | sed '/^$/d')
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
