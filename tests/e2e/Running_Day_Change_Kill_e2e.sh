#!/usr/bin/env bash
# kill -9 at random instants of the day change of a running program (midnight passed with
# the window open: save, export, new day), at least 100 times over a chain of days: every
# day ends up in the target log once and whole. Prints the figures: kills, doubled, lost, torn.
# Usage: bash Running_Day_Change_Kill_e2e.sh <dist_dir>   (ZL_KILL_COUNT=n changes the number of kills)
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

scenario_kills_at_random_instants_of_running_day_changes() {
  local kills=${ZL_KILL_COUNT:-${ZL_KILLS:-100}} first_day day index delay span_start span_end stored
  zl_install
  zl_write_quiet_setup
  first_day=$(date -d "$today - $((kills + 2)) days" +%F)
  printf '\r\nSt;02.12.2020;08:00 - 16:00;Pracovn\xed doba;08:00;\r\n' >"$PROGRAM_DIR/Work_Log.csv"
  zl_keep "$PROGRAM_DIR/Work_Log.csv" older_days

  # Before each start the stored day gets records of its own, so that every block is
  # several lines long and a torn one shows.
  # A day whose export a kill interrupted stays as it is: the next start finishes that export.
  book_stored_day() {
    stored=$(zl_field 0 1)
    echo "$stored" >>"$ZL_WORK/stored_dates"
    [ ! -e "$(zl_day_log).export" ] || return 0
    zl_write_day_log "$(zl_field 0 0)" "$stored" "$(zl_field 0 2)" "Pracovní doba" "00:00" "" \
      "" "" "" "Nezařazeno" "00:00" "" \
      "" "" "" "Vývoj" "01:00" "modul; export"
  }
  zl_write_day_log "$(zl_day_name "$first_day")" "$(date -d "$first_day" +%d.%m.%Y)" "07:30 - 07:30" "DEFAULT" "00:00" ""
  night_passed() { [ "$(zl_field 0 1)" = "$(date -d "$day + 1 day" +%d.%m.%Y)" ]; }

  # How long after the start the running change ends here: the kills fall from shortly
  # before midnight to a little past that.
  day=$first_day
  book_stored_day
  zl_start_window "$day 23:59:56"
  zl_wait_for 20 night_passed || zl_fail "the first running day change did not store its new day"
  span_end=$(($(zl_ms_since "$ZL_STARTED_NS") + 300))
  span_start=3700
  zl_stop
  zl_step "the day change ends $((span_end - 300)) ms after the start; $kills kills at random instants of $span_start to $span_end ms"
  RANDOM=$$
  for ((index = 1; index <= kills; index++)); do
    day=$(date -d "$first_day + $index days" +%F)
    book_stored_day
    zl_start "$day 23:59:56"
    delay=$((RANDOM * 32768 + RANDOM))
    delay=$((span_start + delay % (span_end - span_start)))
    delay=$((delay - $(zl_ms_since "$ZL_STARTED_NS")))
    [ "$delay" -le 0 ] || sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    zl_running || { zl_reap; zl_fail "start $index ended by itself (status $ZL_STATUS) before its kill"; }
    zl_kill_hard
  done
  zl_step "the start after $kills kills, on $today"
  zl_start_window "$today 08:00:00"
  zl_stop
  zl_expect_fields "0:1=$today_text"

  python3 - "$ZL_WORK" "$kills" <<'PYTHON' || zl_fail "the target log does not hold every day once and whole"
import os, re, sys
work, kills = sys.argv[1], int(sys.argv[2])
target = open(os.path.join(work, "program", "Work_Log.csv"), "rb").read()
older = open(os.path.join(work, "older_days"), "rb").read()
# Every day that was on disk before a start must be in the target log once.
stored = set(open(os.path.join(work, "stored_dates"), "rb").read().split())
torn = 0 if target.startswith(older) else 1
rest = target[len(older):]
block = re.compile(rb"\r\n[^;\r\n]*;(\d\d\.\d\d\.\d{4});\d\d:\d\d - \d\d:\d\d;([^;\r\n]*);\d\d:\d\d;[^;\r\n]*\r\n"
                   rb"((;;;[^;\r\n]*;(- )?\d\d:\d\d;[^\r\n]*\r\n)*)")
position, dates = 0, []
while position < len(rest):
    match = block.match(rest, position)
    # A booked day (its Day_Row carries the label) has its two rows; a day that was never
    # booked has none: anything else is a block cut short.
    if not match or match.group(3).count(b"\r\n") != (0 if match.group(2) == b"DEFAULT" else 2):
        torn += 1
        break
    dates.append(match.group(1))
    position = match.end()
doubled = sum(1 for date in set(dates) if dates.count(date) > 1)
lost = sum(1 for date in stored if date not in dates)
in_order = dates == sorted(dates, key=lambda d: (d[6:], d[3:5], d[:2]))
print("kills %d, stored days %d, blocks %d, doubled %d, lost %d, torn %d, in order %s" %
      (kills, len(stored), len(dates), doubled, lost, torn, in_order))
sys.exit(0 if (doubled, lost, torn) == (0, 0, 0) and in_order else 1)
PYTHON
}

zl_main "$@" kills_at_random_instants_of_running_day_changes
