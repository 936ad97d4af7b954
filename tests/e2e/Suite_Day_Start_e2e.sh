#!/usr/bin/env bash
# How a day begins: the first start of an installation, a restart on the same day, the
# first start on the next day (export to the target log) and the questions that may end
# the program before its window shows. Usage: bash Suite_Day_Start_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

scenario_first_start() {
  zl_install
  # The installation's Setup.ini holds the marker among keys whose bytes must survive.
  zl_write_setup '[Main_Setup]' 'Target_Log_File_Separator=--- den ---' 'First_Start=1' 'Language_File_Name=Czech.lng' \
    'Display_Start_Splash_Screen=0' '[Visual_Setup]' 'Main_Form_Left=40' 'Main_Form_Top=30'
  grep -av '^First_Start=' "$PROGRAM_DIR/Setup.ini" >"$ZL_WORK/setup.expected"
  local started_minute
  started_minute=$(date +%H:%M)
  zl_start_window
  sleep 0.3
  zl_expect_only_main_window
  [ "$(zl_window_position "$MAIN_WINDOW")" = 40,30 ] || zl_fail "the window is at $(zl_window_position "$MAIN_WINDOW"), Setup.ini says 40,30"
  zl_expect_kept setup.expected "$PROGRAM_DIR/Setup.ini" "Setup.ini is not the installed one without its First_Start line"
  [ -f "$PROGRAM_DIR/Error_Log.log" ] && [ ! -s "$PROGRAM_DIR/Error_Log.log" ] || zl_fail "no empty Error_Log.log while the program runs"

  zl_stop
  zl_expect_protocol "$ZL_NOT_FOUND" "$ZL_SAVED"
  [ "$(stat -c %s "$(zl_day_log)")" = 1536 ] || zl_fail "Actual_Work_Log.log is $(stat -c %s "$(zl_day_log)") bytes, not one record"
  zl_expect_fields "0:0=$(zl_day_name "$today")" "0:1=$today_text" 0:3=DEFAULT 0:5=
  [[ $(zl_field 0 2) =~ ^([0-2][0-9]:[0-5][0-9])\ -\ [0-2][0-9]:[0-5][0-9]$ ]] || zl_fail "the day's time span is '$(zl_field 0 2)'"
  [ "${BASH_REMATCH[1]}" = "$started_minute" ] || [ "${BASH_REMATCH[1]}" = "$(date +%H:%M)" ] ||
    zl_fail "the day starts at ${BASH_REMATCH[1]}, the program was started at $started_minute"
  [[ $(zl_field 0 4) =~ ^00:0[01]$ ]] || zl_fail "the new day's duration is '$(zl_field 0 4)'"
  zl_expect_kept setup.expected "$PROGRAM_DIR/Setup.ini" "Setup.ini changed at the end of the day"
  [ ! -e "$PROGRAM_DIR/Work_Log.csv" ] || zl_fail "the first day created Work_Log.csv"

  zl_step "the Setup.ini that comes with the program"
  zl_install
  cp "$ZL_DIST_DIR/Setup.ini" "$PROGRAM_DIR/Setup.ini"
  grep -aq '^First_Start=' "$PROGRAM_DIR/Setup.ini" || zl_fail "the shipped Setup.ini has no First_Start marker"
  grep -av '^First_Start=' "$ZL_DIST_DIR/Setup.ini" >"$ZL_WORK/setup.expected" || true
  zl_start_window
  sleep 0.2
  zl_expect_only_main_window
  # The first start also records the locale's language (English under the C locale).
  grep -av '^Language_File_Name=' "$PROGRAM_DIR/Setup.ini" >"$ZL_WORK/setup.actual" || true
  zl_expect_kept setup.expected "$ZL_WORK/setup.actual" "the shipped Setup.ini kept more than its lines without the marker"
  grep -aqx $'Language_File_Name=English.lng\r' "$PROGRAM_DIR/Setup.ini" || zl_fail "the first start recorded no language"
  zl_stop
  zl_expect_record_count 1
}

# The day began at 08:00; an earlier run stored three user records. The restart at 12:00
# continues it: 240 minutes elapsed, 195 recorded.
scenario_restart_same_day() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log \
    "$(zl_day_name "$today")" "$today_text" "08:00 - 11:00" "Pracovní doba" "03:00" "" \
    "" "" "" "Administrativa" "00:30" "ranní pošta" \
    "" "" "" "Programování" "02:00" "modul Č; řádky" \
    "" "" "" "Porada" "00:30" ""
  zl_start_window "$today 12:00:00"
  zl_expect_rows_shown 4 "the continued day"
  zl_add_record "Revize kódu" 00 45 "po obědě"
  zl_stop
  zl_expect_day_saved
  zl_expect_rows "Administrativa=00:45 Programování=02:00 Porada=00:30 Revize kódu=00:45"
  zl_expect_fields "0:1=$today_text" "0:2=08:00 - 12:00" "0:4=04:00" "2:5=modul Č; řádky" "4:5=po obědě"
  [ ! -e "$PROGRAM_DIR/Work_Log.csv" ] || zl_fail "a restart on the same day wrote Work_Log.csv"
}

scenario_next_day_export() {
  zl_install
  zl_write_quiet_setup 'First_Start=1' 'Language_File_Name=Czech.lng'
  # The target log already holds an older day; its bytes must stay as they are.
  printf '\r\nSt;02.12.2026;08:00 - 16:00;Pracovn\xed doba;08:00;\r\n;;;Oprava chyb;01:00;\xe8\xed\xb9la\r\n' \
    >"$PROGRAM_DIR/Work_Log.csv"
  zl_keep "$PROGRAM_DIR/Work_Log.csv" target.before
  zl_start_window "$today 08:00:00"
  zl_add_record "Návrh řešení" 01 30 "úloha 7; s ;středníkem"
  zl_add_record "Testování" 00 20 ""
  zl_stop
  zl_expect_record_count 4
  zl_keep "$(zl_day_log)" stored_day.log

  zl_step "the next day, splash screen on"
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=1' '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
  zl_start "$tomorrow 08:00:00"
  local splash=
  while ! zl_main_window_shows; do
    splash=$splash$(zl_program_windows)
    [ "$(zl_ms_since "$ZL_STARTED_NS")" -lt 10000 ] || zl_fail "no main window within 10 s of the next day's start"
    sleep 0.05
  done
  [ -n "$splash" ] || zl_fail "no splash screen was shown before the window of the new day"

  { cat "$ZL_WORK/target.before"; $ZL_DAY_LOG_TOOL export_lines "$ZL_WORK/stored_day.log"; } >"$ZL_WORK/target.expected"
  zl_expect_kept target.expected "$PROGRAM_DIR/Work_Log.csv" "Work_Log.csv is not the old content plus the stored day"
  # The block in words, so that a wrong generator cannot hide a wrong export.
  LC_ALL=C grep -aq "^;;;N.vrh .e.en.;01:30;.loha 7; s ;st.edn.kem"$'\r'"\$" "$PROGRAM_DIR/Work_Log.csv" ||
    zl_fail "the record with the semicolons is not one unquoted line"
  LC_ALL=C grep -aq "^$(zl_day_name "$today" | iconv -f UTF-8 -t CP1250);$today_text;08:00 - 08:00;" "$PROGRAM_DIR/Work_Log.csv" ||
    zl_fail "the Day_Row of the stored day is not in Work_Log.csv"
  # The new day is stored at once, before the day ends.
  zl_expect_record_count 1 "the day log while the new day runs"
  zl_expect_fields "0:1=$tomorrow_text"
  zl_stop
  zl_expect_protocol "$ZL_NOT_ACTUAL" "$ZL_EXPORTED" "$ZL_SAVED"
  zl_expect_record_count 1
  zl_expect_fields "0:0=$(zl_day_name "$tomorrow")" "0:2=08:00 - 08:00" 0:3=DEFAULT 0:4=00:00
  zl_expect_kept target.expected "$PROGRAM_DIR/Work_Log.csv" "Work_Log.csv changed after the start"
}

# A past day that cannot be exported (a missing directory, then a read-only target log): the
# user may retry, and the second button ends the program without a window, touching no file.
scenario_export_failure_ends() {
  zl_install
  zl_write_quiet_setup "Target_Log_File_Name=$ZL_WORK/missing/Work_Log.csv"
  zl_write_day_log \
    "Pá" "$yesterday_text" "07:30 - 15:45" "Pracovní doba" "08:15" "" \
    "" "" "" "Administrativa" "00:45" "" \
    "" "" "" "Programování" "07:30" "žluťoučký kůň"
  zl_keep "$(zl_day_log)" stored_day.log
  zl_start
  zl_answer_start_question Return
  zl_end_at_start_question Escape
  zl_expect_kept stored_day.log "$(zl_day_log)" "the stored day changed although it was not exported"
  [ ! -e "$ZL_WORK/missing" ] || zl_fail "the missing target directory was created"
  local not_found="SAVE_TARGET_WORK_LOG - REWRITE - ERROR_PATH_NOT_FOUND - path $ZL_WORK/missing/ not found"
  zl_expect_protocol "$ZL_NOT_ACTUAL" "$not_found" "$not_found"

  zl_step "a read-only target log"
  zl_write_quiet_setup
  printf '\r\n;;;Star\xfd z\xe1znam;01:00;\r\n' >"$PROGRAM_DIR/Work_Log.csv"
  chmod a-w "$PROGRAM_DIR/Work_Log.csv"
  zl_keep "$PROGRAM_DIR/Work_Log.csv" target.before
  zl_start
  zl_end_at_start_question Escape
  zl_expect_kept target.before "$PROGRAM_DIR/Work_Log.csv" "the read-only target log changed"
  zl_expect_kept stored_day.log "$(zl_day_log)" "the stored day changed"
  zl_expect_protocol "$ZL_NOT_ACTUAL" \
    "SAVE_TARGET_WORK_LOG - APPEND - ERROR_ACCESS_DENIED - access to $PROGRAM_DIR/Work_Log.csv denied, file is read only"
}

# Without the First_Start marker a missing day log is a question: the second button ends
# the program, the first begins a new day.
scenario_missing_day_log_question() {
  zl_install
  zl_write_quiet_setup
  zl_keep "$PROGRAM_DIR/Setup.ini" setup.before
  zl_start
  zl_end_at_start_question Escape
  zl_expect_protocol "$ZL_NOT_FOUND"
  [ ! -e "$(zl_day_log)" ] || zl_fail "ending at the question still wrote Actual_Work_Log.log"

  zl_step "the first button continues with a new day"
  zl_start
  zl_answer_start_question Return
  zl_wait_main_window
  zl_stop
  zl_expect_protocol "$ZL_NOT_FOUND" "$ZL_SAVED"
  zl_expect_record_count 1
  zl_expect_fields "0:1=$today_text"
  zl_expect_kept setup.before "$PROGRAM_DIR/Setup.ini" "Setup.ini changed"
}

# A day log that cannot be used, and one with records that cannot be read, is kept aside
# as Actual_Work_Log.log.invalid before the new day overwrites it.
scenario_invalid_day_log_kept_aside() {
  local kept="OPEN_ACTUAL_WORK_LOG - KEEP - OK - file $PROGRAM_DIR/Actual_Work_Log.log kept as $PROGRAM_DIR/Actual_Work_Log.log.invalid"
  zl_install
  zl_write_quiet_setup
  $ZL_DAY_LOG_TOOL garbage "$(zl_day_log)" 1000 3
  zl_keep "$(zl_day_log)" short.log
  zl_start
  zl_answer_start_question Return
  zl_wait_main_window
  zl_expect_kept short.log "$PROGRAM_DIR/Actual_Work_Log.log.invalid" "the short day log was not kept aside whole"
  zl_expect_record_count 1 "the new day's log while it runs"
  zl_stop
  zl_expect_protocol "OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file $PROGRAM_DIR/Actual_Work_Log.log is empty" "$kept" "$ZL_SAVED"
  zl_expect_fields "0:1=$today_text"

  zl_step "records of today whose duration is not a time are dropped one by one and named"
  zl_write_day_log \
    "$(zl_day_name "$today")" "$today_text" "08:00 - 09:00" "Pracovní doba" "01:00" "" \
    "" "" "" "Administrativa" "- 00:20" "pošta" \
    "" "" "" "Porada" "1:xx" "" \
    "" "" "" "Oprava chyb" "00:50" "ticket 7"
  zl_keep "$(zl_day_log)" stored_day.log
  zl_start_window "$today 10:00:00"
  zl_expect_rows_shown 3 "the three readable rows"
  zl_expect_kept stored_day.log "$PROGRAM_DIR/Actual_Work_Log.log.invalid" "the file with the dropped record was not kept aside"
  zl_stop
  zl_expect_protocol "$ZL_OPEN_OK" "OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid time in record Porada" "$kept" "$ZL_SAVED"
  # 120 minutes elapsed, 50 recorded.
  [ "$($ZL_DAY_LOG_TOOL dump "$(zl_day_log)" | tail -n +2)" = "$(printf '|||Administrativa|01:10|pošta\n|||Oprava chyb|00:50|ticket 7')" ] ||
    zl_fail "the continued day holds: $($ZL_DAY_LOG_TOOL dump "$(zl_day_log)")"
}

# A pattern and a separator of the user's: the block follows them byte for byte.
scenario_export_with_pattern() {
  zl_install
  mkdir "$ZL_WORK/reports"
  zl_write_quiet_setup "Target_Log_File_Name=$ZL_WORK/reports/vykaz.txt" \
    'Target_Log_File_Format=%1:s %3:s=%4:s [%3:-6.3s|%5:s] 100%%' 'Target_Log_File_Separator=== den =='
  zl_write_day_log \
    "Pá" "$yesterday_text" "07:30 - 15:45" "Pracovní doba" "08:15" "" \
    "" "" "" "DEFAULT" "- 00:15" "" \
    "" "" "" "Programování" "08:30" "žluťoučký kůň"
  zl_start_window
  printf '== den ==\r\n%s Pracovn\xed doba=08:15 [Pra   |] 100%%\r\n DEFAULT=- 00:15 [DEF   |] 100%%\r\n Programov\xe1n\xed=08:30 [Pro   |\x9elu\x9dou\xe8k\xfd k\xf9\xf2] 100%%\r\n' \
    "$yesterday_text" >"$ZL_WORK/target.expected"
  cmp "$ZL_WORK/target.expected" "$ZL_WORK/reports/vykaz.txt" >&2 ||
    zl_fail "the target log is $(od -c "$ZL_WORK/reports/vykaz.txt" | head -n 12)"
  zl_stop
  zl_expect_protocol "$ZL_NOT_ACTUAL" "SAVE_TARGET_WORK_LOG - OK - last log successfully added to $ZL_WORK/reports/vykaz.txt" "$ZL_SAVED"
  [ ! -e "$PROGRAM_DIR/Work_Log.csv" ] || zl_fail "the default Work_Log.csv was written besides the configured target"
}

# A program left running over midnight ends its day there as a restart would: the day goes
# to the target log and the next one begins.
scenario_over_midnight() {
  zl_start_morning_day 23:59:56
  zl_add_record "Noční služba" 02 00 ""
  # At midnight the running program ends the day as a restart would and begins the next one.
  zl_wait_for 8 zl_field_is 0 1 "$tomorrow_text" || zl_fail "after midnight the stored day is dated '$(zl_field 0 1)'"
  zl_running || zl_fail "the program ended at midnight"
  zl_stop
  LC_ALL=C grep -aq "^;;;No.n. slu.ba;02:00;"$'\r'"\$" "$PROGRAM_DIR/Work_Log.csv" ||
    zl_fail "the day over midnight was not exported with its record"
  zl_expect_fields "0:1=$tomorrow_text"
}

zl_main "$@" first_start restart_same_day next_day_export export_failure_ends missing_day_log_question \
  invalid_day_log_kept_aside export_with_pattern over_midnight
