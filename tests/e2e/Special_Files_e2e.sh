#!/usr/bin/env bash
# Something other than a regular file where the program keeps a file of its own: a FIFO,
# a folder. No start hangs: each file's "cannot be read" answer comes at once, the window
# or the file's own question shows, and the program still ends on SIGTERM.
# Usage: bash Special_Files_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# A quiet installation whose day log is today's, so that no question comes of it.
install_with_todays_day() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
}

expect_still_a_fifo() { [ -p "$1" ] || zl_fail "$1 is no longer a FIFO"; }

scenario_fifo_as_setup_ini_and_language_file() {
  install_with_todays_day
  rm "$PROGRAM_DIR/Setup.ini"
  mkfifo "$PROGRAM_DIR/Setup.ini"
  zl_start_window "$today 09:00:00"
  zl_stop
  expect_still_a_fifo "$PROGRAM_DIR/Setup.ini"
  zl_expect_protocol "OPEN_SETUP_FILE - INVALID_FILE - $PROGRAM_DIR/Setup.ini is not a regular file, the settings take their defaults" \
    "$ZL_OPEN_OK" "$ZL_SAVED"

  zl_step "the language file named in Setup.ini is a FIFO"
  install_with_todays_day
  zl_write_quiet_setup 'Language_File_Name=English.lng'
  rm "$PROGRAM_DIR/English.lng"
  mkfifo "$PROGRAM_DIR/English.lng"
  zl_start_window "$today 09:00:00"
  zl_stop
  expect_still_a_fifo "$PROGRAM_DIR/English.lng"
}

scenario_fifo_as_file_list_ends_with_its_message() {
  install_with_todays_day
  rm "$PROGRAM_DIR/File_List"
  mkfifo "$PROGRAM_DIR/File_List"
  zl_start "$today 09:00:00"
  zl_end_at_start_question Return
  zl_protocol | grep -qx ' - CHECK_FILE_AVAILABILITY - missing 1 file(s)' || zl_fail "no missing-file line for File_List"
}

scenario_fifo_as_target_log_gives_the_export_question() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$(date -d "$today - 1 day" +%F)")" "$yesterday_text" "08:00 - 16:00" "DEFAULT" "08:00" ""
  zl_keep "$(zl_day_log)" stored_day.log
  mkfifo "$PROGRAM_DIR/Work_Log.csv"
  zl_start "$today 09:00:00"
  zl_end_at_start_question Escape
  expect_still_a_fifo "$PROGRAM_DIR/Work_Log.csv"
  zl_expect_kept stored_day.log "$(zl_day_log)" "the stored day changed although it was not exported"
  zl_protocol | grep -q "SAVE_TARGET_WORK_LOG - APPEND - UNEXPECTED_ERROR - not possible to create file $PROGRAM_DIR/Work_Log.csv. 22 - Invalid argument" ||
    zl_fail "no APPEND line for the FIFO"
}

scenario_fifo_as_work_type_list_leaves_the_editor_usable() {
  install_with_todays_day
  rm "$PROGRAM_DIR/Work_Type_List"
  mkfifo "$PROGRAM_DIR/Work_Type_List"
  zl_start_window "$today 09:00:00"
  zl_add_record "Psaní" 00 15 ""
  zl_stop
  zl_expect_rows "DEFAULT=00:45 Psaní=00:15"
}

scenario_folder_as_day_log_is_a_damaged_day_log() {
  zl_install
  zl_write_quiet_setup
  mkdir "$(zl_day_log)"
  zl_start "$today 09:00:00"
  zl_answer_start_question Return
  zl_wait_main_window
  zl_stop
  [ -d "$(zl_day_log).invalid" ] || zl_fail "the folder was not kept aside as Actual_Work_Log.log.invalid"
  zl_expect_record_count 1
  zl_protocol | grep -qxF " - OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file $(zl_day_log) is a directory" ||
    zl_fail "no line for the folder"
  zl_protocol | grep -qxF " - $ZL_SAVED" || zl_fail "the day was not saved at the end"
}

zl_main "$@" fifo_as_setup_ini_and_language_file fifo_as_file_list_ends_with_its_message \
  fifo_as_target_log_gives_the_export_question fifo_as_work_type_list_leaves_the_editor_usable \
  folder_as_day_log_is_a_damaged_day_log
