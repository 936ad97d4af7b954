#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over every source file of src/ with the
# compile commands of a clang preset: by default "tidy" (build-tidy, where only the moc output
# is built); CI passes "sanitize", whose build already made the moc output. Fails on any
# warning.
# Usage: scripts/tidy.sh [preset]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-tidy}
build=$root/build-$preset
tidy=${CLANG_TIDY:-clang-tidy-14}
jobs=${ZL_TIDY_JOBS:-2}

(cd "$root" && cmake --preset "$preset" >/dev/null)
# The moc output must exist for the ui files to be analysed as they are compiled.
autogen=$(cmake --build "$build" --target help | sed -n 's/^\([A-Za-z0-9_-]*_autogen\):.*/\1/p')
if [[ -n "$autogen" ]]; then
    # shellcheck disable=SC2086
    cmake --build "$build" --target $autogen -j"$jobs" >/dev/null
fi

log=$(mktemp "${TMPDIR:-/tmp}/zl_tidy_XXXXXX.log")
mapfile -t files < <(cd "$root" && find src -name '*.cpp' | sort)
echo "tidy: ${#files[@]} files, $jobs at a time"
status=0
printf '%s\n' "${files[@]}" | (cd "$root" && xargs -P "$jobs" -I{} \
    "$tidy" --quiet --warnings-as-errors='*' -p "$build" {}) >"$log" 2>&1 || status=$?
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers' "$log" || true
rm -f "$log"
if [[ $status -ne 0 ]]; then
    echo "tidy: FAILED"
    exit 1
fi
echo "tidy: clean"
