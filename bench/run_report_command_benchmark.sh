#!/usr/bin/env bash
# The report command line as a whole process against Timewarrior's summary, both over the
# same days: `zentavo-logger --report month` beside `timew summary :month`, and
# `--version` beside `timew --version`. Installs Debian's timewarrior (and hyperfine) when
# they are missing. The program runs from a copy of dist/ with a private home.
# Usage: bench/run_report_command_benchmark.sh [build directory (default build-bench)]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
if [ ! -x "$build/dist/zentavo-logger" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target zentavo-logger zl_dist_data >/dev/null
fi
command -v timew >/dev/null && command -v hyperfine >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y timewarrior hyperfine >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/report_bench_XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/program" "$work/home" "$work/timew"
cp -r "$build/dist/." "$work/program/"
export HOME=$work/home XDG_CACHE_HOME=$work/home/.cache TIMEWARRIORDB=$work/timew
unset DISPLAY WAYLAND_DISPLAY

# The working days of the last twelve months: three records a day in the target log, the
# same intervals in Timewarrior's data files.
python3 - "$work/program/Work_Log.csv" "$work/timew" <<'PY'
import datetime, os, random, sys
log_path, timew = sys.argv[1], sys.argv[2]
os.makedirs(os.path.join(timew, "data"), exist_ok=True)
open(os.path.join(timew, "timewarrior.cfg"), "w").write("verbose = off\n")
random.seed(7)
today = datetime.date.today()
kinds = ["Programování", "Porada", "Dokumentace", "Testování", "Podpora"]
lines, months = [], {}
hhmm = lambda m: "%02d:%02d" % divmod(m, 60)
for back in range(365, 0, -1):
    day = today - datetime.timedelta(days=back)
    if day.weekday() > 4:
        continue
    start = 7 * 60 + 30
    parts = [(kind, 60 * random.randint(1, 3)) for kind in random.sample(kinds, 3)]
    worked = sum(m for _, m in parts)
    lines += ["", "Den;%s;%s - %s;Pracovní doba;%s;" % (day.strftime("%d.%m.%Y"), hhmm(start), hhmm(start + worked), hhmm(worked)),
              ";;;DEFAULT;00:00;"]
    at = start
    for kind, minutes in parts:
        lines.append(";;;%s;%s;" % (kind, hhmm(minutes)))
        begin = datetime.datetime.combine(day, datetime.time()) + datetime.timedelta(minutes=at)
        end = begin + datetime.timedelta(minutes=minutes)
        months.setdefault(begin.strftime("%Y-%m"), []).append(
            "inc %s - %s # %s" % (begin.strftime("%Y%m%dT%H%M%SZ"), end.strftime("%Y%m%dT%H%M%SZ"), kind))
        at += minutes
open(log_path, "wb").write("".join(l + "\r\n" for l in lines).encode("cp1250"))
for month, entries in months.items():
    open(os.path.join(timew, "data", month + ".data"), "w").write("\n".join(entries) + "\n")
PY

program=$work/program/zentavo-logger
# The first report reads the target log into the database and keeps the locale's date
# pattern: both once in a user's life, not what is measured.
"$program" --report month >/dev/null
timew summary :month >/dev/null
echo "Qt libraries the report program links: $(ldd "$program" | grep -c -i qt || true)"
hyperfine -N --warmup 10 --runs 100 --export-markdown "$work/figures.md" \
  "timew summary :month" "$program --report month" "timew --version" "$program --version"
cat "$work/figures.md"
