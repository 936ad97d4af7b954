#!/usr/bin/env bash
# Builds everything (the ui included) with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan and runs every test but the end-to-end ones, leak checks on.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZL_ASAN_BUILD_DIR:-$root/build-asan}
jobs=${ZL_ASAN_JOBS:-2}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZL_SANITIZE=ON \
    -DZL_BUILD_UI=ON -DZL_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j"$jobs"

work=$(mktemp -d "${TMPDIR:-/tmp}/zl_asan_XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
export XDG_RUNTIME_DIR="$work" TMPDIR="$work" QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" -LE e2e --output-on-failure -j"$jobs" "$@"
