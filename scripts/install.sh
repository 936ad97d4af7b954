#!/usr/bin/env bash
# Builds the program and installs it for the current user into ~/.local, without root:
# the program in ~/.local/bin; the menu entry, icons, metadata and manual page under
# ~/.local/share; the installed data in ~/.local/lib/zentavo-logger, because
# ~/.local/share/zentavo-logger is the user's own folder, filled from it at the first start.
# Only packages that are missing are installed first, which asks for sudo.
# With --uninstall it removes what it installed (the user's own files stay).
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${PREFIX:-$HOME/.local}

uninstall() {
  local manifest=build-install/install_manifest.txt file
  local files=()
  if [ -f "$manifest" ]; then
    mapfile -t files <"$manifest"
  else
    # Without the build's list: the files an install puts there, by name.
    files=("$prefix/bin/zentavo-logger" "$prefix/share/applications/zentavo-logger.desktop"
      "$prefix/share/metainfo/cz.zentavo.logger.metainfo.xml" "$prefix/share/man/man1/zentavo-logger.1.gz"
      "$prefix"/share/icons/hicolor/*/apps/zentavo-logger.{png,svg})
  fi
  for file in "${files[@]}"; do
    # Only files under this prefix: a list from another PREFIX is not followed.
    case "$file" in "$prefix"/*) rm -f -- "$file" ;; esac
  done
  rm -rf -- "$prefix/lib/zentavo-logger" "$prefix/libexec/zentavo-logger" "$prefix/share/doc/zentavo-logger"
  if command -v update-desktop-database >/dev/null; then
    update-desktop-database "$prefix/share/applications" 2>/dev/null || true
  fi
  echo "Removed Zentavo Logger from $prefix. Your own files stay in" \
    "${XDG_DATA_HOME:-$HOME/.local/share}/zentavo-logger; remove that folder yourself if you no longer want them."
}

case "${1:-}" in
  --uninstall) uninstall; exit 0 ;;
  "") ;;
  *) echo "usage: scripts/install.sh [--uninstall]" >&2; exit 2 ;;
esac
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
