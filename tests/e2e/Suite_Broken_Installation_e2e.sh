#!/usr/bin/env bash
# Broken installations: each start ends cleanly, or runs on with defaults, and the protocol
# says why. Usage: bash Suite_Broken_Installation_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

today=$(date +%F)
today_text=$(date -d "$today" +%d.%m.%Y)
yesterday_text=$(date -d "$today - 1 day" +%d.%m.%Y)

# The program must end by itself after the answer, with status 0 and no main window.
expect_end_without_window() {
  local deadline
  deadline=$(($(date +%s%N) + 10000000000))
  while zl_running; do
    zl_find_main_window >/dev/null && zl_fail "the main window showed on a start that must end"
    [ "$(date +%s%N)" -lt "$deadline" ] || zl_fail "the program did not end within 10 s"
    sleep 0.05
  done
  zl_reap
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
}

# The marker stays when Setup.ini is never read: proof that the start ended before it.
write_marked_setup() {
  zl_write_setup '[Main_Setup]' 'First_Start=1' 'Display_Start_Splash_Screen=0'
  cp "$PROGRAM_DIR/Setup.ini" "$ZL_WORK/setup.before"
}

expect_setup_unread() {
  cmp -s "$ZL_WORK/setup.before" "$PROGRAM_DIR/Setup.ini" || zl_fail "Setup.ini changed on a start that had to end before reading it"
  [ -e "$(zl_day_log)" ] && zl_fail "a start that had to end wrote Actual_Work_Log.log"
  return 0
}

scenario_missing_skins() {
  zl_install
  write_marked_setup
  rm "$PROGRAM_DIR/Skin/Header_Row.bmp" "$PROGRAM_DIR/Skin/Warning_Icon_Source.bmp"
  # The missing names in the order and spelling of File_List.
  local names=() line
  while IFS= read -r line; do
    line=${line%$'\r'}
    case $line in *Header_Row.bmp | *Warning_Icon_Source.bmp) names+=("$line") ;; esac
  done <"$PROGRAM_DIR/File_List"
  [ ${#names[@]} = 2 ] || zl_fail "File_List does not name Header_Row.bmp and Warning_Icon_Source.bmp"

  zl_start
  zl_wait_dialog
  zl_step "message box '$(zl_window_name "$DIALOG")' $(zl_window_size "$DIALOG")"
  zl_find_main_window >/dev/null && zl_fail "the main window shows beside the missing-files box"
  sleep 0.1
  zl_keys "$DIALOG" Return
  expect_end_without_window
  local protocol
  protocol=$(zl_protocol)
  [ "$protocol" = "$(printf ' - CHECK_FILE_AVAILABILITY - missing 2 file(s)\n%s\n%s' "${names[0]}" "${names[1]}")" ] ||
    zl_fail "the protocol of the missing files is: $protocol"
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
  cp -p "$PROGRAM_DIR/Error_Log.log" "$ZL_WORK/error_log.before"
  zl_start
  zl_wait_dialog
  zl_step "message box '$(zl_window_name "$DIALOG")' $(zl_window_size "$DIALOG")"
  sleep 0.1
  zl_keys "$DIALOG" Return
  expect_end_without_window
  cmp -s "$ZL_WORK/error_log.before" "$PROGRAM_DIR/Error_Log.log" || zl_fail "the read-only Error_Log.log was changed"
  [ "$(stat -c %a "$PROGRAM_DIR/Error_Log.log")" = 444 ] || zl_fail "the mode of Error_Log.log changed to $(stat -c %a "$PROGRAM_DIR/Error_Log.log")"
  expect_setup_unread
}

# Without Work_Type_List the program runs; its editor offers no work type, and the
# protocol says why.
scenario_missing_work_type_list() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  local saved
  zl_step "with the list, Down in the editor picks a work type from it"
  ZL_FAKE_TIME="$today 10:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_keys "$EDITOR" Down Return
  zl_wait_height "$(zl_rows_height 3)"
  zl_stop
  saved=$(zl_field 2 3 | iconv -f UTF-8 -t CP1250)
  tr -d '\r' <"$PROGRAM_DIR/Work_Type_List" | grep -qxF -- "$saved" ||
    zl_fail "Down and Enter saved '$(zl_field 2 3)', which is not in Work_Type_List"

  zl_step "without the list, Down picks nothing and the save asks for a work type"
  rm "$PROGRAM_DIR/Work_Type_List"
  ZL_FAKE_TIME="$today 10:10:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_keys "$EDITOR" Down Return
  ZL_OPEN_DIALOGS=$EDITOR zl_answer_dialog Return
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 3)" ] || zl_fail "a record without a work type was added"
  zl_program_windows | grep -qx "$EDITOR" || zl_fail "the editor closed after the empty work type"
  DIALOG=$EDITOR
  zl_keys "$EDITOR" Escape
  zl_wait_dialog_gone
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "OPEN_WORK_TYPE_LIST - FILE_NOT_FOUND - file $PROGRAM_DIR/Work_Type_List not found, no work types offered" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 3
}

# Random bytes for Setup.ini: every key takes its default, and the file stays as it was.
scenario_garbage_setup() {
  zl_install
  $ZL_DAY_LOG_TOOL garbage "$PROGRAM_DIR/Setup.ini" 4096 1
  cp "$PROGRAM_DIR/Setup.ini" "$ZL_WORK/setup.before"
  zl_write_day_log \
    "Ne" "$yesterday_text" "09:00 - 11:00" "Pracovní doba" "02:00" "" \
    "" "" "" "DEFAULT" "00:30" "" \
    "" "" "" "Údržba" "01:30" "server"
  cp "$(zl_day_log)" "$ZL_WORK/stored_day.log"
  zl_start
  # The default turns the splash screen on.
  zl_wait_dialog
  zl_step "splash '$(zl_window_name "$DIALOG")' $(zl_window_size "$DIALOG")"
  zl_wait_main_window
  [ "$(zl_window_position "$MAIN_WINDOW")" = 0,0 ] || zl_fail "the window is at $(zl_window_position "$MAIN_WINDOW"), the default is 0,0"
  # The default target log in the default pattern, after the default (empty) separator.
  $ZL_DAY_LOG_TOOL export_lines "$ZL_WORK/stored_day.log" >"$ZL_WORK/target.expected"
  cmp -s "$ZL_WORK/target.expected" "$PROGRAM_DIR/Work_Log.csv" || zl_fail "Work_Log.csv is not the default export of the stored day"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date" \
    "SAVE_TARGET_WORK_LOG - OK - last log successfully added to $PROGRAM_DIR/Work_Log.csv" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_field 0 3 DEFAULT
  zl_expect_field 0 5 ""
  cmp -s "$ZL_WORK/setup.before" "$PROGRAM_DIR/Setup.ini" || zl_fail "the program changed the garbage Setup.ini"

  zl_step "well-formed keys with values that are not numbers or colours"
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=yes' 'Time_Scroll_Resolution=ten' 'Full_Time_Value=' \
    '[Visual_Setup]' 'Main_Form_Color=greenish' 'Title_Color=$GG' 'Main_Form_Left=left' 'Main_Form_Top=1e3' \
    'Main_Form_Transparency=-' 'Main_Form_Anchor=x'
  zl_start
  zl_wait_main_window
  [ "$(zl_window_position "$MAIN_WINDOW")" = 0,0 ] || zl_fail "the window is at $(zl_window_position "$MAIN_WINDOW"), the default is 0,0"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
}

# Random bytes for Czech.lng: every text falls back to its key, and the day is still kept.
scenario_garbage_language_file() {
  zl_install
  zl_write_quiet_setup 'First_Start=1'
  $ZL_DAY_LOG_TOOL garbage "$PROGRAM_DIR/Czech.lng" 4096 2
  ZL_FAKE_TIME="$today 09:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_fill_editor "Testování" 00 30 ""
  zl_wait_height "$(zl_rows_height 3)"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $PROGRAM_DIR/Actual_Work_Log.log not found" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  # Day_Names key 1 is Sunday; Column_Names key 6 labels a day with records.
  zl_expect_field 0 0 "$(($(date -d "$today" +%w) + 1))"
  zl_expect_field 0 1 "$today_text"
  zl_expect_field 0 3 "6"
  zl_expect_field 1 3 DEFAULT
  zl_expect_field 2 3 "Testování"
}

zl_main "$@" missing_skins read_only_error_log missing_work_type_list garbage_setup garbage_language_file
