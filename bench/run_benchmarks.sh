#!/usr/bin/env bash
# Measures, under Xvfb in one run: start-up to a mapped window and to its first drawn
# frame, and peak memory, of zentavo-logger against a bare Qt window; idle CPU over 60 s;
# the report window opened for a year over a ten-year history; and the export cost against
# target logs of 1 KB and 100 MB. Prints one table.
# Usage: bench/run_benchmarks.sh [runs (default 15)] [idle seconds (default 60)]
set -euo pipefail
cd "$(dirname "$0")/.."
# A desktop session has a session bus, and Qt's accessibility bridge connects to it at the
# first widget shown; without one, libdbus tries to launch a bus instead, which no user's
# start pays. Both programs are measured with a private bus.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
  exec dbus-run-session -- "$0" "$@"
fi
runs=${1:-15}
idle_seconds=${2:-60}
scripts/install_packages.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"; chmod 700 "$XDG_RUNTIME_DIR"
program_dir="$work/program"
cp -r build-bench/dist "$program_dir"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

median() { sort -n | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }

# The first start uses the installed Setup.ini; the measured starts continue that day.
bench/map_time.py "$program_dir" "$program_dir/zentavo-logger" >/dev/null
: >"$work/zl.txt"; : >"$work/bare.txt"; : >"$work/label.txt"
for _ in $(seq "$runs"); do
  bench/map_time.py "$program_dir" "$program_dir/zentavo-logger" >>"$work/zl.txt"
  bench/map_time.py "$work" "$PWD/build-bench/bench/bare_qt_window" >>"$work/bare.txt"
  bench/map_time.py "$work" "$PWD/build-bench/bench/bare_qt_window" --label >>"$work/label.txt"
done
label_start=$(cut -d' ' -f1 "$work/label.txt" | median)
label_frame=$(cut -d' ' -f2 "$work/label.txt" | median)
zl_start=$(cut -d' ' -f1 "$work/zl.txt" | median)
bare_start=$(cut -d' ' -f1 "$work/bare.txt" | median)
zl_frame=$(cut -d' ' -f2 "$work/zl.txt" | median)
bare_frame=$(cut -d' ' -f2 "$work/bare.txt" | median)
zl_rss=$(cut -d' ' -f3 "$work/zl.txt" | median)
bare_rss=$(cut -d' ' -f3 "$work/bare.txt" | median)

# Idle CPU: user + system ticks of a running program over the idle period.
(cd "$program_dir" && exec ./zentavo-logger) &
pid=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks); sleep "$idle_seconds"; after=$(ticks)
kill -TERM "$pid"; wait "$pid" || true
hz=$(getconf CLK_TCK)
idle_cpu=$(awk -v t=$((after - before)) -v hz="$hz" -v s="$idle_seconds" 'BEGIN {printf "%.3f", 100 * t / hz / s}')

# The report window for a year over a ten-year history, one opening per process.
: >"$work/report.txt"
for _ in $(seq "$runs"); do
  build-bench/bench/report_window_benchmark "$program_dir" >>"$work/report.txt"
done
report_frame=$(median <"$work/report.txt")

export_json="$work/export.json"
build-bench/bench/export_benchmark --benchmark_filter=Export_Synced --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_format=json >"$export_json" 2>/dev/null
export_cost() {
  python3 - "$export_json" "$1" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
for b in data["benchmarks"]:
    if b["name"].endswith(f"/{sys.argv[2]}_median"):
        print(f'{b["real_time"]:.0f} us wall, {b["cpu_time"]:.0f} us CPU')
PY
}

printf '\n| measure | zentavo-logger | bare Qt window | ratio or difference | target |\n'
printf '|---|---|---|---|---|\n'
printf '| start-up to mapped window (median of %d) | %.1f ms | %.1f ms | %.2f x | <= 1.10 x |\n' \
  "$runs" "$zl_start" "$bare_start" "$(awk -v a="$zl_start" -v b="$bare_start" 'BEGIN {print a / b}')"
printf '| start-up to first frame drawn (median of %d) | %.1f ms | %.1f ms | %.2f x | |\n' \
  "$runs" "$zl_frame" "$bare_frame" "$(awk -v a="$zl_frame" -v b="$bare_frame" 'BEGIN {print a / b}')"
printf '| (for scale: the bare window with one line of text in a label, mapped / first frame) | %.1f / %.1f ms | | program: %.2f x / %.2f x | |\n' \
  "$label_start" "$label_frame" "$(awk -v a="$zl_start" -v b="$label_start" 'BEGIN {print a / b}')" \
  "$(awk -v a="$zl_frame" -v b="$label_frame" 'BEGIN {print a / b}')"
printf '| peak resident memory (median) | %.1f MB | %.1f MB | +%.1f MB | <= +15 MB |\n' \
  "$(awk -v k="$zl_rss" 'BEGIN {print k / 1024}')" "$(awk -v k="$bare_rss" 'BEGIN {print k / 1024}')" \
  "$(awk -v a="$zl_rss" -v b="$bare_rss" 'BEGIN {print (a - b) / 1024}')"
printf '| CPU while idle for %d s | %s %% of one core | | | < 0.1 %% |\n' "$idle_seconds" "$idle_cpu"
printf '| report window for a year to first frame, ten-year history (median of %d) | %.1f ms | | | <= 150 ms |\n' \
  "$runs" "$report_frame"
printf '| export, target log of 1 KB | %s | | | |\n' "$(export_cost 1024)"
printf '| export, target log of 100 MB | %s | | | independent of size |\n' "$(export_cost 104857600)"
bench/run_history_benchmark.sh build-bench
