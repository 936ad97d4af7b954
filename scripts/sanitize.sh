#!/usr/bin/env bash
# Builds the "sanitize" preset in build-sanitize with clang: everything (the ui, the tests, the
# benchmarks and the libFuzzer targets) with AddressSanitizer and UndefinedBehaviorSanitizer;
# then runs every test but the end-to-end ones and the corpus replays (scripts/fuzz.sh --preset
# sanitize runs those), leak checks on. With --build-only, only builds; other arguments go to
# ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${ZL_ASAN_JOBS:-2}
build_only=0
if [ "${1:-}" = "--build-only" ]; then
  build_only=1
  shift
fi

start=$SECONDS
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
echo "sanitize: built in $((SECONDS - start)) s"
((build_only)) && exit 0

work=$(mktemp -d /tmp/zl_asan_XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
export XDG_RUNTIME_DIR="$work" TMPDIR="$work"
ctest --preset sanitize -j"$jobs" "$@"
