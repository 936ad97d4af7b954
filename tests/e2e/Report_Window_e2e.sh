#!/usr/bin/env bash
# The report window of the real program: R opens it (and only then is the history read
# in), Escape closes it, and a damaged history database is rebuilt from the target log
# with the button the window offers.
# Usage: bash Report_Window_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# A target log of the working days of the four weeks before today (of ZL_REPORT_DAYS days
# for the pictures), in the default pattern (CP1250, CR LF, an empty separator line before
# each day).
write_target_log() {
  python3 - "$PROGRAM_DIR/Work_Log.csv" "$today" "${ZL_REPORT_DAYS:-28}" <<'PY'
import datetime, random, sys
path, today, days = sys.argv[1], datetime.date.fromisoformat(sys.argv[2]), int(sys.argv[3])
names = ["Pondělí", "Úterý", "Středa", "Čtvrtek", "Pátek", "Sobota", "Neděle"]
kinds = ["Programování", "Porada", "Dokumentace", "Testování", "Podpora zákazníků"]
random.seed(4)
lines = []
for back in range(days, 0, -1):
    day = today - datetime.timedelta(days=back)
    if day.weekday() > 4:
        continue
    start = 7 * 60 + 30 + random.choice([0, 15, 30, 45])
    worked = 7 * 60 + random.choice([0, 30, 45, 60, 75, 90, 120])
    rows, booked = [], 0
    for kind in random.sample(kinds, 3):
        minutes = min(15 * random.randint(4, 16), worked - booked - 15)
        if minutes <= 0:
            break
        rows.append((kind, minutes))
        booked += minutes
    hhmm = lambda m: "%02d:%02d" % divmod(m, 60)
    lines += ["", "%s;%s;%s - %s;Pracovní doba;%s;" % (names[day.weekday()], day.strftime("%d.%m.%Y"),
                                                          hhmm(start), hhmm(start + worked), hhmm(worked)),
              ";;;DEFAULT;%s;" % hhmm(worked - booked)]
    lines += [";;;%s;%s;" % (kind, hhmm(minutes)) for kind, minutes in rows]
open(path, "wb").write("".join(line + "\r\n" for line in lines).encode("cp1250"))
PY
}

report_title=$(printf 'P\xf8ehled odpracovan\xe9 doby' | iconv -f CP1250 -t UTF-8)

open_report() {
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" r
  zl_wait_dialog
  REPORT=$DIALOG
  [ "$(zl_window_name "$REPORT")" = "$report_title" ] || zl_fail "the window '$(zl_window_name "$REPORT")' opened for R"
  [ "$(zl_window_size "$REPORT")" = 755x544 ] || zl_fail "the report window is $(zl_window_size "$REPORT")"
}

is_sqlite() { [ "$(head -c 15 "$1" 2>/dev/null)" = "SQLite format 3" ]; }

scenario_r_reads_the_history_in_and_escape_closes() {
  zl_install
  zl_write_quiet_setup
  write_target_log
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  zl_start_window "$today 12:00:00"

  zl_step "nothing of the history is touched before R"
  sleep 0.5
  [ ! -e "$PROGRAM_DIR/Work_History.sqlite" ] || zl_fail "the start made Work_History.sqlite"

  zl_step "R opens the window and reads the target log into a new database"
  open_report
  zl_wait_for 5 is_sqlite "$PROGRAM_DIR/Work_History.sqlite" || zl_fail "no database after the report opened"
  if [ -n "${ZL_REPORT_SCREENSHOT:-}" ]; then
    sleep 0.5
    import -window "$REPORT" "$ZL_REPORT_SCREENSHOT"
    # The Year and All buttons, 105 x 25 each, the third and fourth from the left.
    xdotool mousemove --window "$REPORT" $((226 + 52)) $((6 + 12)) click 1
    sleep 0.5
    import -window "$REPORT" "${ZL_REPORT_SCREENSHOT%.png}-year.png"
    xdotool mousemove --window "$REPORT" $((336 + 52)) $((6 + 12)) click 1
    sleep 0.5
    import -window "$REPORT" "${ZL_REPORT_SCREENSHOT%.png}-all.png"
  fi

  zl_step "Escape closes it, R brings it back"
  zl_close_dialog "$REPORT"
  zl_expect_only_main_window
  open_report
  zl_close_dialog "$REPORT"
  zl_stop
  zl_expect_day_saved
}

scenario_a_damaged_history_is_rebuilt_from_the_window() {
  zl_install
  zl_write_quiet_setup
  write_target_log
  head -c 3000 /dev/urandom >"$PROGRAM_DIR/Work_History.sqlite"
  zl_keep "$PROGRAM_DIR/Work_History.sqlite" garbage
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  zl_start_window "$today 12:00:00"

  zl_step "the window opens over the damaged database and leaves it as it is"
  open_report
  sleep 0.5
  zl_expect_kept garbage "$PROGRAM_DIR/Work_History.sqlite" "opening the report changed the damaged database"

  zl_step "its rebuild button writes a new database from the target log"
  # The notice's button: 105 x 25 at the bottom right, 6 pixels from the edges.
  xdotool mousemove --window "$REPORT" $((755 - 6 - 52)) $((544 - 6 - 12)) click 1
  zl_wait_for 5 is_sqlite "$PROGRAM_DIR/Work_History.sqlite" || zl_fail "the rebuild wrote no database"
  zl_close_dialog "$REPORT"
  zl_stop
  zl_expect_day_saved
}

scenario_left_goes_back_a_week_and_the_save_dialog_speaks_czech() {
  zl_install
  zl_write_quiet_setup
  write_target_log
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  # The save dialog starts in the home folder: a private one.
  export HOME=$ZL_WORK/home
  mkdir -p "$HOME"
  zl_start_window "$today 12:00:00"
  open_report
  zl_wait_for 5 is_sqlite "$PROGRAM_DIR/Work_History.sqlite" || zl_fail "no database after the report opened"
  sleep 0.5

  zl_step "Left shows the week before, as the saved file's name tells"
  zl_keys "$REPORT" Left
  sleep 0.3
  local monday sunday
  monday=$(date -d "$today -$(($(date -d "$today" +%u) + 6)) days" +%F)
  sunday=$(date -d "$monday +6 days" +%F)
  # Save CSV: 105 x 25 at the right, 37 pixels from the top.
  xdotool mousemove --window "$REPORT" $((755 - 6 - 52)) $((37 + 12)) click 1
  ZL_OPEN_DIALOGS=$REPORT zl_wait_dialog
  local save_title
  save_title=$(printf 'Ulo\x9eit CSV' | iconv -f CP1250 -t UTF-8)
  [ "$(zl_window_name "$DIALOG")" = "$save_title" ] || zl_fail "the save dialog is called '$(zl_window_name "$DIALOG")'"
  zl_keys "$DIALOG" Return
  zl_wait_dialog_gone
  zl_wait_for 5 test -s "$HOME/work-history-$monday-$sunday.csv" ||
    zl_fail "no CSV of the week before: $(ls "$HOME")"

  zl_step "Right comes back to this week"
  zl_keys "$REPORT" Right
  sleep 0.3
  xdotool mousemove --window "$REPORT" $((755 - 6 - 52)) $((37 + 12)) click 1
  ZL_OPEN_DIALOGS=$REPORT zl_wait_dialog
  zl_keys "$DIALOG" Return
  zl_wait_dialog_gone
  monday=$(date -d "$monday +7 days" +%F)
  sunday=$(date -d "$sunday +7 days" +%F)
  zl_wait_for 5 test -s "$HOME/work-history-$monday-$sunday.csv" || zl_fail "no CSV of this week: $(ls "$HOME")"
  zl_close_dialog "$REPORT"
  zl_stop
  zl_expect_day_saved
}

scenario_a_mistyped_option_prints_the_usage_and_starts_nothing() {
  zl_install
  zl_write_quiet_setup
  write_target_log
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  local before arguments status
  before=$(zl_listing)
  for arguments in "-x" "foo" "-report all" "--report all -x"; do
    zl_step "zentavo-logger $arguments"
    status=0
    # shellcheck disable=SC2086 # the words are the arguments
    timeout 10 "$PROGRAM_DIR/zentavo-logger" $arguments >"$ZL_WORK/out.txt" 2>"$ZL_WORK/err.txt" || status=$?
    [ "$status" = 2 ] || zl_fail "status $status for '$arguments'"
    grep -q '^Usage: zentavo-logger --report' "$ZL_WORK/err.txt" || zl_fail "no usage for '$arguments': $(cat "$ZL_WORK/err.txt")"
    [ ! -s "$ZL_WORK/out.txt" ] || zl_fail "'$arguments' wrote to the standard output"
    [ -z "$(zl_program_windows)" ] || zl_fail "a window showed for '$arguments'"
  done
  [ "$(zl_listing)" = "$before" ] || zl_fail "a mistyped option changed the program's folder"
}

scenario_the_report_command_loads_no_window_toolkit() {
  zl_install
  zl_write_quiet_setup
  write_target_log
  zl_step "the first report (the window program keeps the locale's date pattern)"
  "$PROGRAM_DIR/zentavo-logger" --report month --csv >"$ZL_WORK/first.csv" || zl_fail "the first report failed"
  zl_step "the next one, from the command alone, gives the same and maps no Qt library"
  LD_DEBUG=files "$PROGRAM_DIR/zentavo-logger" --report month --csv >"$ZL_WORK/second.csv" 2>"$ZL_WORK/loader.txt" ||
    zl_fail "the second report failed"
  cmp -s "$ZL_WORK/first.csv" "$ZL_WORK/second.csv" || zl_fail "the two reports differ"
  ! grep -q 'file=libQt6' "$ZL_WORK/loader.txt" || zl_fail "the report loaded $(grep -o 'file=libQt6[^ ]*' "$ZL_WORK/loader.txt" | head -3)"
  grep -q '^work_type,minutes$' "$ZL_WORK/second.csv" || zl_fail "no report: $(head -3 "$ZL_WORK/second.csv")"
}

zl_main "$@" the_report_command_loads_no_window_toolkit a_mistyped_option_prints_the_usage_and_starts_nothing r_reads_the_history_in_and_escape_closes a_damaged_history_is_rebuilt_from_the_window \
  left_goes_back_a_week_and_the_save_dialog_speaks_czech
