#!/usr/bin/env bash
# Checks that the C++ of src, tests, bench and fuzz is as .clang-format writes it; with
# --fix, rewrites what is not.
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
mapfile -t files < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--fix" ]; then
  "$format" -i "${files[@]}"
  exit 0
fi
if ! "$format" --dry-run --Werror "${files[@]}"; then
  echo "format: FAILED (scripts/format.sh --fix rewrites the files above)"
  exit 1
fi
echo "format: ${#files[@]} files clean"
