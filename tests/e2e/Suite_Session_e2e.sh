#!/usr/bin/env bash
# The program inside a desktop session: starts that race each other, and the end of the
# session (SIGTERM) arriving while a dialog is open. Usage: bash Suite_Session_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

alive() { kill -0 "$1" 2>/dev/null && echo "$1"; }
one_of_two_runs() {
  [ "$( (alive "$1"; alive "$2") | wc -l)" = 1 ] &&
    [ "$(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null | wc -l)" = 1 ]
}

# Two starts at the same moment: one program runs with its window, the other hands over
# and ends with status 0.
scenario_simultaneous_starts() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  local round pid_a pid_b
  for round in 1 2 3 4 5; do
    "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/a.$round.out" 2>&1 & pid_a=$!
    "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/b.$round.out" 2>&1 & pid_b=$!
    ZL_ALL_PIDS="$ZL_ALL_PIDS $pid_a $pid_b"
    zl_wait_for 5 one_of_two_runs "$pid_a" "$pid_b" || true
    sleep 0.3
    one_of_two_runs "$pid_a" "$pid_b" ||
      zl_fail "round $round: $( (alive "$pid_a"; alive "$pid_b") | wc -l) starts run, $(xdotool search --onlyvisible --name '^Zentavo Logger$' | wc -l) windows show"
    ZL_PID=$(alive "$pid_a" || alive "$pid_b")
    wait "$( [ "$ZL_PID" = "$pid_a" ] && echo "$pid_b" || echo "$pid_a")" ||
      zl_fail "round $round: the start that handed over ended with status $?"
    zl_stop
    [ "$(zl_protocol | grep -c 'SAVE_ACTUAL_WORK_LOG - OK')" = 1 ] || zl_fail "round $round: the protocol is $(zl_protocol)"
    zl_expect_record_count 1
  done
}

# The session ends while the start-up asks about a missing day log: the program ends
# without a window and writes no day log. Then it ends while the record editor is open:
# the day is saved without the half-typed record. Then while the delete question is open:
# the record stays.
scenario_session_end_during_dialogs() {
  zl_install
  zl_write_quiet_setup
  zl_start
  zl_wait_dialog
  kill -TERM "$ZL_PID"
  zl_expect_end_without_window
  [ "$(zl_protocol | head -n1)" = " - $ZL_NOT_FOUND" ] || zl_fail "the protocol is: $(zl_protocol)"
  [ ! -e "$(zl_day_log)" ] || zl_fail "a start ended at its first question wrote a day log: $(zl_day_log_rows)"

  zl_step "SIGTERM in the record editor"
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  zl_start_window "$today 11:00:00"
  zl_add_record "Porada" 00 30 "návod"
  zl_open_editor
  zl_type "Rozepsaný"
  zl_stop
  zl_expect_day_saved
  zl_expect_record_count 3
  zl_expect_fields "2:3=Porada" "0:2=08:00 - 11:00"

  zl_step "SIGTERM in the delete question"
  zl_start_window "$today 11:10:00"
  zl_delete_on_row 2 click
  zl_stop
  zl_expect_day_saved
  zl_expect_record_count 3
  zl_expect_fields "2:3=Porada" "2:5=návod" "0:2=08:00 - 11:10"
}

zl_main "$@" simultaneous_starts session_end_during_dialogs
