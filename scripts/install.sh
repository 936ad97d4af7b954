#!/usr/bin/env bash
# Builds the program and installs it for the current user into ~/.local, without root:
# the program in ~/.local/bin; the menu entry, icons, metadata and manual page under
# ~/.local/share; the installed data in ~/.local/lib/zentavo-logger, because
# ~/.local/share/zentavo-logger is the user's own folder, filled from it at the first start.
# Only packages that are missing are installed first, which asks for sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${PREFIX:-$HOME/.local}
scripts/install_packages.sh
cmake -S . -B build-install -DCMAKE_BUILD_TYPE=Release -DZL_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DZL_INSTALL_DATA_DIR=lib/zentavo-logger >/dev/null
cmake --build build-install -j"$(nproc)"
cmake --install build-install
# The menu finds the entry without this; the caches only make it quicker.
if command -v update-desktop-database >/dev/null; then
  update-desktop-database "$prefix/share/applications" 2>/dev/null || true
fi
echo "Installed $prefix/bin/zentavo-logger; start it from the menu or as zentavo-logger."
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *) echo "Note: $prefix/bin is not in PATH; log in again or add it to start it by name." ;;
esac
