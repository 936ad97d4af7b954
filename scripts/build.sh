#!/usr/bin/env bash
# Configures and builds into build/; the program lands in build/dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
# CI sets ZL_WERROR=ON: a warning fails its build.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZL_WERROR="${ZL_WERROR:-OFF}" >/dev/null
cmake --build build -j"$(nproc)"
