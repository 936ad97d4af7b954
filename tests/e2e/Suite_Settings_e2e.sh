#!/usr/bin/env bash
# The settings dialog writes Setup.ini: the keys it owns, in their value forms and in
# CP1250, while every other line of the user's file stays where it was.
# Usage: bash Suite_Settings_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

today=$(date +%F)
today_text=$(date -d "$today" +%d.%m.%Y)

# The value of a key in Setup.ini as raw bytes (first occurrence), and how often it occurs.
setup_value() {
  LC_ALL=C awk -v key="$1" 'BEGIN { FS = "=" } { sub(/\r$/, "") } index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' \
    "$PROGRAM_DIR/Setup.ini"
}
setup_key_count() {
  LC_ALL=C grep -ac "^$1=" "$PROGRAM_DIR/Setup.ini" || true
}

expect_setup() {
  local key=$1 expected=$2
  [ "$(setup_key_count "$key")" = 1 ] || zl_fail "Setup.ini holds $key $(setup_key_count "$key") times"
  [ "$(setup_value "$key")" = "$expected" ] || zl_fail "Setup.ini has $key='$(setup_value "$key")', expected '$expected'"
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
  cp "$PROGRAM_DIR/Setup.ini" "$ZL_WORK/setup.before"
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  ZL_FAKE_TIME="$today 09:00:00" zl_start
  zl_wait_main_window

  zl_step "opened and closed with Escape without a change: no question, nothing written"
  open_settings
  zl_step "settings dialog '$(zl_window_name "$SETTINGS")' $(zl_window_size "$SETTINGS") at $(zl_window_position "$SETTINGS")"
  DIALOG=$SETTINGS
  zl_keys "$SETTINGS" Escape
  zl_wait_dialog_gone
  sleep 0.2
  [ "$(zl_program_windows | grep -vxc "$MAIN_WINDOW")" = 0 ] || zl_fail "a question came although nothing changed"
  cmp -s "$ZL_WORK/setup.before" "$PROGRAM_DIR/Setup.ini" || zl_fail "closing the settings unchanged wrote Setup.ini"

  zl_step "a new default work type, Escape, and the first answer saves"
  open_settings
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 30 "Vývoj"
  DIALOG=$SETTINGS
  zl_keys "$SETTINGS" Escape
  ZL_OPEN_DIALOGS=$SETTINGS zl_answer_dialog Return
  DIALOG=$SETTINGS
  zl_wait_dialog_gone

  # CP1250: y-acute is 0xFD.
  [ "$(printf '%s' "$(setup_value Default_Work_Type)" | od -An -tx1 | tr -d ' \n')" = "56fd766f6a" ] ||
    zl_fail "Default_Work_Type is not 'Vývoj' in CP1250: $(setup_value Default_Work_Type | od -An -tx1)"
  expect_setup Target_Log_File_Name "$PROGRAM_DIR/Work_Log.csv"
  expect_setup Target_Log_File_Format '%0:s;%1:s;%2:s;%3:s;%4:s;%5:s'
  expect_setup Target_Log_File_Separator ''
  expect_setup Default_Remark ''
  expect_setup Form_Movement_Restrictions 0
  expect_setup Main_Form_Transparency 20
  expect_setup Display_Start_Splash_Screen 0
  expect_setup Display_End_Splash_Screen 0
  expect_setup Display_Zentavo_Overrange_Warning 0
  expect_setup Display_Full_Time_Hint 1
  expect_setup Time_Scroll_Control 1
  expect_setup Time_Scroll_Resolution 10
  expect_setup Minimize_To_Tray_After_Start 0
  expect_setup Main_Form_Anchor 0
  # The user's own lines stay, in their order, and every line ends with CR LF.
  [ "$(tr -cd '\n' <"$PROGRAM_DIR/Setup.ini" | wc -c)" = "$(LC_ALL=C grep -c $'\r$' "$PROGRAM_DIR/Setup.ini")" ] ||
    zl_fail "a line of Setup.ini does not end with CR LF"
  LC_ALL=C grep -a -x -F -f <(tr -d '\r' <"$ZL_WORK/setup.before" | LC_ALL=C grep -av '^$' | sed 's/$/\r/') "$PROGRAM_DIR/Setup.ini" |
    tr -d '\r' >"$ZL_WORK/kept_lines"
  tr -d '\r' <"$ZL_WORK/setup.before" | LC_ALL=C grep -av '^$' >"$ZL_WORK/user_lines"
  diff "$ZL_WORK/user_lines" "$ZL_WORK/kept_lines" >&2 || zl_fail "the user's lines of Setup.ini were not kept in order"
  [ "$(LC_ALL=C awk '/^\[/ { section = $0 } /^Main_Form_Transparency=/ { print section }' "$PROGRAM_DIR/Setup.ini" | tr -d '\r')" = "[Visual_Setup]" ] ||
    zl_fail "Main_Form_Transparency is not in Visual_Setup"
  [ "$(LC_ALL=C awk '/^\[/ { section = $0 } /^Default_Work_Type=/ { print section }' "$PROGRAM_DIR/Setup.ini" | tr -d '\r')" = "[Main_Setup]" ] ||
    zl_fail "Default_Work_Type is not in Main_Setup"

  zl_step "the positions button writes the eight position keys"
  open_settings
  # Save_Positions_Button: group box at 368,336, the button at 128,14 in it, 105 x 25.
  xdotool mousemove --window "$SETTINGS" $((368 + 128 + 52)) $((336 + 14 + 12)) click 1
  sleep 0.3
  local position=$(zl_window_position "$SETTINGS")
  expect_setup Main_Form_Left 0
  expect_setup Main_Form_Top 0
  expect_setup Setup_Form_Left "${position%,*}"
  expect_setup Setup_Form_Top "${position#*,}"
  local key
  for key in Message_Dialog_Form_Left Message_Dialog_Form_Top Update_Record_Form_Left Update_Record_Form_Top; do
    [[ $(setup_value "$key") =~ ^-?[0-9]+$ ]] || zl_fail "Setup.ini has $key='$(setup_value "$key")', not a number"
    [ "$(setup_key_count "$key")" = 1 ] || zl_fail "Setup.ini holds $key $(setup_key_count "$key") times"
  done
  DIALOG=$SETTINGS
  zl_keys "$SETTINGS" Escape
  zl_wait_dialog_gone
  zl_stop
  expect_setup Full_Time_Value 450
  expect_setup Main_Form_Color '$00C0C0C0'
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"

  zl_step "the next day begins with the saved default work type"
  ZL_FAKE_TIME="$(date -d "$today + 1 day" +%F) 08:00:00" zl_start
  zl_wait_main_window
  zl_stop
  zl_expect_field 0 3 "Vývoj"
}

zl_main "$@" settings_dialog_writes_setup
