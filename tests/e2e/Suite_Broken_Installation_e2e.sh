#!/usr/bin/env bash
# Broken installations: each start ends cleanly, or runs on with defaults, and the protocol
# says why. Usage: bash Suite_Broken_Installation_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# The marker stays when Setup.ini is never read: proof that the start ended before it.
write_marked_setup() {
  zl_write_setup '[Main_Setup]' 'First_Start=1' 'Display_Start_Splash_Screen=0'
  zl_keep "$PROGRAM_DIR/Setup.ini" setup.before
}

expect_setup_unread() {
  zl_expect_kept setup.before "$PROGRAM_DIR/Setup.ini" "Setup.ini changed on a start that had to end before reading it"
  [ ! -e "$(zl_day_log)" ] || zl_fail "a start that had to end wrote Actual_Work_Log.log"
}

scenario_missing_skins() {
  zl_install
  write_marked_setup
  rm "$PROGRAM_DIR/Skin/Header_Row.bmp" "$PROGRAM_DIR/Skin/Warning_Icon_Source.bmp"
  # The missing names in the order and spelling of File_List.
  local names
  names=$(tr -d '\r' <"$PROGRAM_DIR/File_List" | grep -e 'Header_Row.bmp$' -e 'Warning_Icon_Source.bmp$' || true)
  [ "$(echo "$names" | wc -l)" = 2 ] || zl_fail "File_List does not name Header_Row.bmp and Warning_Icon_Source.bmp"
  zl_start
  zl_end_at_start_question Return
  [ "$(zl_protocol)" = "$(printf ' - CHECK_FILE_AVAILABILITY - missing 2 file(s)\n%s' "$names")" ] ||
    zl_fail "the protocol of the missing files is: $(zl_protocol)"
  # The count line carries its time stamp, the names none.
  grep -aqE '^[0-2][0-9]:[0-5][0-9]:[0-5][0-9] - CHECK_FILE_AVAILABILITY - missing 2 file\(s\)'$'\r''$' "$PROGRAM_DIR/Error_Log.log" ||
    zl_fail "the count line has no time stamp"
  expect_setup_unread
}

scenario_read_only_error_log() {
  zl_install
  write_marked_setup
  printf '08:00:00 - OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual\r\n' >"$PROGRAM_DIR/Error_Log.log"
  chmod a-w "$PROGRAM_DIR/Error_Log.log"
  zl_keep "$PROGRAM_DIR/Error_Log.log" error_log.before
  zl_start
  zl_end_at_start_question Return
  zl_expect_kept error_log.before "$PROGRAM_DIR/Error_Log.log" "the read-only Error_Log.log was changed"
  [ "$(stat -c %a "$PROGRAM_DIR/Error_Log.log")" = 444 ] || zl_fail "the mode of Error_Log.log changed to $(stat -c %a "$PROGRAM_DIR/Error_Log.log")"
  expect_setup_unread
}

# With Work_Type_List, Down in a new record's empty work type offers the list's first;
# without it the program runs, its editor offers no work type, and the protocol says why.
scenario_missing_work_type_list() {
  zl_start_morning_day 10:00:00
  local first_type
  first_type=$(head -n1 "$PROGRAM_DIR/Work_Type_List" | tr -d '\r' | iconv -f CP1250 -t UTF-8)
  zl_open_editor
  zl_keys "$EDITOR" Down Return
  zl_wait_height "$(zl_rows_height 3)"
  zl_stop
  zl_expect_fields "2:3=$first_type"

  zl_step "without the list, Down picks nothing and the save asks for a work type"
  rm "$PROGRAM_DIR/Work_Type_List"
  zl_start_window "$today 10:10:00"
  zl_open_editor
  zl_keys "$EDITOR" Down Return
  ZL_OPEN_DIALOGS=$EDITOR zl_answer_dialog Return
  zl_expect_rows_shown 3 "a record without a work type was added"
  zl_program_windows | grep -qx "$EDITOR" || zl_fail "the editor closed after the empty work type"
  zl_close_dialog "$EDITOR"
  zl_stop
  zl_expect_protocol "$ZL_OPEN_OK" \
    "OPEN_WORK_TYPE_LIST - FILE_NOT_FOUND - file $PROGRAM_DIR/Work_Type_List not found, no work types offered" "$ZL_SAVED"
  zl_expect_record_count 3
}

# Random bytes for Setup.ini: every key takes its default, and the file stays as it was.
scenario_garbage_setup() {
  zl_install
  $ZL_DAY_LOG_TOOL garbage "$PROGRAM_DIR/Setup.ini" 4096 1
  zl_keep "$PROGRAM_DIR/Setup.ini" setup.before
  zl_write_day_log "Ne" "$yesterday_text" "09:00 - 11:00" "Pracovní doba" "02:00" "" \
    "" "" "" "DEFAULT" "00:30" "" \
    "" "" "" "Údržba" "01:30" "server"
  $ZL_DAY_LOG_TOOL export_lines "$(zl_day_log)" >"$ZL_WORK/target.expected"
  zl_start
  # The default turns the splash screen on.
  zl_wait_dialog
  zl_wait_main_window
  [ "$(zl_window_position "$MAIN_WINDOW")" = 0,0 ] || zl_fail "the window is at $(zl_window_position "$MAIN_WINDOW"), the default is 0,0"
  # The default target log in the default pattern, after the default (empty) separator.
  zl_expect_kept target.expected "$PROGRAM_DIR/Work_Log.csv" "Work_Log.csv is not the default export of the stored day"
  zl_stop
  zl_expect_protocol "$ZL_NOT_ACTUAL" "$ZL_EXPORTED" "$ZL_SAVED"
  zl_expect_fields 0:3=DEFAULT 0:5=
  zl_expect_kept setup.before "$PROGRAM_DIR/Setup.ini" "the program changed the garbage Setup.ini"

  zl_step "well-formed keys with values that are not numbers or colours"
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=yes' 'Time_Scroll_Resolution=ten' 'Full_Time_Value=' \
    '[Visual_Setup]' 'Main_Form_Color=greenish' 'Title_Color=$GG' 'Main_Form_Left=left' 'Main_Form_Top=1e3' \
    'Main_Form_Transparency=-' 'Main_Form_Anchor=x'
  zl_start_window
  [ "$(zl_window_position "$MAIN_WINDOW")" = 0,0 ] || zl_fail "the window is at $(zl_window_position "$MAIN_WINDOW"), the default is 0,0"
  zl_stop
  zl_expect_day_saved
}

# Random bytes for Czech.lng: every text falls back to its key, and the day is still kept.
scenario_garbage_language_file() {
  zl_install
  # The language is named, or a first start would take the locale's (English) instead.
  zl_write_quiet_setup 'First_Start=1' 'Language_File_Name=Czech.lng'
  $ZL_DAY_LOG_TOOL garbage "$PROGRAM_DIR/Czech.lng" 4096 2
  zl_start_window "$today 09:00:00"
  zl_add_record "Testování" 00 30 ""
  zl_stop
  zl_expect_protocol "$ZL_NOT_FOUND" "$ZL_SAVED"
  # Day_Names key 1 is Sunday; Column_Names key 6 labels a day with records.
  zl_expect_fields "0:0=$(($(date -d "$today" +%w) + 1))" "0:1=$today_text" 0:3=6 1:3=DEFAULT "2:3=Testování"
}

zl_main "$@" missing_skins read_only_error_log missing_work_type_list garbage_setup garbage_language_file
