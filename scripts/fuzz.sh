#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the "fuzz" preset, in build-fuzz), replays each
# target's kept corpus, fuzz/corpus/<target>/ (its ctest tests), then runs each target for
# the given number of seconds (default 60) on a copy of that corpus; fails when any target
# finds a crash. Crash inputs are left in the printed artifacts directory. With --keep, what
# a run found that widens the coverage is merged into the kept corpus.
# Usage: scripts/fuzz.sh [seconds] [--keep]
set -euo pipefail

seconds=60
keep=0
for argument in "$@"; do
    case $argument in
        --keep) keep=1 ;;
        *) seconds=$argument ;;
    esac
done
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

(cd "$root" && cmake --preset fuzz >/dev/null)
# The targets are whatever fuzz/CMakeLists.txt made of fuzz/fuzz_*.cpp.
mapfile -t targets <"$build/fuzz/Fuzz_Targets.txt"
(cd "$root" && cmake --build --preset fuzz --target "${targets[@]}" -j2)
(cd "$root" && ctest --preset fuzz -j2)

# The readers save through fsync; on a memory file system that costs nothing, ten times the runs.
base=${TMPDIR:-/tmp}
if [[ -d /dev/shm && -w /dev/shm ]]; then base=/dev/shm; fi
work=$(mktemp -d "$base/zl_fuzz_run_XXXXXX")
artifacts="$work/artifacts"
mkdir -p "$artifacts"
failed=()
for target in "${targets[@]}"; do
    kept="$root/fuzz/corpus/$target"
    corpus="$work/corpus/$target"
    mkdir -p "$corpus" "$kept"
    cp -r "$kept/." "$corpus/"
    echo "== $target: ${seconds}s"
    if ! (cd "$work" && TMPDIR="$work" "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
            -timeout=25 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus" \
            >"$work/$target.log" 2>&1); then
        failed+=("$target")
        tail -n 40 "$work/$target.log"
        continue
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)' "$work/$target.log" || true
    if ((keep)); then
        before=$(find "$kept" -type f | wc -l)
        (cd "$work" && TMPDIR="$work" "$build/fuzz/$target" -merge=1 -rss_limit_mb=2048 -timeout=25 \
            "$kept" "$corpus" >"$work/$target.merge.log" 2>&1)
        echo "kept corpus: $before -> $(find "$kept" -type f | wc -l) inputs"
    fi
done

if ((${#failed[@]} > 0)); then
    echo "fuzz: FAILED: ${failed[*]} (inputs and logs in $work)"
    exit 1
fi
rm -rf "$work"
echo "fuzz: all ${#targets[@]} targets ran ${seconds}s without a finding"
