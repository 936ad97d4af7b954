#!/usr/bin/env bash
# The history over a generated ten-year target log: reading it into the database, the
# whole `--report all --csv` process (median of 5), and the extra transaction of an export
# (synced); then over a target log of about 100 MB: the first report (reading it in, peak
# memory of the process) and a report of one day. Runs in a folder on the build's disk, so
# fsync costs what it costs there.
# Usage: bench/run_history_benchmark.sh [build directory (default build-bench)]
# Prints the rows of the README's table.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
if [ ! -x "$build/bench/history_benchmark" ]; then
  # Another build directory must have been configured with ZL_BUILD_BENCH=ON and built.
  [ "$build" = build-bench ] || { echo "no $build/bench/history_benchmark: build it with ZL_BUILD_BENCH=ON" >&2; exit 1; }
  cmake --preset bench >/dev/null
  cmake --build --preset bench -j"$(nproc)" --target history_benchmark zentavo-logger zl_dist_data >/dev/null
fi
work=$(mktemp -d "$PWD/$build/history_bench_XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$build/dist/." "$work/"
"$build/bench/history_benchmark" "$work" 5 >"$work/figures.txt"
figure() { awk -v k="$1" '$1 == k {print $2}' "$work/figures.txt"; }

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
# The database stands (the benchmark built it); each run is a whole process.
: >"$work/report.txt"
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  env -u DISPLAY -u WAYLAND_DISPLAY "$work/zentavo-logger" --report all --csv >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000)) >>"$work/report.txt"
done
report_us=$(median <"$work/report.txt")

printf '| history: reading a ten-year target log (%s days, %s KB) into the database (median of 5) | %s ms | | | <= 2000 ms |\n' \
  "$(figure days)" "$(($(figure target_log_bytes) / 1024))" "$(figure read_ms)"
printf '| history: `--report all --csv`, whole process, ten years (median of 5) | %.1f ms | | | <= 100 ms |\n' \
  "$(awk -v u="$report_us" 'BEGIN {print u / 1000}')"
printf '| history: the export'"'"'s extra transaction, synced (median of 21) | %s ms | | | <= 5 ms |\n' \
  "$(figure export_transaction_ms)"
printf '| (for scale: one 4 KB write and fsync on the same disk, median of 21) | %s ms | | | |\n' "$(figure fsync_ms)"

large=$(mktemp -d "$PWD/$build/history_large_XXXXXX")
trap 'rm -rf "$work" "$large"' EXIT
"$build/bench/history_benchmark" "$large" 3 large >"$work/figures.txt"
printf '| history: first report of a 100 MB target log (%s lines), reading it in (median of 3) | %s ms | | | <= 2000 ms |\n' \
  "$(figure large_target_log_lines)" "$(figure large_first_report_ms)"
printf '| history: processor time of that first report (what a shared machine'"'"'s load does not stretch) | %s ms | | | |\n' \
  "$(figure large_first_report_cpu_ms)"
printf '| history: peak memory of that first report (process) | %s MB | | | <= 100 MB |\n' \
  "$(($(figure large_first_report_peak_kb) / 1024))"
printf '| history: report of one day on it, database standing (median of 11) | %s ms | | | <= 20 ms |\n' \
  "$(figure large_one_day_report_ms)"
