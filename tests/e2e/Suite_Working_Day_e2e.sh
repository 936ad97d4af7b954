#!/usr/bin/env bash
# A working day driven as a user drives it: records added, edited, lengthened and deleted
# with keys, clicks and the wheel; a crash in the middle of the day; a second start.
# Usage: bash Suite_Working_Day_e2e.sh <dist_dir>
# ZL_E2E_SCREENSHOT=<file.png> saves the main window with its records on the way.
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

today=$(date +%F)
today_text=$(date -d "$today" +%d.%m.%Y)

# A day of today that began at 08:00 and holds only its Day_Row.
write_morning_day_log() {
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
}

expect_rows() {
  local expected=$1 actual
  actual=$(zl_day_log_rows)
  [ "$actual" = "$expected" ] || zl_fail "the day log holds '$actual', expected '$expected'"
}

scenario_normal_day() {
  zl_install
  # The overrange question stays on, as installed.
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
  write_morning_day_log
  # 12:30: 270 minutes have passed since the day began.
  ZL_FAKE_TIME="$today 12:30:00" zl_start
  zl_wait_main_window
  zl_wait_height "$(zl_rows_height 1)"

  zl_step "three records through the editor (key A)"
  zl_open_editor_by_key
  zl_fill_editor "Programování" 02 15 "modul Č"
  zl_wait_height "$(zl_rows_height 3)"
  zl_open_editor_by_key
  zl_fill_editor "Porada" 00 45 ""
  zl_wait_height "$(zl_rows_height 4)"
  zl_open_editor_by_key
  zl_fill_editor "Schůzka týmu" 01 00 "plánování"
  zl_wait_height "$(zl_rows_height 5)"
  expect_rows "DEFAULT=00:30 Programování=02:15 Porada=00:45 Schůzka týmu=01:00"

  if [ -n "${ZL_E2E_SCREENSHOT:-}" ]; then
    zl_pointer_to_row 3
    sleep 0.3
    import -window "$MAIN_WINDOW" "$ZL_E2E_SCREENSHOT"
    zl_step "screenshot saved to $ZL_E2E_SCREENSHOT"
  fi

  zl_step "a click on Porada edits it"
  zl_pointer_to_row 3
  xdotool click 1
  zl_wait_dialog
  EDITOR=$DIALOG
  sleep 0.15
  zl_fill_editor "Porada" 00 30 "denní"
  zl_wait_dialog_gone
  expect_rows "DEFAULT=00:45 Programování=02:15 Porada=00:30 Schůzka týmu=01:00"
  [ "$(zl_field 3 5)" = "denní" ] || zl_fail "the edited remark is '$(zl_field 3 5)'"

  zl_step "the wheel: two notches up and one down over Programování"
  zl_pointer_to_row 2
  xdotool click 4
  sleep 0.15
  xdotool click 4
  sleep 0.15
  xdotool click 5
  wait_for_field 2 4 "02:25"
  expect_rows "DEFAULT=00:35 Programování=02:25 Porada=00:30 Schůzka týmu=01:00"

  zl_step "a record past the elapsed time: first no, then yes"
  zl_open_editor_by_key
  zl_fill_editor "Oprava chyb" 01 00 ""
  ZL_OPEN_DIALOGS=$EDITOR zl_answer_dialog Escape
  # The editor stays open with what was typed; Enter saves again.
  zl_program_windows | grep -qx "$EDITOR" || zl_fail "the editor closed when the overrange question was denied"
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 5)" ] || zl_fail "the record was added although the question was denied"
  zl_keys "$EDITOR" Return
  ZL_OPEN_DIALOGS=$EDITOR zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 6)"
  expect_rows "DEFAULT=- 00:25 Programování=02:25 Porada=00:30 Schůzka týmu=01:00 Oprava chyb=01:00"

  zl_step "a right click on Schůzka týmu deletes it after the question"
  zl_pointer_to_row 4
  xdotool click 3
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 5)"
  expect_rows "DEFAULT=00:35 Programování=02:25 Porada=00:30 Oprava chyb=01:00"

  zl_step "the Delete key on the highlighted Oprava chyb: first no, then yes"
  zl_pointer_to_row 4
  zl_keys "$MAIN_WINDOW" Delete
  zl_answer_dialog Escape
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 5)" ] || zl_fail "the record went although the question was denied"
  zl_pointer_to_row 4
  zl_keys "$MAIN_WINDOW" Delete
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 4)"

  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 4
  expect_rows "DEFAULT=01:35 Programování=02:25 Porada=00:30"
  zl_expect_field 0 0 "$(zl_day_name "$today")"
  zl_expect_field 0 1 "$today_text"
  zl_expect_field 0 2 "08:00 - 12:30"
  zl_expect_field 0 3 "Pracovní doba"
  zl_expect_field 0 4 "04:30"
  zl_expect_field 0 5 ""
  local record field
  for record in 1 2 3; do
    for field in 0 1 2; do zl_expect_field "$record" "$field" ""; done
  done
  zl_expect_field 1 5 ""
  zl_expect_field 2 5 "modul Č"
  zl_expect_field 3 5 "denní"
  # CP1250 on disk: "Programování" with a-acute 0xE1 and i-acute 0xED.
  [ "$(od -An -tx1 -j $((2 * 1536 + 768)) -N 13 "$(zl_day_log)" | tr -d ' \n')" = "0c50726f6772616d6f76e16eed" ] ||
    zl_fail "the work type of record 2 is not 'Programování' in CP1250 with its length byte"
}

wait_for_field() {
  local record=$1 field=$2 expected=$3 tries
  for tries in $(seq 1 60); do
    [ "$(zl_field "$record" "$field")" = "$expected" ] && return 0
    sleep 0.05
  done
  zl_fail "field $field of record $record stayed '$(zl_field "$record" "$field")', expected '$expected'"
}

# The day log is stored after every change, so a crash loses nothing of the day.
scenario_kill_during_day() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 10:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_fill_editor "Analýza požadavků" 01 00 "zákazník Ř"
  zl_wait_height "$(zl_rows_height 3)"
  zl_open_editor_by_key
  zl_fill_editor "Dokumentace" 00 20 ""
  zl_wait_height "$(zl_rows_height 4)"
  zl_pointer_to_row 3
  xdotool click 4
  wait_for_field 3 4 "00:30"
  expect_rows "DEFAULT=00:30 Analýza požadavků=01:00 Dokumentace=00:30"

  zl_kill_hard
  [ -f "$PROGRAM_DIR/Error_Log.log" ] && [ ! -s "$PROGRAM_DIR/Error_Log.log" ] ||
    zl_fail "a killed run did not leave the empty Error_Log.log of its start"
  ls "$PROGRAM_DIR" | grep -v -x -e Actual_Work_Log.log -e Error_Log.log -e Setup.ini -e Czech.lng -e English.lng \
    -e File_List -e Work_Type_List -e Skin -e zentavo-logger >"$ZL_WORK/left_over" || true
  [ -s "$ZL_WORK/left_over" ] && zl_fail "the killed run left files behind: $(cat "$ZL_WORK/left_over")"

  zl_step "restart after the crash"
  ZL_FAKE_TIME="$today 10:05:00" zl_start
  zl_wait_main_window
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 4)" ] ||
    zl_fail "after the crash the window shows $(zl_window_height "$MAIN_WINDOW") pixels, expected 4 rows"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  expect_rows "DEFAULT=00:35 Analýza požadavků=01:00 Dokumentace=00:30"
  zl_expect_field 0 2 "08:00 - 10:05"
  zl_expect_field 2 5 "zákazník Ř"
}

# A second start hands over to the running instance and ends at once, touching nothing.
scenario_second_instance() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 09:00:00" zl_start
  zl_wait_main_window
  local first_pid=$ZL_PID first_window=$MAIN_WINDOW
  zl_open_editor_by_key
  zl_fill_editor "Administrativa" 00 40 ""
  zl_wait_height "$(zl_rows_height 3)"
  sleep 0.2

  local before round started status elapsed_ms
  before=$(zl_listing)
  for round in 1 2; do
    started=$(date +%s%N)
    status=0
    timeout 5 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/second.$round.out" 2>&1 || status=$?
    elapsed_ms=$((($(date +%s%N) - started) / 1000000))
    zl_step "second start $round: status $status after $elapsed_ms ms"
    [ "$status" = 0 ] || zl_fail "the second start ended with status $status: $(cat "$ZL_WORK/second.$round.out")"
    [ "$elapsed_ms" -lt 1000 ] || zl_fail "the second start took $elapsed_ms ms"
    kill -0 "$first_pid" 2>/dev/null || zl_fail "the first instance ended when the second started"
    [ "$(zl_listing)" = "$before" ] || zl_fail "the second start changed files: $(diff <(echo "$before") <(zl_listing))"
  done
  [ "$(zl_find_main_window)" = "$first_window" ] || zl_fail "the first instance's window is gone"
  zl_stop
  zl_expect_record_count 3
  expect_rows "DEFAULT=00:20 Administrativa=00:40"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
}

# An editor opened to add starts with an empty work type; Down offers the list's first.
scenario_editor_down_offers_first_work_type() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  local first_type
  first_type=$(head -n1 "$PROGRAM_DIR/Work_Type_List" | tr -d '\r' | iconv -f CP1250 -t UTF-8)
  ZL_FAKE_TIME="$today 10:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_keys "$EDITOR" Down Return
  zl_wait_height "$(zl_rows_height 3)"
  zl_stop
  [ "$(zl_field 2 3)" = "$first_type" ] ||
    zl_fail "Down in a new record's empty work type picked '$(zl_field 2 3)' instead of '$first_type'"
}

# Sixteen rows are the most a day holds: the A key then opens nothing until a row goes;
# Ctrl+D clears all records after its question.
scenario_row_limit_and_clear_all() {
  zl_install
  zl_write_quiet_setup
  local records=("$(zl_day_name "$today")" "$today_text" "08:00 - 14:00" "Pracovní doba" "06:00" ""
    "" "" "" "Administrativa" "00:00" "ráno") index
  for index in $(seq 1 13); do
    records+=("" "" "" "Záznam $index" "00:15" "")
  done
  zl_write_day_log "${records[@]}"
  ZL_FAKE_TIME="$today 14:00:00" zl_start
  zl_wait_main_window
  zl_wait_height "$(zl_rows_height 15)"
  zl_open_editor_by_key
  zl_fill_editor "Záznam 14" 00 15 ""
  zl_wait_height "$(zl_rows_height 16)"
  wait_for_count 16

  zl_step "sixteen rows: A opens no editor"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" a
  sleep 0.5
  [ "$(zl_program_windows | grep -vxc "$MAIN_WINDOW")" = 0 ] || zl_fail "the A key opened a window with sixteen rows"

  zl_step "one row deleted: A opens the editor again"
  zl_pointer_to_row 15
  xdotool click 3
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 15)"
  zl_open_editor_by_key
  DIALOG=$EDITOR
  zl_keys "$EDITOR" Escape
  zl_wait_dialog_gone
  zl_wait_height "$(zl_rows_height 15)"

  zl_step "Ctrl+D: first no, then yes"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" ctrl+d
  zl_answer_dialog Escape
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 15)" ] || zl_fail "records went although the question was denied"
  zl_keys "$MAIN_WINDOW" ctrl+d
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 1)"
  wait_for_count 1
  zl_stop
  zl_expect_record_count 1
  # The Day_Row takes back the work type and remark that the Unassigned_Row carried.
  zl_expect_field 0 3 "Administrativa"
  zl_expect_field 0 4 "06:00"
  zl_expect_field 0 5 "ráno"
}

wait_for_count() {
  local tries
  for tries in $(seq 1 60); do
    [ "$(zl_record_count)" = "$1" ] && return 0
    sleep 0.05
  done
  zl_fail "the day log holds $(zl_record_count) records, expected $1"
}

# The minute timer brings the Day_Row up to date and stores it; SIGINT ends the day as
# SIGTERM does.
scenario_minute_refresh() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 12:30:56" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_fill_editor "Programování" 03 00 ""
  zl_wait_height "$(zl_rows_height 3)"
  wait_for_field 1 4 "01:30"
  zl_step "waiting for the minute to change"
  local tries
  for tries in $(seq 1 160); do
    [ "$(zl_field 0 2)" = "08:00 - 12:31" ] && break
    sleep 0.05
  done
  [ "$(zl_field 0 2)" = "08:00 - 12:31" ] || zl_fail "the stored span is '$(zl_field 0 2)' after the minute changed"
  zl_expect_field 0 4 "04:31"
  zl_expect_field 1 4 "01:31"
  kill -INT "$ZL_PID"
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS after SIGINT"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_field 0 2 "08:00 - 12:31"

  zl_step "SIGHUP (the session ends) saves the day too"
  ZL_FAKE_TIME="$today 12:40:00" zl_start
  zl_wait_main_window
  kill -HUP "$ZL_PID"
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS after SIGHUP"
  zl_expect_field 0 2 "08:00 - 12:40"
  zl_expect_field 2 3 "Programování"
  [ "$(zl_protocol | tail -n1)" = " - SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log" ] ||
    zl_fail "the protocol after SIGHUP ends with: $(zl_protocol | tail -n1)"
}

zl_main "$@" normal_day editor_down_offers_first_work_type kill_during_day second_instance row_limit_and_clear_all minute_refresh
