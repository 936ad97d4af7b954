#!/usr/bin/env bash
# The program on a small disk that fills up: a record added while nothing can be stored is
# told at once and stored at the next minute once there is room again; an export that
# finds no room leaves the target log as it was and writes the day once when retried; a
# first start that cannot store its day says so. Needs root for its tmpfs; without it the
# suite says why and passes without running. Usage: bash Full_Disk_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# The program's folder on its own 8 MiB tmpfs, with a stripped program so that it fits.
full_disk_install() {
  DISK=$ZL_WORK/disk
  mkdir -p "$DISK"
  mount -t tmpfs -o size=8m,mode=0700 zl-full-disk "$DISK" || zl_fail "cannot mount a tmpfs on $DISK"
  trap full_disk_cleanup EXIT
  PROGRAM_DIR=$DISK/program
  ZL_NOT_FOUND="OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $PROGRAM_DIR/Actual_Work_Log.log not found"
  ZL_EXPORTED="SAVE_TARGET_WORK_LOG - OK - last log successfully added to $PROGRAM_DIR/Work_Log.csv"
  ZL_SAVED="SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  NO_ROOT_FOR_THE_DAY="SAVE_ACTUAL_WORK_LOG - WRITE - UNEXPECTED_ERROR - not possible to write record into file $PROGRAM_DIR/Actual_Work_Log.log. 28 - No space left on device"
  mkdir "$PROGRAM_DIR"
  (cd "$ZL_DIST_DIR" && cp -r Czech.lng English.lng File_List Work_Type_List Skin "$PROGRAM_DIR"/)
  local program
  # The command and the window program it hands the start to.
  for program in zentavo-logger zentavo-logger-window; do
    strip -o "$PROGRAM_DIR/$program" "$ZL_DIST_DIR/$program" 2>/dev/null ||
      cp "$ZL_DIST_DIR/$program" "$PROGRAM_DIR/$program"
  done
}

full_disk_cleanup() {
  local status=$? pid
  set +e
  for pid in $ZL_ALL_PIDS; do kill -KILL "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  umount "$DISK" 2>/dev/null || umount -l "$DISK"
  exit "$status"
}

# Takes every free block of the tmpfs.
fill_disk() {
  dd if=/dev/zero of="$DISK/filler" bs=4k 2>/dev/null || true
  [ "$(df --output=avail -B1 "$DISK" | tail -n1)" -lt 4096 ] || zl_fail "the disk is not full: $(df -h "$DISK" | tail -n1)"
}
free_disk() { rm -f "$DISK/filler"; }

# The warning of an unsaved day: a dialog that names it, answered with its one button.
expect_save_warning() {
  zl_wait_dialog
  zl_step "warning '$(zl_window_name "$DIALOG")' $(zl_window_size "$DIALOG")"
  import -window root "$ZL_WORK/warning.png" 2>/dev/null || true
  zl_answer_dialog Return
}

expect_protocol_line() { zl_protocol | grep -qF -- "$1" || zl_fail "the protocol has no line '$1'"; }

scenario_record_on_a_full_disk_is_told_and_stored_at_the_next_minute() {
  full_disk_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  # Half a minute before the minute turns, so the retry comes soon.
  zl_start_window "$today 10:00:25"
  zl_wait_for 5 zl_field_is 0 2 "08:00 - 10:00" || zl_fail "the minute of the start was not stored"
  fill_disk
  zl_add_record "Psaní" 00 30 "na plném disku"
  expect_save_warning
  zl_expect_record_count 1 "the day log on the full disk"
  zl_main_window_shows || zl_fail "the main window is gone after the warning"
  free_disk
  zl_step "room again; the next minute stores the day"
  zl_wait_for 70 zl_record_count_is 3 || zl_fail "the record was not stored within a minute of freeing the disk"
  zl_expect_fields "2:3=Psaní" "2:4=00:30" "2:5=na plném disku"
  zl_stop
  expect_protocol_line "$NO_ROOT_FOR_THE_DAY"
  expect_protocol_line "SAVE_ACTUAL_WORK_LOG - CHECKPOINT - OK - actual log saved again to $PROGRAM_DIR/Actual_Work_Log.log"
  expect_protocol_line "$ZL_SAVED"
  [ "$(zl_protocol | grep -c 'SAVE_ACTUAL_WORK_LOG - WRITE')" = 1 ] || zl_fail "the failing saves were recorded more than once"
}

scenario_export_on_a_full_disk_leaves_the_target_log_as_it_was() {
  full_disk_install
  zl_write_quiet_setup
  zl_write_day_log \
    "$(zl_day_name "$(date -d "$today - 1 day" +%F)")" "$yesterday_text" "07:30 - 16:00" "Pracovní doba" "08:30" "" \
    "" "" "" "Nezařazeno" "00:30" "" \
    "" "" "" "Vývoj" "08:00" "modul; export"
  # An older day that ends exactly at a page, so the next line needs a block of its own.
  python3 -c 'import sys
head = b"\r\nSt;02.12.2026;08:00 - 16:00;Pracovn\xed doba;08:00;\r\n;;;"
sys.stdout.buffer.write(head + b"x" * (4096 - len(head) - 2) + b"\r\n")' >"$PROGRAM_DIR/Work_Log.csv"
  [ "$(stat -c %s "$PROGRAM_DIR/Work_Log.csv")" = 4096 ] || zl_fail "the older target log is not one page"
  zl_keep "$PROGRAM_DIR/Work_Log.csv" target.before
  zl_keep "$(zl_day_log)" stored_day.log
  fill_disk
  zl_start "$today 08:00:00"
  zl_wait_dialog
  zl_step "the export failed: '$(zl_window_name "$DIALOG")'"
  zl_expect_kept target.before "$PROGRAM_DIR/Work_Log.csv" "the failed export changed the target log"
  zl_expect_kept stored_day.log "$(zl_day_log)" "the failed export changed the stored day"
  free_disk
  zl_answer_dialog Return  # try again
  zl_wait_main_window
  { cat "$ZL_WORK/target.before"; $ZL_DAY_LOG_TOOL export_lines "$ZL_WORK/stored_day.log"; } >"$ZL_WORK/target.expected"
  zl_expect_kept target.expected "$PROGRAM_DIR/Work_Log.csv" "the target log is not the older day and the exported day once"
  zl_stop
  # The journal is written before the block, so on a full disk it is the first write to fail.
  zl_protocol | grep -qE -- "SAVE_TARGET_WORK_LOG - (WRITELN - UNEXPECTED_ERROR - not possible to write record into file .*Work_Log.csv\. 28 No space left on device|JOURNAL - UNEXPECTED_ERROR - not possible to write file .*\. 28 - No space left on device)" ||
    zl_fail "the protocol does not say that the export found the disk full"
  expect_protocol_line "$ZL_EXPORTED"
  zl_expect_fields "0:1=$today_text"
}

scenario_first_start_on_a_full_disk_says_the_day_cannot_be_stored() {
  full_disk_install
  zl_write_quiet_setup 'First_Start=1'
  fill_disk
  zl_start "$today 09:00:00"
  zl_wait_main_window
  expect_save_warning
  [ ! -e "$(zl_day_log)" ] || zl_fail "a day log was stored on the full disk"
  free_disk
  zl_stop
  expect_protocol_line "$ZL_NOT_FOUND"
  expect_protocol_line "$NO_ROOT_FOR_THE_DAY"
  expect_protocol_line "$ZL_SAVED"
}

if [ "$(id -u)" != 0 ]; then
  echo "SKIP: $(basename "$0") mounts a small tmpfs and needs root (CI runs as root)"
  exit 0
fi
zl_main "$@" record_on_a_full_disk_is_told_and_stored_at_the_next_minute \
  export_on_a_full_disk_leaves_the_target_log_as_it_was first_start_on_a_full_disk_says_the_day_cannot_be_stored
