#!/usr/bin/env bash
# Builds the "sanitize" preset in build-sanitize: everything (the ui, the tests and the
# benchmarks) with AddressSanitizer and UndefinedBehaviorSanitizer; then runs every test but
# the end-to-end ones, leak checks on. Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${ZL_ASAN_JOBS:-2}

start=$SECONDS
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
echo "sanitize: built in $((SECONDS - start)) s"

work=$(mktemp -d /tmp/zl_asan_XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
export XDG_RUNTIME_DIR="$work" TMPDIR="$work"
ctest --preset sanitize -j"$jobs" "$@"
