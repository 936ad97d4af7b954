#!/usr/bin/env bash
# How a day begins: the first start of an installation, a restart on the same day, the
# first start on the next day (export to the target log) and the questions that may end
# the program before its window shows. Usage: bash Suite_Day_Start_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

today=$(date +%F)
today_text=$(date -d "$today" +%d.%m.%Y)
yesterday_text=$(date -d "$today - 1 day" +%d.%m.%Y)
tomorrow=$(date -d "$today + 1 day" +%F)
tomorrow_text=$(date -d "$tomorrow" +%d.%m.%Y)

expect_only_main_window() {
  local window
  for window in $(zl_program_windows); do
    [ "$window" = "$MAIN_WINDOW" ] || zl_fail "besides the main window the program shows '$(zl_window_name "$window")'"
  done
}

scenario_first_start() {
  zl_install
  # The installation's Setup.ini holds the marker among keys whose bytes must survive.
  zl_write_setup '[Main_Setup]' 'Target_Log_File_Separator=--- den ---' 'First_Start=1' \
    'Display_Start_Splash_Screen=0' '[Visual_Setup]' 'Main_Form_Left=40' 'Main_Form_Top=30'
  grep -av '^First_Start=' "$PROGRAM_DIR/Setup.ini" >"$ZL_WORK/setup.expected"

  local started_minute
  started_minute=$(date +%H:%M)
  zl_start
  zl_wait_main_window
  zl_step "window after $ZL_WINDOW_MS ms"
  sleep 0.3
  expect_only_main_window
  [ "$(zl_window_position "$MAIN_WINDOW")" = 40,30 ] || zl_fail "the window is at $(zl_window_position "$MAIN_WINDOW"), Setup.ini says 40,30"
  cmp -s "$ZL_WORK/setup.expected" "$PROGRAM_DIR/Setup.ini" ||
    zl_fail "Setup.ini is not the installed one without its First_Start line: $(od -c "$PROGRAM_DIR/Setup.ini" | head -n 8)"
  [ -f "$PROGRAM_DIR/Error_Log.log" ] || zl_fail "no Error_Log.log while the program runs"
  [ -s "$PROGRAM_DIR/Error_Log.log" ] && zl_fail "Error_Log.log is not empty while the program runs"

  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $PROGRAM_DIR/Actual_Work_Log.log not found" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  [ "$(stat -c %s "$(zl_day_log)")" = 1536 ] || zl_fail "Actual_Work_Log.log is $(stat -c %s "$(zl_day_log)") bytes, not one record"
  zl_expect_field 0 0 "$(zl_day_name "$today")"
  zl_expect_field 0 1 "$today_text"
  zl_expect_field 0 3 DEFAULT
  zl_expect_field 0 5 ""
  local span start
  span=$(zl_field 0 2)
  [[ $span =~ ^([0-2][0-9]:[0-5][0-9])\ -\ ([0-2][0-9]:[0-5][0-9])$ ]] || zl_fail "the day's time span is '$span'"
  start=${BASH_REMATCH[1]}
  [ "$start" = "$started_minute" ] || [ "$start" = "$(date +%H:%M)" ] ||
    zl_fail "the day starts at $start, the program was started at $started_minute"
  [[ $(zl_field 0 4) =~ ^00:0[01]$ ]] || zl_fail "the new day's duration is '$(zl_field 0 4)'"
  cmp -s "$ZL_WORK/setup.expected" "$PROGRAM_DIR/Setup.ini" || zl_fail "Setup.ini changed at the end of the day"
  [ -e "$PROGRAM_DIR/Work_Log.csv" ] && zl_fail "the first day created Work_Log.csv"

  zl_step "the Setup.ini that comes with the program"
  zl_install
  cp "$ZL_DIST_DIR/Setup.ini" "$PROGRAM_DIR/Setup.ini"
  grep -aq '^First_Start=' "$PROGRAM_DIR/Setup.ini" || zl_fail "the shipped Setup.ini has no First_Start marker"
  grep -av '^First_Start=' "$ZL_DIST_DIR/Setup.ini" >"$ZL_WORK/setup.expected" || true
  zl_start
  zl_wait_main_window
  sleep 0.2
  expect_only_main_window
  cmp -s "$ZL_WORK/setup.expected" "$PROGRAM_DIR/Setup.ini" || zl_fail "the shipped Setup.ini kept more than its lines without the marker"
  zl_stop
  zl_expect_record_count 1
}

scenario_restart_same_day() {
  zl_install
  zl_write_quiet_setup
  # The day began at 08:00; an earlier run stored three user records.
  zl_write_day_log \
    "$(zl_day_name "$today")" "$today_text" "08:00 - 11:00" "Pracovní doba" "03:00" "" \
    "" "" "" "Administrativa" "00:30" "ranní pošta" \
    "" "" "" "Programování" "02:00" "modul Č; řádky" \
    "" "" "" "Porada" "00:30" ""

  ZL_FAKE_TIME="$today 12:00:00" zl_start
  zl_wait_main_window
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 4)" ] ||
    zl_fail "the continued day shows a window $(zl_window_height "$MAIN_WINDOW") pixels high, expected 4 rows"
  zl_open_editor_by_key
  zl_fill_editor "Revize kódu" 00 45 "po obědě"
  zl_wait_height "$(zl_rows_height 5)"
  zl_stop
  zl_expect_record_count 5
  [ "$(zl_day_log_rows)" = "Administrativa=00:45 Programování=02:00 Porada=00:30 Revize kódu=00:45" ] ||
    zl_fail "the day after the first run: $(zl_day_log_rows)"
  zl_expect_field 0 2 "08:00 - 12:00"
  zl_expect_field 0 4 "04:00"
  zl_expect_field 2 5 "modul Č; řádky"
  zl_expect_field 4 5 "po obědě"

  zl_step "second restart the same day"
  ZL_FAKE_TIME="$today 12:10:00" zl_start
  zl_wait_main_window
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 5)" ] ||
    zl_fail "after the restart the window is $(zl_window_height "$MAIN_WINDOW") pixels high, expected 5 rows"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 5
  zl_expect_field 0 1 "$today_text"
  zl_expect_field 0 2 "08:00 - 12:10"
  zl_expect_field 0 4 "04:10"
  # 250 minutes elapsed, 195 recorded by the user rows.
  [ "$(zl_day_log_rows)" = "Administrativa=00:55 Programování=02:00 Porada=00:30 Revize kódu=00:45" ] ||
    zl_fail "the day after the restart: $(zl_day_log_rows)"
  [ -e "$PROGRAM_DIR/Work_Log.csv" ] && zl_fail "a restart on the same day wrote Work_Log.csv"
  return 0
}

scenario_next_day_export() {
  zl_install
  zl_write_quiet_setup 'First_Start=1'
  # The target log already holds an older day; its bytes must stay as they are.
  printf '\r\nSt;02.12.2026;08:00 - 16:00;Pracovn\xed doba;08:00;\r\n;;;Oprava chyb;01:00;\xe8\xed\xb9la\r\n' \
    >"$PROGRAM_DIR/Work_Log.csv"
  cp "$PROGRAM_DIR/Work_Log.csv" "$ZL_WORK/target.before"

  ZL_FAKE_TIME="$today 08:00:00" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_fill_editor "Návrh řešení" 01 30 "úloha 7; s ;středníkem"
  zl_wait_height "$(zl_rows_height 3)"
  zl_open_editor_by_key
  zl_fill_editor "Testování" 00 20 ""
  zl_wait_height "$(zl_rows_height 4)"
  zl_stop
  zl_expect_record_count 4
  cp "$(zl_day_log)" "$ZL_WORK/stored_day.log"

  zl_step "the next day, splash screen on"
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=1' '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
  ZL_FAKE_TIME="$tomorrow 08:00:00" zl_start
  local splash= splash_text= deadline window
  deadline=$(($(date +%s%N) + 10000000000))
  while ! MAIN_WINDOW=$(zl_find_main_window); do
    for window in $(zl_program_windows); do
      [ -n "$splash" ] || splash_text="'$(zl_window_name "$window")' $(zl_window_size "$window")"
      splash=$window
    done
    [ "$(date +%s%N)" -lt "$deadline" ] || zl_fail "no main window within 10 s of the next day's start"
    zl_running || zl_fail "the program ended at the next day's start"
    sleep 0.05
  done
  [ -n "$splash" ] || zl_fail "no splash screen was shown before the window of the new day"
  zl_step "splash screen $splash_text, window after $((($(date +%s%N) - ZL_STARTED_NS) / 1000000)) ms"

  { cat "$ZL_WORK/target.before"; $ZL_DAY_LOG_TOOL export_lines "$ZL_WORK/stored_day.log"; } >"$ZL_WORK/target.expected"
  cmp "$ZL_WORK/target.expected" "$PROGRAM_DIR/Work_Log.csv" >&2 ||
    zl_fail "Work_Log.csv is not the old content plus the stored day; expected $(od -c "$ZL_WORK/target.expected" | tail -n 12)"
  # The block in words, so that a wrong generator cannot hide a wrong export.
  LC_ALL=C grep -aq "^;;;N.vrh .e.en.;01:30;.loha 7; s ;st.edn.kem"$'\r'"\$" "$PROGRAM_DIR/Work_Log.csv" ||
    zl_fail "the record with the semicolons is not one unquoted line"
  LC_ALL=C grep -aq "^$(zl_day_name "$today" | iconv -f UTF-8 -t CP1250);$today_text;08:00 - 08:00;" "$PROGRAM_DIR/Work_Log.csv" ||
    zl_fail "the Day_Row of the stored day is not in Work_Log.csv"
  # The new day is stored at once, before the day ends.
  zl_expect_record_count 1 "the day log while the new day runs"
  zl_expect_field 0 1 "$tomorrow_text"

  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date" \
    "SAVE_TARGET_WORK_LOG - OK - last log successfully added to $PROGRAM_DIR/Work_Log.csv" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 1
  zl_expect_field 0 0 "$(zl_day_name "$tomorrow")"
  zl_expect_field 0 1 "$tomorrow_text"
  zl_expect_field 0 2 "08:00 - 08:00"
  zl_expect_field 0 3 DEFAULT
  zl_expect_field 0 4 "00:00"
  cmp -s "$ZL_WORK/target.expected" "$PROGRAM_DIR/Work_Log.csv" || zl_fail "Work_Log.csv changed after the start"
}

# A past day that cannot be exported: the user may retry, and the second button ends the
# program without a window and without touching the stored day.
scenario_export_failure_ends() {
  zl_install
  zl_write_quiet_setup "Target_Log_File_Name=$ZL_WORK/missing/Work_Log.csv"
  zl_write_day_log \
    "Pá" "$yesterday_text" "07:30 - 15:45" "Pracovní doba" "08:15" "" \
    "" "" "" "Administrativa" "00:45" "" \
    "" "" "" "Programování" "07:30" "žluťoučký kůň"
  cp "$(zl_day_log)" "$ZL_WORK/stored_day.log"

  zl_start
  zl_wait_dialog
  zl_step "question '$(zl_window_name "$DIALOG")' $(zl_window_size "$DIALOG"); first answer: try again"
  zl_find_main_window >/dev/null && zl_fail "the main window shows while the export question is open"
  sleep 0.1
  zl_keys "$DIALOG" Return
  zl_wait_dialog_gone
  zl_wait_dialog
  zl_step "asked again; second answer: end"
  sleep 0.1
  zl_keys "$DIALOG" Escape
  local deadline
  deadline=$(($(date +%s%N) + 10000000000))
  while zl_running; do
    zl_find_main_window >/dev/null && zl_fail "the main window showed after the answer to end"
    [ "$(date +%s%N)" -lt "$deadline" ] || zl_fail "the program did not end after the answer to end"
    sleep 0.05
  done
  zl_reap
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  cmp -s "$ZL_WORK/stored_day.log" "$(zl_day_log)" || zl_fail "the stored day changed although it was not exported"
  [ -e "$ZL_WORK/missing" ] && zl_fail "the missing target directory was created"
  local not_found="SAVE_TARGET_WORK_LOG - REWRITE - ERROR_PATH_NOT_FOUND - path $ZL_WORK/missing/ not found"
  zl_expect_protocol "OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date" "$not_found" "$not_found"
}

# Without the First_Start marker a missing day log is a question: the second button ends
# the program, the first begins a new day.
scenario_missing_day_log_question() {
  zl_install
  zl_write_quiet_setup
  cp "$PROGRAM_DIR/Setup.ini" "$ZL_WORK/setup.before"
  zl_start
  zl_wait_dialog
  zl_find_main_window >/dev/null && zl_fail "the main window shows while the missing-log question is open"
  sleep 0.1
  zl_keys "$DIALOG" Escape
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  zl_expect_protocol "OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $PROGRAM_DIR/Actual_Work_Log.log not found"
  [ -e "$(zl_day_log)" ] && zl_fail "ending at the question still wrote Actual_Work_Log.log"

  zl_step "the first button continues with a new day"
  zl_start
  zl_answer_dialog Return
  zl_wait_main_window
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $PROGRAM_DIR/Actual_Work_Log.log not found" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_record_count 1
  zl_expect_field 0 1 "$today_text"
  cmp -s "$ZL_WORK/setup.before" "$PROGRAM_DIR/Setup.ini" || zl_fail "Setup.ini changed"
}

# The program's own line for a day log it kept aside.
kept_line() {
  echo "OPEN_ACTUAL_WORK_LOG - KEEP - OK - file $PROGRAM_DIR/Actual_Work_Log.log kept as $PROGRAM_DIR/Actual_Work_Log.log.invalid"
}

# A day log that cannot be used is kept aside as Actual_Work_Log.log.invalid before the
# new day overwrites it.
scenario_invalid_day_log_kept_aside() {
  zl_install
  zl_write_quiet_setup
  $ZL_DAY_LOG_TOOL garbage "$(zl_day_log)" 1000 3
  cp "$(zl_day_log)" "$ZL_WORK/short.log"
  zl_start
  zl_answer_dialog Return
  zl_wait_main_window
  cmp -s "$ZL_WORK/short.log" "$PROGRAM_DIR/Actual_Work_Log.log.invalid" || zl_fail "the short day log was not kept aside whole"
  zl_expect_record_count 1 "the new day's log while it runs"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - file $PROGRAM_DIR/Actual_Work_Log.log is empty" \
    "$(kept_line)" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_field 0 1 "$today_text"

  zl_step "a date that is no date; the second button ends the program and keeps the file"
  zl_write_day_log "Po" "32.13.2026" "08:00 - 09:00" "DEFAULT" "01:00" ""
  cp "$(zl_day_log)" "$ZL_WORK/bad_date.log"
  zl_start
  zl_answer_dialog Escape
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  cmp -s "$ZL_WORK/bad_date.log" "$(zl_day_log)" || zl_fail "ending at the question changed the day log"
  cmp -s "$ZL_WORK/short.log" "$PROGRAM_DIR/Actual_Work_Log.log.invalid" || zl_fail "ending at the question replaced the kept file"
  zl_expect_protocol "OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid log date"

  zl_step "the same file, first button: a new day, the bad file kept aside instead"
  zl_start
  zl_answer_dialog Return
  zl_wait_main_window
  zl_stop
  cmp -s "$ZL_WORK/bad_date.log" "$PROGRAM_DIR/Actual_Work_Log.log.invalid" || zl_fail "the file with the bad date was not kept aside"
  zl_expect_record_count 1
  zl_expect_field 0 1 "$today_text"
}

# Records of today whose duration is not a time are dropped one by one and named; the
# file that held them is kept aside.
scenario_unreadable_records_dropped() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log \
    "$(zl_day_name "$today")" "$today_text" "08:00 - 09:00" "Pracovní doba" "01:00" "" \
    "" "" "" "Administrativa" "- 00:20" "pošta" \
    "" "" "" "Porada" "1:xx" "" \
    "" "" "" "Oprava chyb" "00:50" "ticket 7"
  cp "$(zl_day_log)" "$ZL_WORK/stored_day.log"
  ZL_FAKE_TIME="$today 10:00:00" zl_start
  zl_wait_main_window
  [ "$(zl_window_height "$MAIN_WINDOW")" = "$(zl_rows_height 3)" ] || zl_fail "the window does not show the three readable rows"
  cmp -s "$ZL_WORK/stored_day.log" "$PROGRAM_DIR/Actual_Work_Log.log.invalid" || zl_fail "the file with the dropped record was not kept aside"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual" \
    "OPEN_ACTUAL_WORK_LOG - INVALID_RECORD - invalid time in record Porada" \
    "$(kept_line)" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
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
  zl_start
  zl_wait_main_window
  printf '== den ==\r\n%s Pracovn\xed doba=08:15 [Pra   |] 100%%\r\n DEFAULT=- 00:15 [DEF   |] 100%%\r\n Programov\xe1n\xed=08:30 [Pro   |\x9elu\x9dou\xe8k\xfd k\xf9\xf2] 100%%\r\n' \
    "$yesterday_text" >"$ZL_WORK/target.expected"
  cmp "$ZL_WORK/target.expected" "$ZL_WORK/reports/vykaz.txt" >&2 ||
    zl_fail "the target log is $(od -c "$ZL_WORK/reports/vykaz.txt" | head -n 12)"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date" \
    "SAVE_TARGET_WORK_LOG - OK - last log successfully added to $ZL_WORK/reports/vykaz.txt" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  [ -e "$PROGRAM_DIR/Work_Log.csv" ] && zl_fail "the default Work_Log.csv was written besides the configured target"
  return 0
}

# A day log dated later than today (a clock set back) counts as a past day: it is exported.
scenario_later_date_exported() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "Út" "$tomorrow_text" "08:00 - 09:00" "Pracovní doba" "01:00" "" \
    "" "" "" "DEFAULT" "00:30" "" "" "" "" "Testování" "00:30" ""
  cp "$(zl_day_log)" "$ZL_WORK/stored_day.log"
  zl_start
  zl_wait_main_window
  $ZL_DAY_LOG_TOOL export_lines "$ZL_WORK/stored_day.log" >"$ZL_WORK/target.expected"
  cmp -s "$ZL_WORK/target.expected" "$PROGRAM_DIR/Work_Log.csv" || zl_fail "the later day was not exported as it was stored"
  zl_stop
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date" \
    "SAVE_TARGET_WORK_LOG - OK - last log successfully added to $PROGRAM_DIR/Work_Log.csv" \
    "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  zl_expect_field 0 1 "$today_text"
}

# A read-only target log refuses the export; ending at the question keeps both files.
scenario_read_only_target_log() {
  zl_install
  zl_write_quiet_setup
  printf '\r\n;;;Star\xfd z\xe1znam;01:00;\r\n' >"$PROGRAM_DIR/Work_Log.csv"
  chmod a-w "$PROGRAM_DIR/Work_Log.csv"
  cp -p "$PROGRAM_DIR/Work_Log.csv" "$ZL_WORK/target.before"
  zl_write_day_log "Pá" "$yesterday_text" "08:00 - 12:00" "DEFAULT" "04:00" ""
  cp "$(zl_day_log)" "$ZL_WORK/stored_day.log"
  zl_start
  zl_answer_dialog Escape
  zl_wait_exit 10
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
  zl_find_main_window >/dev/null && zl_fail "the main window showed"
  cmp -s "$ZL_WORK/target.before" "$PROGRAM_DIR/Work_Log.csv" || zl_fail "the read-only target log changed"
  cmp -s "$ZL_WORK/stored_day.log" "$(zl_day_log)" || zl_fail "the stored day changed"
  zl_expect_protocol \
    "OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date" \
    "SAVE_TARGET_WORK_LOG - APPEND - ERROR_ACCESS_DENIED - access to $PROGRAM_DIR/Work_Log.csv denied, file is read only"
}

# A program left running over midnight keeps its day under that day's date; the next
# start exports it.
scenario_over_midnight() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  ZL_FAKE_TIME="$today 23:59:56" zl_start
  zl_wait_main_window
  zl_open_editor_by_key
  zl_fill_editor "Noční služba" 02 00 ""
  zl_wait_height "$(zl_rows_height 3)"
  zl_step "waiting for midnight"
  local tries
  for tries in $(seq 1 160); do
    [ "$(zl_field 0 2)" = "08:00 - 00:00" ] && break
    sleep 0.05
  done
  [ "$(zl_field 0 2)" = "08:00 - 00:00" ] || zl_fail "after midnight the stored span is '$(zl_field 0 2)'"
  zl_running || zl_fail "the program ended at midnight"
  zl_stop
  zl_expect_field 0 1 "$today_text"
  zl_expect_field 2 3 "Noční služba"
  zl_expect_field 2 4 "02:00"
  zl_step "after midnight: Day_Row duration '$(zl_field 0 4)', Unassigned_Row '$(zl_field 1 4)'"
  cp "$(zl_day_log)" "$ZL_WORK/stored_day.log"

  ZL_FAKE_TIME="$tomorrow 07:00:00" zl_start
  zl_wait_main_window
  $ZL_DAY_LOG_TOOL export_lines "$ZL_WORK/stored_day.log" >"$ZL_WORK/target.expected"
  cmp -s "$ZL_WORK/target.expected" "$PROGRAM_DIR/Work_Log.csv" || zl_fail "the day over midnight was not exported as stored"
  zl_stop
  zl_expect_field 0 1 "$tomorrow_text"
}

zl_main "$@" first_start restart_same_day next_day_export export_failure_ends missing_day_log_question invalid_day_log_kept_aside unreadable_records_dropped export_with_pattern \
  later_date_exported read_only_target_log over_midnight
