#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (by default the "fuzz" preset, in build-fuzz; CI uses
# the "sanitize" preset, whose one build serves the sanitizers and the fuzz targets), replays
# each target's kept corpus, fuzz/corpus/<target>/ (its ctest tests), then runs each target for
# the given number of seconds (default 60) on a copy of that corpus, ZL_FUZZ_JOBS (default 2)
# targets at a time; fails when any target finds a crash. Crash inputs are left in the printed
# artifacts directory. With --keep, what a run found that widens the coverage is merged into
# the kept corpus.
# Usage: scripts/fuzz.sh [--preset NAME] [seconds] [--keep]
set -euo pipefail

seconds=60
keep=0
preset=fuzz
while (($# > 0)); do
    case $1 in
        --keep) keep=1 ;;
        --preset) preset=$2; shift ;;
        *) seconds=$1 ;;
    esac
    shift
done
jobs=${ZL_FUZZ_JOBS:-2}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-$preset

(cd "$root" && cmake --preset "$preset" >/dev/null)
# The targets are whatever fuzz/CMakeLists.txt made of fuzz/fuzz_*.cpp.
mapfile -t targets <"$build/fuzz/Fuzz_Targets.txt"
(cd "$root" && cmake --build --preset "$preset" --target "${targets[@]}" -j2)
ctest --test-dir "$build" -L fuzz -j"$jobs" --output-on-failure

# The readers save through fsync; on a memory file system that costs nothing, ten times the runs.
base=${TMPDIR:-/tmp}
if [[ -d /dev/shm && -w /dev/shm ]]; then base=/dev/shm; fi
work=$(mktemp -d "$base/zl_fuzz_run_XXXXXX")
artifacts="$work/artifacts"
mkdir -p "$artifacts"

fuzz_target() { # target: runs it, leaves its log and, on a finding, a .failed mark
    local target=$1 kept="$root/fuzz/corpus/$1" corpus="$work/corpus/$1"
    mkdir -p "$corpus" "$kept"
    cp -r "$kept/." "$corpus/"
    if ! (cd "$work" && TMPDIR="$work" "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
            -timeout=25 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus" \
            >"$work/$target.log" 2>&1); then
        touch "$work/$target.failed"
        return
    fi
    if ((keep)); then
        (cd "$work" && TMPDIR="$work" "$build/fuzz/$target" -merge=1 -rss_limit_mb=2048 -timeout=25 \
            "$kept" "$corpus" >"$work/$target.merge.log" 2>&1)
    fi
}

# Each target is one process on one core: with two cores, two at a time take half the time,
# each still fuzzed for its full seconds.
echo "fuzz: ${#targets[@]} targets, ${seconds}s each, $jobs at a time"
declare -A kept_before
for target in "${targets[@]}"; do
    kept_before[$target]=$(find "$root/fuzz/corpus/$target" -type f 2>/dev/null | wc -l)
done
running=0
for target in "${targets[@]}"; do
    if ((running >= jobs)); then
        wait -n || true
        running=$((running - 1))
    fi
    { fuzz_target "$target" || touch "$work/$target.failed"; } &
    running=$((running + 1))
done
wait

failed=()
for target in "${targets[@]}"; do
    if [[ -e "$work/$target.failed" ]]; then
        failed+=("$target")
        echo "== $target: FAILED"
        tail -n 40 "$work/$target.log"
        continue
    fi
    echo "== $target: $(grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$target.log" | tr '\n' ' ')"
    if ((keep)); then
        echo "kept corpus: ${kept_before[$target]} -> $(find "$root/fuzz/corpus/$target" -type f | wc -l) inputs"
    fi
done

if ((${#failed[@]} > 0)); then
    echo "fuzz: FAILED: ${failed[*]} (inputs and logs in $work)"
    exit 1
fi
rm -rf "$work"
echo "fuzz: all ${#targets[@]} targets ran ${seconds}s without a finding"
