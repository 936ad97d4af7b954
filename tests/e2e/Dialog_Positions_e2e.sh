#!/usr/bin/env bash
# Where the dialogs open: where they were left, partly off the screen too, and a message
# made taller by its text still whole above the bottom of the screen (1280 x 1024 here).
# Usage: bash Dialog_Positions_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

expect_dialog_at() {
  [ "$(zl_window_position "$DIALOG")" = "$1" ] || zl_fail "$2 opened at $(zl_window_position "$DIALOG"), expected $1"
}

# Positions written into Setup.ini that reach past the right and bottom edges are kept.
scenario_dialogs_open_where_they_were_left() {
  zl_install
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0' \
    'Message_Dialog_Form_Left=1100' 'Message_Dialog_Form_Top=950' 'Setup_Form_Left=1000' 'Setup_Form_Top=800' \
    'Update_Record_Form_Left=1100' 'Update_Record_Form_Top=900'
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 10:00" "Pracovní doba" "02:00" "" \
    "" "" "" "DEFAULT" "01:30" "" "" "" "" "Porada" "00:30" ""
  zl_start_window "$today 10:00:00"
  zl_open_editor
  expect_dialog_at 1100,900 "the record editor"
  zl_close_dialog "$EDITOR"
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  expect_dialog_at 1000,800 "the settings dialog"
  zl_close_dialog "$DIALOG"
  zl_delete_on_row 2 key
  expect_dialog_at 1100,950 "the question"
  zl_answer_dialog Escape
  zl_stop
  zl_expect_day_saved
}

# The summary at closing is taller than the dialog left at the bottom: it moves up by as
# much as it grew past the bottom, and no more.
scenario_grown_message_stays_on_the_screen() {
  zl_install
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' 'Display_End_Splash_Screen=1' \
    '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0' 'Message_Dialog_Form_Left=580' 'Message_Dialog_Form_Top=886'
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  zl_start_window "$today 17:30:00"
  kill -TERM "$ZL_PID"
  zl_wait_dialog
  local height
  height=$(zl_window_height "$DIALOG")
  [ "$height" -gt 138 ] || zl_fail "the summary is only $height pixels high"
  expect_dialog_at "580,$((1024 - height))" "the summary of $height pixels"
  zl_keys "$DIALOG" Return
  zl_wait_exit
}

zl_main "$@" dialogs_open_where_they_were_left grown_message_stays_on_the_screen
