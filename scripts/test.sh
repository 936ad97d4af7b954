#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: core, widgets and end to end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_packages.sh
scripts/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work" TMPDIR="$work"
chmod 700 "$work"
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
