#!/usr/bin/env bash
# kill -9 at random instants of the first start on a later day (export, splash screen, new
# day), at least 100 times over a chain of days: every stored day ends up in the target log
# once and whole. Prints the figures: kills, doubled, lost, torn.
# Usage: bash Day_Change_Kill_e2e.sh <dist_dir>   (ZL_KILLS=n changes the number of kills)
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

scenario_kills_at_random_instants_of_day_change_starts() {
  local kills=${ZL_KILLS:-100} first_day day index delay span stored_date snapshots=$ZL_WORK/stored
  zl_install
  # The splash screen on: the longest day change there is.
  zl_write_setup '[Main_Setup]' 'Display_Zentavo_Overrange_Warning=0' '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
  first_day=$(date -d "$today - $((kills + 2)) days" +%F)
  zl_write_day_log \
    "$(zl_day_name "$first_day")" "$(date -d "$first_day" +%d.%m.%Y)" "07:30 - 16:00" "Pracovní doba" "08:30" "" \
    "" "" "" "Nezařazeno" "00:30" "" \
    "" "" "" "Vývoj" "06:00" "modul; export" \
    "" "" "" "Porada" "02:00" "týdenní"
  printf '\r\nSt;02.12.2026;08:00 - 16:00;Pracovn\xed doba;08:00;\r\n' >"$PROGRAM_DIR/Work_Log.csv"
  zl_keep "$PROGRAM_DIR/Work_Log.csv" older_days
  mkdir "$snapshots"

  # Each stored day is kept as it was before the start that is to export it.
  remember_stored_day() {
    stored_date=$(zl_field 0 1)
    [ -e "$snapshots/$stored_date" ] || { cp "$(zl_day_log)" "$snapshots/$stored_date"; echo "$stored_date" >>"$ZL_WORK/order"; }
  }
  # How long a day change takes here, from the start to its new day on disk: the kills
  # fall anywhere in that span and a little past it.
  day_changed() { [ "$(zl_field 0 1)" != "$stored_date" ]; }
  remember_stored_day
  zl_start "$(date -d "$first_day + 1 day" +%F) 08:00:00"
  zl_wait_for 20 day_changed || zl_fail "the first day change did not store its new day within 20 s"
  span=$(($(zl_ms_since "$ZL_STARTED_NS") + 400))
  zl_kill_hard
  zl_step "a day change takes $((span - 400)) ms; $kills kills at random instants of 0 to $span ms"
  RANDOM=$$
  for ((index = 2; index <= kills + 1; index++)); do
    day=$(date -d "$first_day + $index days" +%F)
    remember_stored_day
    zl_start "$day 08:00:00"
    delay=$((RANDOM * 32768 + RANDOM))
    delay=$((delay % span))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    zl_running || { zl_reap; zl_fail "start $index ended by itself (status $ZL_STATUS) before its kill"; }
    zl_kill_hard
  done
  remember_stored_day
  zl_step "the start after $kills kills, on $today"
  zl_start_window "$today 08:00:00"
  zl_stop
  zl_expect_fields "0:1=$today_text"

  python3 - "$ZL_WORK" "$kills" "$ZL_LIB_DIR/../tools/day_log.py" <<'PYTHON' || zl_fail "the target log does not hold every stored day once and whole"
import os, subprocess, sys
work, kills, tool = sys.argv[1], int(sys.argv[2]), sys.argv[3]
order = open(os.path.join(work, "order")).read().split()
blocks = {date: subprocess.run(["python3", tool, "export_lines", os.path.join(work, "stored", date)],
                               check=True, capture_output=True).stdout for date in order}
target = open(os.path.join(work, "program", "Work_Log.csv"), "rb").read()
older = open(os.path.join(work, "older_days"), "rb").read()
doubled = sum(1 for block in blocks.values() if target.count(block) > 1)
lost = sum(1 for block in blocks.values() if target.count(block) == 0)
# Whatever is left once the older days and every whole block are taken away is torn.
rest = target[len(older):] if target.startswith(older) else target
for block in blocks.values():
    rest = rest.replace(block, b"")
torn = 0 if rest == b"" and target.startswith(older) else 1
print("kills %d, stored days %d, doubled %d, lost %d, torn %d" % (kills, len(blocks), doubled, lost, torn))
sys.exit(0 if (doubled, lost, torn) == (0, 0, 0) and target == older + b"".join(blocks[d] for d in order) else 1)
PYTHON
}

zl_main "$@" kills_at_random_instants_of_day_change_starts
