#!/usr/bin/env bash
# The program left running across the end of a day: midnight ends the day as a restart
# would (the target log gets it once, the day log holds the new date); a later day
# boundary keeps a night's work in the day it began. Usage: bash Running_Day_Change_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

scenario_running_across_midnight() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log \
    "$(zl_day_name "$today")" "$today_text" "08:00 - 23:59" "Pracovní doba" "15:59" "" \
    "" "" "" "Nezařazeno" "07:59" "" \
    "" "" "" "Vývoj" "08:00" "modul"
  $ZL_DAY_LOG_TOOL export_lines "$(zl_day_log)" >"$ZL_WORK/block"
  zl_start_window "$today 23:59:57"
  zl_step "the clock passes midnight with the window open"
  zl_wait_for 8 zl_field_is 0 1 "$tomorrow_text" || zl_fail "the day log still holds '$(zl_field 0 1)' after midnight"
  zl_expect_fields "0:0=$(zl_day_name "$tomorrow")" 0:3=DEFAULT
  zl_expect_record_count 1
  zl_main_window_shows || zl_fail "the window went away at midnight"
  sleep 1.5
  zl_stop
  cmp -s "$ZL_WORK/block" "$PROGRAM_DIR/Work_Log.csv" || zl_fail "the target log does not hold the finished day once: $(od -c "$PROGRAM_DIR/Work_Log.csv" | head -20)"
  [[ $(zl_field 0 2) =~ ^00:0[0-9]\ -\ 00:0[0-9]$ ]] || zl_fail "the new day's span is '$(zl_field 0 2)'"
  [ "$(zl_protocol | grep -c 'SAVE_TARGET_WORK_LOG - OK')" = 1 ] || zl_fail "the protocol does not tell one export: $(zl_protocol)"

  zl_step "the next start on the new date continues the new day and exports nothing"
  zl_start_window "$tomorrow 08:00:00"
  zl_stop
  cmp -s "$ZL_WORK/block" "$PROGRAM_DIR/Work_Log.csv" || zl_fail "the restart changed the target log"
  zl_expect_fields "0:1=$tomorrow_text"
}

scenario_day_boundary_keeps_the_night_in_one_day() {
  zl_install
  zl_write_quiet_setup '[Day_Setup]' 'Day_Boundary=04:00'
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "22:00 - 22:00" "DEFAULT" "00:00" ""
  zl_start_window "$tomorrow 01:59:57"
  sleep 4
  zl_stop
  zl_expect_fields "0:1=$today_text" "0:2=22:00 - 02:00" "0:4=04:00"
  [ ! -e "$PROGRAM_DIR/Work_Log.csv" ] || zl_fail "the night was exported as a day of its own"
}

zl_main "$@" running_across_midnight day_boundary_keeps_the_night_in_one_day
