#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for the given number
# of seconds (default 60) on a copy of its seed corpus; fails when any target finds a crash.
# Crash inputs are left in the printed artifacts directory.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZL_FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(fuzz_day_log_reader fuzz_day_rules fuzz_ini_reader fuzz_format fuzz_time_parser fuzz_language_loader fuzz_bitmap_reader
         fuzz_history_reader)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZL_FUZZ=ON -DZL_BUILD_UI=OFF -DZL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" -j2

# The readers save through fsync; on a memory file system that costs nothing, ten times the runs.
base=${TMPDIR:-/tmp}
if [[ -d /dev/shm && -w /dev/shm ]]; then base=/dev/shm; fi
work=$(mktemp -d "$base/zl_fuzz_run_XXXXXX")
artifacts="$work/artifacts"
mkdir -p "$artifacts"
failed=()
for target in "${targets[@]}"; do
    corpus="$work/corpus/$target"
    mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$target/." "$corpus/" -r
    echo "== $target: ${seconds}s"
    if ! (cd "$work" && TMPDIR="$work" "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
            -timeout=25 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus" \
            >"$work/$target.log" 2>&1); then
        failed+=("$target")
        tail -n 40 "$work/$target.log"
    else
        grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)' "$work/$target.log" || true
    fi
done

if ((${#failed[@]} > 0)); then
    echo "fuzz: FAILED: ${failed[*]} (inputs and logs in $work)"
    exit 1
fi
rm -rf "$work"
echo "fuzz: all ${#targets[@]} targets ran ${seconds}s without a finding"
