#!/usr/bin/env bash
# A working day driven as a user drives it: records added, edited, lengthened and deleted
# with keys, clicks and the wheel; a crash in the middle of the day; a second start.
# Usage: bash Suite_Working_Day_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

scenario_normal_day() {
  zl_install
  # The overrange question stays on, as installed.
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  # 12:30: 270 minutes have passed since the day began.
  zl_start_window "$today 12:30:00"
  zl_wait_height "$(zl_rows_height 1)"

  zl_step "three records through the editor (key A)"
  zl_add_record "Programování" 02 15 "modul Č"
  zl_add_record "Porada" 00 45 ""
  zl_add_record "Schůzka týmu" 01 00 "plánování"
  zl_expect_rows "DEFAULT=00:30 Programování=02:15 Porada=00:45 Schůzka týmu=01:00"

  zl_step "a click on Porada edits it"
  zl_open_editor 3
  zl_fill_editor "Porada" 00 30 "denní"
  zl_wait_dialog_gone
  zl_expect_rows "DEFAULT=00:45 Programování=02:15 Porada=00:30 Schůzka týmu=01:00"
  zl_expect_fields "3:5=denní"

  zl_step "the wheel: two notches up and one down over Programování"
  zl_pointer_to_row 2
  for button in 4 4 5; do
    xdotool click $button
    sleep 0.15
  done
  zl_wait_field 2 4 "02:25"
  zl_expect_rows "DEFAULT=00:35 Programování=02:25 Porada=00:30 Schůzka týmu=01:00"

  zl_step "a record past the elapsed time: first no, then yes"
  zl_open_editor
  zl_fill_editor "Oprava chyb" 01 00 ""
  ZL_OPEN_DIALOGS=$EDITOR zl_answer_dialog Escape
  # The editor stays open with what was typed; Enter saves again.
  zl_program_windows | grep -qx "$EDITOR" || zl_fail "the editor closed when the overrange question was denied"
  zl_expect_rows_shown 5 "the record was added although the question was denied"
  zl_keys "$EDITOR" Return
  ZL_OPEN_DIALOGS=$EDITOR zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 6)"
  zl_expect_rows "DEFAULT=- 00:25 Programování=02:25 Porada=00:30 Schůzka týmu=01:00 Oprava chyb=01:00"

  zl_step "a right click on Schůzka týmu deletes it after the question"
  zl_delete_on_row 4 click
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 5)"
  zl_expect_rows "DEFAULT=00:35 Programování=02:25 Porada=00:30 Oprava chyb=01:00"

  zl_step "the Delete key on the highlighted Oprava chyb: first no, then yes"
  zl_delete_on_row 4 key
  zl_answer_dialog Escape
  zl_expect_rows_shown 5 "the record went although the question was denied"
  zl_delete_on_row 4 key
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 4)"

  zl_stop
  zl_expect_day_saved
  zl_expect_rows "DEFAULT=01:35 Programování=02:25 Porada=00:30"
  zl_expect_fields "0:0=$(zl_day_name "$today")" "0:1=$today_text" "0:2=08:00 - 12:30" "0:3=Pracovní doba" \
    "0:4=04:30" "0:5=" 1:0= 1:1= 1:2= 1:5= 2:0= 2:1= 2:2= "2:5=modul Č" 3:0= 3:1= 3:2= "3:5=denní"
  # CP1250 on disk: "Programování" with a-acute 0xE1 and i-acute 0xED.
  [ "$(od -An -tx1 -j $((2 * 1536 + 768)) -N 13 "$(zl_day_log)" | tr -d ' \n')" = "0c50726f6772616d6f76e16eed" ] ||
    zl_fail "the work type of record 2 is not 'Programování' in CP1250 with its length byte"
}

# The day log is stored after every change, so a crash loses nothing of the day.
scenario_kill_during_day() {
  zl_start_morning_day 10:00:00
  zl_add_record "Analýza požadavků" 01 00 "zákazník Ř"
  zl_add_record "Dokumentace" 00 20 ""
  zl_pointer_to_row 3
  xdotool click 4
  zl_wait_field 3 4 "00:30"
  zl_expect_rows "DEFAULT=00:30 Analýza požadavků=01:00 Dokumentace=00:30"

  zl_kill_hard
  [ -f "$PROGRAM_DIR/Error_Log.log" ] && [ ! -s "$PROGRAM_DIR/Error_Log.log" ] ||
    zl_fail "a killed run did not leave the empty Error_Log.log of its start"
  ls "$PROGRAM_DIR" | grep -v -x -e Actual_Work_Log.log -e Error_Log.log -e Setup.ini -e Czech.lng -e English.lng \
    -e File_List -e Work_Type_List -e Work_Type_List_English -e Skin -e zentavo-logger \
    -e zentavo-logger-window >"$ZL_WORK/left_over" || true
  [ ! -s "$ZL_WORK/left_over" ] || zl_fail "the killed run left files behind: $(cat "$ZL_WORK/left_over")"

  zl_start_window "$today 10:05:00"
  zl_expect_rows_shown 4 "after the crash"
  zl_stop
  zl_expect_day_saved
  zl_expect_rows "DEFAULT=00:35 Analýza požadavků=01:00 Dokumentace=00:30"
  zl_expect_fields "0:2=08:00 - 10:05" "2:5=zákazník Ř"
}

# A second start hands over to the running instance and ends at once, touching nothing,
# also while the record editor is open (which stays open and goes on).
scenario_second_instance() {
  zl_start_morning_day 09:00:00
  local first_window=$MAIN_WINDOW
  zl_add_record "Administrativa" 00 40 ""
  sleep 0.2
  zl_second_start
  zl_second_start
  [ "$(zl_find_main_window)" = "$first_window" ] || zl_fail "the first instance's window is gone"
  zl_open_editor
  zl_second_start
  zl_program_windows | grep -qx "$EDITOR" || zl_fail "the editor closed when a second start came"
  zl_fill_editor "Oprava chyb" 00 15 ""
  zl_wait_height "$(zl_rows_height 4)"
  zl_stop
  zl_expect_rows "DEFAULT=00:05 Administrativa=00:40 Oprava chyb=00:15"
  zl_expect_day_saved
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
  zl_start_window "$today 14:00:00"
  zl_wait_height "$(zl_rows_height 15)"
  zl_add_record "Záznam 14" 00 15 ""
  zl_wait_for 3 zl_record_count_is 16 || zl_fail "the day log holds $(zl_record_count) records, expected 16"

  zl_step "sixteen rows: A opens no editor"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" a
  sleep 0.5
  zl_expect_only_main_window

  zl_step "one row deleted: A opens the editor again"
  zl_delete_on_row 15 click
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 15)"
  zl_open_editor
  zl_close_dialog "$EDITOR"
  zl_wait_height "$(zl_rows_height 15)"

  zl_step "Ctrl+D: first no, then yes"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" ctrl+d
  zl_answer_dialog Escape
  zl_expect_rows_shown 15 "records went although the question was denied"
  zl_keys "$MAIN_WINDOW" ctrl+d
  zl_answer_dialog Return
  zl_wait_height "$(zl_rows_height 1)"
  zl_wait_for 3 zl_record_count_is 1 || zl_fail "the day log holds $(zl_record_count) records after Ctrl+D"
  zl_stop
  zl_expect_record_count 1
  # The Day_Row takes back the work type and remark that the Unassigned_Row carried.
  zl_expect_fields "0:3=Administrativa" "0:4=06:00" "0:5=ráno"
}

# The minute timer brings the Day_Row up to date and stores it; SIGINT ends the day as
# SIGTERM does.
scenario_minute_refresh() {
  zl_start_morning_day 12:30:56
  zl_add_record "Programování" 03 00 ""
  zl_wait_field 1 4 "01:30"
  zl_wait_for 8 zl_field_is 0 2 "08:00 - 12:31" || zl_fail "the stored span is '$(zl_field 0 2)' after the minute changed"
  zl_expect_fields "0:4=04:31" "1:4=01:31"
  zl_stop INT
  zl_expect_day_saved
  zl_expect_fields "0:2=08:00 - 12:31" "2:3=Programování"
}

zl_main "$@" normal_day kill_during_day second_instance row_limit_and_clear_all minute_refresh
