#!/usr/bin/env bash
# The program inside a desktop session: starts that race each other, a second start while
# a dialog is open, and the end of the session (SIGTERM) arriving while a dialog is open.
# Usage: bash Suite_Session_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

today=$(date +%F)
today_text=$(date -d "$today" +%d.%m.%Y)

write_morning_day_log() {
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
}

# Two starts at the same moment: one program runs, the other hands over and ends.
scenario_simultaneous_starts() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  local round pid_a pid_b status_a status_b windows running
  for round in 1 2 3 4 5; do
    "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/a.$round.out" 2>&1 &
    pid_a=$!
    "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/b.$round.out" 2>&1 &
    pid_b=$!
    ZL_ALL_PIDS="$ZL_ALL_PIDS $pid_a $pid_b"
    # The one that hands over ends within a second; the other keeps running with its window.
    local tries
    for tries in $(seq 1 100); do
      running=0
      kill -0 "$pid_a" 2>/dev/null && running=$((running + 1))
      kill -0 "$pid_b" 2>/dev/null && running=$((running + 1))
      windows=$(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null | wc -l || true)
      [ "$running" = 1 ] && [ "$windows" = 1 ] && break
      sleep 0.05
    done
    sleep 0.3
    running=0
    kill -0 "$pid_a" 2>/dev/null && running=$((running + 1))
    kill -0 "$pid_b" 2>/dev/null && running=$((running + 1))
    windows=$(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null | wc -l || true)
    [ "$running" = 1 ] || zl_fail "round $round: $running of two simultaneous starts are running"
    [ "$windows" = 1 ] || zl_fail "round $round: $windows main windows show"
    if kill -0 "$pid_a" 2>/dev/null; then ZL_PID=$pid_a; status_b=0; wait "$pid_b" || status_b=$?; else ZL_PID=$pid_b; status_b=0; wait "$pid_a" || status_b=$?; fi
    [ "$status_b" = 0 ] || zl_fail "round $round: the start that handed over ended with status $status_b"
    zl_stop
    [ "$(zl_protocol | grep -c 'SAVE_ACTUAL_WORK_LOG - OK')" = 1 ] || zl_fail "round $round: the protocol is $(zl_protocol)"
    zl_expect_record_count 1
  done
}

# A second start while the record editor is open hands over and ends; the editor goes on.
scenario_second_start_during_editor() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 11:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  local started status=0 elapsed_ms
  started=$(date +%s%N)
  timeout 5 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/second.out" 2>&1 || status=$?
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
  [ "$status" = 0 ] || zl_fail "the second start ended with status $status after $elapsed_ms ms"
  [ "$elapsed_ms" -lt 1000 ] || zl_fail "the second start took $elapsed_ms ms while the editor was open"
  zl_program_windows | grep -qx "$EDITOR" || zl_fail "the editor closed when a second start came"
  zl_fill_editor "Oprava chyb" 00 45 ""
  zl_wait_height "$(zl_rows_height 3)"
  zl_stop
  zl_expect_field 2 3 "Oprava chyb"
}

# The session ends while the user is in the record editor: the day is saved all the same,
# without the half-typed record, and the program ends.
scenario_session_end_during_editor() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 11:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_fill_editor "Porada" 00 30 ""
  zl_wait_height "$(zl_rows_height 3)"
  zl_open_editor_by_key
  xdotool type --delay 30 "Rozepsaný"
  kill -TERM "$ZL_PID"
  local deadline
  deadline=$(($(date +%s%N) + 10000000000))
  while zl_running && [ "$(date +%s%N)" -lt "$deadline" ]; do sleep 0.05; done
  if zl_running; then
    import -window root "$ZL_WORK/hang.png" 2>/dev/null || true
    zl_fail "SIGTERM while the record editor is open: the program did not end within 10 s" \
      "(windows: $(for w in $(zl_program_windows); do printf "'%s' " "$(zl_window_name "$w")"; done))"
  fi
  zl_reap
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 3
  zl_expect_field 2 3 "Porada"
  zl_expect_field 0 2 "08:00 - 11:00"
}

# The session ends while the delete question is open: the record stays, the day is saved.
scenario_session_end_during_question() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "Pracovní doba" "00:00" "" \
    "" "" "" "DEFAULT" "00:00" "" \
    "" "" "" "Dokumentace" "01:00" "návod"
  ZL_FAKE_TIME="$today 11:00:00" zl_start
  zl_wait_main_window
  zl_pointer_to_row 2
  xdotool click 3
  zl_wait_dialog
  kill -TERM "$ZL_PID"
  local deadline
  deadline=$(($(date +%s%N) + 10000000000))
  while zl_running && [ "$(date +%s%N)" -lt "$deadline" ]; do sleep 0.05; done
  if zl_running; then
    zl_fail "SIGTERM while the delete question is open: the program did not end within 10 s" \
      "(windows: $(for w in $(zl_program_windows); do printf "'%s' " "$(zl_window_name "$w")"; done))"
  fi
  zl_reap
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 3
  zl_expect_field 2 3 "Dokumentace"
  zl_expect_field 2 5 "návod"
}

# The session ends while the start-up asks about a missing day log: the program ends and
# writes no day log of its own.
scenario_session_end_during_start_question() {
  zl_install
  zl_write_quiet_setup
  zl_start
  zl_wait_dialog
  kill -TERM "$ZL_PID"
  local deadline
  deadline=$(($(date +%s%N) + 10000000000))
  while zl_running && [ "$(date +%s%N)" -lt "$deadline" ]; do
    zl_find_main_window >/dev/null && zl_fail "the main window showed after SIGTERM during the start-up question"
    sleep 0.05
  done
  if zl_running; then
    zl_fail "SIGTERM while the start-up asks about the missing day log: the program did not end within 10 s"
  fi
  zl_reap
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  [ "$(zl_protocol | head -n1)" = " - OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $PROGRAM_DIR/Actual_Work_Log.log not found" ] ||
    zl_fail "the protocol is: $(zl_protocol)"
  [ -e "$(zl_day_log)" ] && zl_fail "a start ended at its first question wrote a day log: $(zl_day_log_rows)"
  return 0
}

zl_main "$@" simultaneous_starts second_start_during_editor session_end_during_editor session_end_during_question \
  session_end_during_start_question
