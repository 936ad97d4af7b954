#!/usr/bin/env bash
# Installs what is missing, builds, and runs every check, each stage timed: the format, the
# core, widget and end-to-end tests, then every test but the end-to-end ones again under
# AddressSanitizer and UndefinedBehaviorSanitizer (the benchmarks built there too), the
# fuzz targets' kept corpora replayed and each target fuzzed for ZL_FUZZ_SECONDS (default
# 10) s, and clang-tidy.
# With arguments, only the tests run and the arguments go to ctest (e.g. -L core).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  scripts/install_packages.sh
else
  scripts/install_packages.sh --checks
fi
timings=()
stage() { # name command...
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  timings+=("$(printf '%-16s %5d s' "$name" $((SECONDS - start)))")
}
run_tests() {
  # A short folder of its own, whatever TMPDIR says: the tests put Unix sockets in it, whose
  # paths may not exceed 107 bytes.
  local work status=0
  work=$(mktemp -d /tmp/zl_test.XXXXXX)
  chmod 700 "$work"
  XDG_RUNTIME_DIR="$work" TMPDIR="$work" ctest --preset default -j"$(nproc)" "$@" || status=$?
  rm -rf "$work"
  return $status
}

if [ $# -gt 0 ]; then
  scripts/build.sh
  run_tests "$@"
  exit 0
fi
stage format scripts/format.sh
stage build scripts/build.sh
stage tests run_tests
stage sanitizers scripts/sanitize.sh
stage fuzz scripts/fuzz.sh "${ZL_FUZZ_SECONDS:-10}"
stage clang-tidy scripts/tidy.sh
printf '%s\n' "${timings[@]}"
echo "== all checks passed in $SECONDS s"
