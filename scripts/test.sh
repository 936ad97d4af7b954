#!/usr/bin/env bash
# Installs what is missing, builds, and runs every check: the core, widget and end-to-end
# tests, then the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# each fuzz target for 60 s, and clang-tidy.
# With arguments, only the tests run and the arguments go to ctest (e.g. -L core).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  scripts/install_packages.sh
else
  scripts/install_packages.sh --checks
fi
scripts/build.sh
# A short folder of its own, whatever TMPDIR says: the tests put Unix sockets in it, whose
# paths may not exceed 107 bytes.
work=$(mktemp -d /tmp/zl_test.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
export XDG_RUNTIME_DIR="$work" TMPDIR="$work"
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
[ $# -gt 0 ] && exit 0

echo "== sanitizers"
scripts/sanitize.sh
echo "== fuzzing, 60 s a target"
scripts/fuzz.sh 60
echo "== clang-tidy"
scripts/tidy.sh
echo "== all checks passed"
