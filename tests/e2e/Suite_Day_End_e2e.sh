#!/usr/bin/env bash
# How a day ends: a day log that cannot be saved (try again, or close without it) and the
# summary at closing. Usage: bash Suite_Day_End_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

scenario_save_retry_at_close() {
  zl_start_morning_day 11:00:00
  chmod a-w "$(zl_day_log)"
  zl_keep "$(zl_day_log)" day_log.before

  zl_step "a change while the day log is read-only: the failed checkpoint is told once"
  zl_add_record "Nasazení a instalace" 01 15 "verze 2"
  zl_answer_dialog Return
  sleep 0.3
  zl_expect_only_main_window
  zl_expect_kept day_log.before "$(zl_day_log)" "the read-only day log was changed by a checkpoint"

  zl_step "the end of the day asks twice: the first retry fails, the second saves the writable file"
  kill -TERM "$ZL_PID"
  zl_answer_dialog Return
  zl_wait_dialog
  chmod u+w "$(zl_day_log)"
  sleep 0.1
  zl_keys "$DIALOG" Return
  zl_wait_exit
  local denied="SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to $PROGRAM_DIR/Actual_Work_Log.log denied, file is read only"
  # One line for the failing checkpoints, then one for each failed save at the end.
  zl_expect_protocol "$ZL_OPEN_OK" "$denied" "$denied" "$denied" "$ZL_SAVED"
  zl_expect_record_count 3
  zl_expect_fields "2:3=Nasazení a instalace" "2:4=01:15" "0:2=08:00 - 11:00"
  ! ls "$PROGRAM_DIR" | grep -q -e '\.tmp' -e '~$' || zl_fail "temporary files are left: $(ls "$PROGRAM_DIR")"
}

scenario_close_without_saving() {
  zl_start_morning_day 11:00:00
  zl_add_record "Správa systému" 00 30 ""
  chmod a-w "$(zl_day_log)"
  zl_keep "$(zl_day_log)" day_log.before
  kill -TERM "$ZL_PID"
  zl_answer_dialog Escape
  zl_wait_exit
  zl_expect_protocol "$ZL_OPEN_OK" \
    "SAVE_ACTUAL_WORK_LOG - REWRITE - ERROR_ACCESS_DENIED - access to $PROGRAM_DIR/Actual_Work_Log.log denied, file is read only"
  zl_expect_kept day_log.before "$(zl_day_log)" "the read-only day log changed"
  # The checkpoint before the file became read-only holds the record.
  zl_expect_fields "2:3=Správa systému"
}

# Nine hours and a half: a summary with overtime. The day log is saved before the summary
# shows; the protocol only after it closes.
scenario_summary_at_close() {
  zl_start_morning_day 17:30:00 'Display_End_Splash_Screen=1'
  kill -TERM "$ZL_PID"
  zl_wait_dialog
  zl_no_main_window "beside the summary"
  zl_expect_record_count 1
  zl_expect_fields "0:2=08:00 - 17:30"
  [ ! -s "$PROGRAM_DIR/Error_Log.log" ] || zl_fail "the protocol was written before the summary closed"
  sleep 0.1
  zl_keys "$DIALOG" Return
  zl_wait_exit
  zl_expect_day_saved
}

zl_main "$@" save_retry_at_close close_without_saving summary_at_close
