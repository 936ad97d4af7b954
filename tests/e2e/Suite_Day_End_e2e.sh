#!/usr/bin/env bash
# How a day ends: a day log that cannot be saved (try again or close without it), the
# summary at closing, and an end while the window is put away in the tray.
# Usage: bash Suite_Day_End_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

today=$(date +%F)
today_text=$(date -d "$today" +%d.%m.%Y)

write_morning_day_log() {
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
}

expect_only_main_window() {
  local window
  for window in $(zl_program_windows); do
    [ "$window" = "$MAIN_WINDOW" ] || zl_fail "besides the main window the program shows '$(zl_window_name "$window")'"
  done
}

# The window's opacity as the program sets it, 0 to 255 (no compositor shows it).
window_opacity() {
  local value
  value=$(xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/= / { print $2 }')
  if [ -z "$value" ]; then echo 255; else echo $((value / 16843009)); fi
}

# SIGTERM asks for the end of the day; a question may come before the program ends.
request_end() {
  kill -TERM "$ZL_PID"
}

scenario_save_retry_at_close() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 11:00:00" zl_start
  zl_wait_main_window
  chmod a-w "$(zl_day_log)"
  cp -p "$(zl_day_log)" "$ZL_WORK/day_log.before"

  zl_step "a change while the day log is read-only: the checkpoint fails without a word"
  zl_open_editor_by_key
  zl_fill_editor "Nasazení a instalace" 01 15 "verze 2"
  zl_wait_height "$(zl_rows_height 3)"
  sleep 0.3
  expect_only_main_window
  cmp -s "$ZL_WORK/day_log.before" "$(zl_day_log)" || zl_fail "the read-only day log was changed by a checkpoint"

  zl_step "the end of the day asks; the first answer tries again and fails again"
  request_end
  zl_answer_dialog Return
  zl_wait_dialog
  zl_step "asked again; the file is made writable and the first answer saves"
  chmod u+w "$(zl_day_log)"
  sleep 0.1
  zl_keys "$DIALOG" Return
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  local denied="SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to $PROGRAM_DIR/Actual_Work_Log.log denied, file is read only"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" "$denied" "$denied" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 3
  zl_expect_field 2 3 "Nasazení a instalace"
  zl_expect_field 2 4 "01:15"
  zl_expect_field 0 2 "08:00 - 11:00"
  ls "$PROGRAM_DIR" | grep -q -e '\.tmp' -e '~$' && zl_fail "temporary files are left: $(ls "$PROGRAM_DIR")"
  return 0
}

scenario_close_without_saving() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 11:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_fill_editor "Správa systému" 00 30 ""
  zl_wait_height "$(zl_rows_height 3)"
  chmod a-w "$(zl_day_log)"
  cp -p "$(zl_day_log)" "$ZL_WORK/day_log.before"
  request_end
  zl_answer_dialog Escape
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to $PROGRAM_DIR/Actual_Work_Log.log denied, file is read only"
  cmp -s "$ZL_WORK/day_log.before" "$(zl_day_log)" || zl_fail "the read-only day log changed"
  # The checkpoint before the file became read-only holds the record.
  zl_expect_field 2 3 "Správa systému"
}

scenario_summary_at_close() {
  zl_install
  zl_write_quiet_setup 'Display_End_Splash_Screen=1'
  write_morning_day_log
  # Nine hours and a half: a summary with overtime.
  ZL_FAKE_TIME="$today 17:30:00" zl_start
  zl_wait_main_window
  request_end
  zl_wait_dialog
  zl_step "summary '$(zl_window_name "$DIALOG")' $(zl_window_size "$DIALOG")"
  [ -n "${ZL_E2E_SUMMARY_SHOT:-}" ] && import -window root "$ZL_E2E_SUMMARY_SHOT"
  zl_find_main_window >/dev/null && zl_fail "the main window still shows beside the summary"
  # The day log is saved before the summary shows; the protocol only after it.
  zl_expect_record_count 1
  zl_expect_field 0 2 "08:00 - 17:30"
  [ -s "$PROGRAM_DIR/Error_Log.log" ] && zl_fail "the protocol was written before the summary closed"
  sleep 0.1
  zl_keys "$DIALOG" Return
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
}

wait_until_hidden() {
  local tries
  for tries in $(seq 1 100); do
    zl_find_main_window >/dev/null || return 0
    sleep 0.05
  done
  zl_fail "$1 did not put the window away"
}

# A second start brings back the window it finds put away.
restore_by_second_start() {
  local window=$1 tries
  timeout 5 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/second.out" 2>&1 || zl_fail "the second start failed"
  for tries in $(seq 1 100); do
    [ "$(zl_find_main_window || true)" = "$window" ] && break
    sleep 0.05
  done
  [ "$(zl_find_main_window || true)" = "$window" ] || zl_fail "a second start did not bring the window back"
  # Keys are ignored while the window fades in: eleven ticks of 30 ms.
  sleep 0.6
}

# Escape puts the window away into the tray, a second start brings it back, the minimise
# button puts it away again, and the day ends in order from the tray.
scenario_tray_and_restore() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 09:30:00" zl_start
  zl_wait_main_window
  local window=$MAIN_WINDOW
  [ "$(window_opacity "$window")" = 235 ] || zl_fail "the window shows with opacity $(window_opacity "$window") of 255, expected 235"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" Escape
  wait_until_hidden Escape
  zl_running || zl_fail "the program ended on Escape"
  restore_by_second_start "$window"
  xdotool mousemove --window "$MAIN_WINDOW" 740 14 click 1
  wait_until_hidden "the minimise button"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_field 0 2 "08:00 - 09:30"
}

# After Escape has put the window away and it is back, the next command key acts.
scenario_key_after_restore() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 09:30:00" zl_start
  zl_wait_main_window
  local window=$MAIN_WINDOW
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" Escape
  wait_until_hidden Escape
  restore_by_second_start "$window"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" Return
  # Return shows the button bar: the window grows by 30 pixels.
  local with_bar tries second
  with_bar=$(($(zl_rows_height 1) + 30))
  for tries in $(seq 1 20); do
    [ "$(zl_window_height "$MAIN_WINDOW")" = "$with_bar" ] && break
    sleep 0.05
  done
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$with_bar" ] ||
    zl_fail "after a restore from the tray the first Return did nothing (the command keys stayed disarmed)"
  zl_stop
}

# The window brought back from the tray fades in to its resting opacity, 255 - 20 with the
# default transparency, by itself: a compositor shows what the property says.
scenario_fade_in_reaches_rest() {
  zl_install
  zl_write_quiet_setup
  write_morning_day_log
  ZL_FAKE_TIME="$today 09:30:00" zl_start
  zl_wait_main_window
  local window=$MAIN_WINDOW tries seen=""
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" Escape
  wait_until_hidden Escape
  # The pointer rests off the window, so that nothing but the fade's own timer acts.
  xdotool mousemove 900 700
  timeout 5 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/second.out" 2>&1 || zl_fail "the second start failed"
  for tries in $(seq 1 40); do
    seen="$seen $(window_opacity "$window")"
    [ "$(window_opacity "$window")" = 235 ] && break
    sleep 0.05
  done
  [ "$(window_opacity "$window")" = 235 ] ||
    zl_fail "after a restore from the tray _NET_WM_WINDOW_OPACITY stayed at $(window_opacity_last "$seen") of 255" \
      "(seen:$(echo "$seen" | tr ' ' '\n' | uniq | tr '\n' ' ')): the fade's steps do not reach the X server"
  zl_stop
}

window_opacity_last() { echo "$1" | awk '{ print $NF }'; }

zl_main "$@" save_retry_at_close close_without_saving summary_at_close tray_and_restore key_after_restore fade_in_reaches_rest
