#!/usr/bin/env bash
# The settings dialog writes Setup.ini: the keys it owns, in their value forms and in
# CP1250, while every other line of the user's file stays where it was.
# Usage: bash Suite_Settings_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# The values of a key in Setup.ini as raw bytes, one line each.
setup_values() {
  LC_ALL=C awk -v key="$1=" '{ sub(/\r$/, "") } index($0, key) == 1 { print substr($0, length(key) + 1) }' "$PROGRAM_DIR/Setup.ini"
}

# The key once in Setup.ini, with the value given or one that matches the pattern given.
expect_setup() {
  local values
  values=$(setup_values "$1")
  [ "$(setup_values "$1" | wc -l)" = 1 ] && { [ "$values" = "$2" ] || { [ -n "${3:-}" ] && [[ $values =~ $3 ]]; }; } ||
    zl_fail "Setup.ini has $1 as '$values', expected '$2' once"
}

open_settings() {
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  SETTINGS=$DIALOG
  sleep 0.2
}

scenario_settings_dialog_writes_setup() {
  zl_install
  zl_write_setup '; nastavení uživatele' '[Main_Setup]' 'Display_Start_Splash_Screen=0' 'Full_Time_Value=450' \
    'Display_Zentavo_Overrange_Warning=0' '' '[Visual_Setup]' 'Main_Form_Color=$00C0C0C0' 'Main_Form_Left=0' 'Main_Form_Top=0'
  zl_keep "$PROGRAM_DIR/Setup.ini" setup.before
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  zl_start_window "$today 09:00:00"

  zl_step "opened and closed with Escape without a change: no question, nothing written"
  open_settings
  zl_close_dialog "$SETTINGS"
  sleep 0.2
  zl_expect_only_main_window
  zl_expect_kept setup.before "$PROGRAM_DIR/Setup.ini" "closing the settings unchanged wrote Setup.ini"

  zl_step "a new default work type, Escape, and the first answer saves"
  open_settings
  xdotool key --clearmodifiers ctrl+a
  zl_type "Vývoj"
  zl_keys "$SETTINGS" Escape
  ZL_OPEN_DIALOGS=$SETTINGS zl_answer_dialog Return
  DIALOG=$SETTINGS
  zl_wait_dialog_gone

  # CP1250: y-acute is 0xFD.
  expect_setup Default_Work_Type "$(printf 'V\xfdvoj')"
  local pair
  for pair in "Target_Log_File_Name=$PROGRAM_DIR/Work_Log.csv" 'Target_Log_File_Format=%0:s;%1:s;%2:s;%3:s;%4:s;%5:s' \
    Target_Log_File_Separator= Default_Remark= Form_Movement_Restrictions=0 Main_Form_Transparency=20 \
    Display_Start_Splash_Screen=0 Display_End_Splash_Screen=0 Display_Zentavo_Overrange_Warning=0 \
    Display_Full_Time_Hint=1 Time_Scroll_Control=1 Time_Scroll_Resolution=10 Minimize_To_Tray_After_Start=0 \
    Main_Form_Anchor=0; do
    expect_setup "${pair%%=*}" "${pair#*=}"
  done
  # The user's own lines stay, in their order, and every line ends with CR LF.
  zl_expect_crlf_lines "$PROGRAM_DIR/Setup.ini"
  LC_ALL=C grep -a -x -F -f <(tr -d '\r' <"$ZL_WORK/setup.before" | LC_ALL=C grep -av '^$' | sed 's/$/\r/') "$PROGRAM_DIR/Setup.ini" |
    tr -d '\r' >"$ZL_WORK/kept_lines"
  tr -d '\r' <"$ZL_WORK/setup.before" | LC_ALL=C grep -av '^$' >"$ZL_WORK/user_lines"
  diff "$ZL_WORK/user_lines" "$ZL_WORK/kept_lines" >&2 || zl_fail "the user's lines of Setup.ini were not kept in order"
  for pair in Main_Form_Transparency=Visual_Setup Default_Work_Type=Main_Setup; do
    [ "$(LC_ALL=C awk -v key="${pair%%=*}=" '/^\[/ { section = $0 } index($0, key) == 1 { print section }' "$PROGRAM_DIR/Setup.ini" | tr -d '\r')" = "[${pair#*=}]" ] ||
      zl_fail "${pair%%=*} is not in ${pair#*=}"
  done

  zl_step "the positions button writes the eight position keys"
  open_settings
  # Save_Positions_Button: group box at 368,336, the button at 128,14 in it, 105 x 25.
  xdotool mousemove --window "$SETTINGS" $((368 + 128 + 52)) $((336 + 14 + 12)) click 1
  sleep 0.3
  local position=$(zl_window_position "$SETTINGS") key
  expect_setup Main_Form_Left 0
  expect_setup Main_Form_Top 0
  expect_setup Setup_Form_Left "${position%,*}"
  expect_setup Setup_Form_Top "${position#*,}"
  for key in Message_Dialog_Form_Left Message_Dialog_Form_Top Update_Record_Form_Left Update_Record_Form_Top; do
    expect_setup "$key" "a number" '^-?[0-9]+$'
  done
  zl_close_dialog "$SETTINGS"
  zl_stop
  expect_setup Full_Time_Value 450
  expect_setup Main_Form_Color '$00C0C0C0'
  zl_expect_day_saved

  zl_step "the next day begins with the saved default work type"
  zl_start_window "$tomorrow 08:00:00"
  zl_stop
  zl_expect_fields "0:3=Vývoj"
}

zl_main "$@" settings_dialog_writes_setup
