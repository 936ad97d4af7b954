#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_packages.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "zentavo-logger: no display found (DISPLAY is not set); start it inside a desktop session or under xvfb-run." >&2
  exit 1
fi
exec build/dist/zentavo-logger
