#!/usr/bin/env bash
# The program as one user meets it on a desktop: one copy per user and folder whatever the
# display, a visible way to quit (Ctrl+Q, the tray icon's menu), and the first start in
# the user's own language.
# Usage: bash Desktop_Session_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# A second X server of the same user, as another login or a nested session would have.
start_second_display() {
  local display_file=$ZL_WORK/display2
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$display_file" >"$ZL_WORK/xvfb2.log" 2>&1 &
  ZL_ALL_PIDS="$ZL_ALL_PIDS $!"
  zl_wait_for 10 test -s "$display_file" || zl_fail "the second Xvfb gave no display"
  SECOND_DISPLAY=:$(head -n1 "$display_file")
  zl_wait_for 10 eval 'DISPLAY=$SECOND_DISPLAY xdotool getdisplaygeometry >/dev/null 2>&1' ||
    zl_fail "the second X server takes no clients"
}

program_processes() { pgrep -x -f "$PROGRAM_DIR/zentavo-logger" | wc -l; }

# The program runs on one display with a record added; starts from a second display, and
# from a session with a runtime folder of its own, hand over to it: one process remains,
# and at its end the day holds the record.
scenario_one_copy_across_displays() {
  zl_start_morning_day 09:00:00
  zl_add_record "Porada" 00 30 "dva displeje"
  start_second_display
  local status=0 other_runtime=$ZL_WORK/other-runtime
  mkdir -m 700 "$other_runtime"
  for environment in "DISPLAY=$SECOND_DISPLAY" "DISPLAY=$SECOND_DISPLAY XDG_RUNTIME_DIR=$other_runtime"; do
    zl_step "a start with $environment"
    status=0
    env $environment timeout 10 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/other.out" 2>&1 || status=$?
    [ "$status" = 0 ] || zl_fail "the start with $environment ended with status $status: $(cat "$ZL_WORK/other.out")"
    [ "$(program_processes)" = 1 ] || zl_fail "$(program_processes) copies run after a start with $environment"
    zl_running || zl_fail "the first copy ended"
  done
  zl_stop
  zl_expect_day_saved
  zl_expect_record_count 3
  zl_expect_fields "2:3=Porada" "2:5=dva displeje"
}

# A copy that holds the folder's lock but cannot be reached (another computer sharing the
# home folder): a start says so in a message and ends with status 1, touching nothing.
scenario_unreachable_copy_is_told() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  local before
  exec 7>"$PROGRAM_DIR/.zentavo-logger.lock"
  flock -x 7
  before=$(zl_listing)
  zl_start
  zl_wait_for 15 zl_dialog_shows || zl_fail "no message within 15 s"
  zl_step "message '$(zl_window_name "$DIALOG")'"
  zl_no_main_window "beside the message"
  import -window "$DIALOG" "$ZL_WORK/unreachable.png" 2>/dev/null || true
  zl_keys "$DIALOG" Return
  zl_wait_for 10 zl_ended || zl_fail "the start did not end after the message"
  zl_reap
  [ "$ZL_STATUS" = 1 ] || zl_fail "the start ended with status $ZL_STATUS, expected 1"
  grep -qF "$PROGRAM_DIR" "$ZL_WORK/program.$ZL_RUN.out" || zl_fail "stderr says: $(cat "$ZL_WORK/program.$ZL_RUN.out")"
  [ "$(zl_listing)" = "$before" ] || zl_fail "the refused start changed files: $(diff <(echo "$before") <(zl_listing))"
  exec 7>&-
}

# Ctrl+Q in the window ends the program as closing does: the day with its record is saved.
scenario_quit_with_ctrl_q() {
  zl_start_morning_day 10:00:00
  zl_add_record "Porada" 00 30 "ctrl q"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" ctrl+q
  zl_wait_exit
  zl_expect_day_saved
  zl_expect_record_count 3
  zl_expect_fields "2:5=ctrl q"
}

windows_by_class() { xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort || true; }

docked_icon() {
  xwininfo -root -tree 2>/dev/null | awk '
    /"panel": \("panel" "trayer"\)/ { match($0, /^ */); indent = RLENGTH; inside = 1; next }
    inside { match($0, /^ */); if (RLENGTH <= indent) inside = 0; else if (/"zentavo-logger"/) { print $1; exit } }'
}

# The tray icon's menu (right button) offers the program's commands; its last, Quit, ends
# the program with the day saved.
scenario_quit_from_tray_menu() {
  zl_start_morning_day 10:00:00
  zl_add_record "Porada" 00 30 "menu"
  local icon menu x y before
  zl_wait_for 10 eval 'icon=$(docked_icon); [ -n "$icon" ]' || zl_fail "no icon docked in the tray"
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  x=$((X + WIDTH / 2)) y=$((Y + HEIGHT / 2))
  before=$(windows_by_class)
  xdotool mousemove "$x" "$y" click 3
  # The menu is a popup without a title: it is found by the program's class.
  zl_wait_for 10 eval 'menu=$(comm -13 <(echo "$before") <(windows_by_class) | head -n1); [ -n "$menu" ]' ||
    zl_fail "no menu within 10 s"
  sleep 0.3
  import -window root "$ZL_WORK/tray-menu.png" 2>/dev/null || true
  zl_step "menu $(zl_window_size "$menu") at $(zl_window_position "$menu")"
  # The popup has the keyboard: Up from nothing chosen is the last entry, Quit.
  xdotool key --delay 60 Up Return
  zl_wait_exit
  zl_expect_day_saved
  zl_expect_record_count 3
  zl_expect_fields "2:5=menu"
}


# A first start without Setup.ini speaks the language of the locale, and Setup.ini keeps it.
scenario_first_start_follows_the_locale() {
  local locale language day_name
  for locale in en_US.UTF-8 cs_CZ.UTF-8; do
    zl_step "first start under LANG=$locale"
    zl_install
    LC_ALL= LANG=$locale zl_start "$today 08:30:00"
    # No day log yet: the start-up asks whether to begin a new day.
    zl_answer_start_question Return
    zl_wait_main_window
    import -window "$MAIN_WINDOW" "$ZL_WORK/first-start-$locale.png" 2>/dev/null || true
    zl_stop
    case $locale in
      en*) language=English.lng day_name=$(LC_ALL=C date -d "$today" +%A) ;;
      *) language=Czech.lng day_name=$(zl_day_name "$today") ;;
    esac
    grep -qx "Language_File_Name=$language"$'\r' "$PROGRAM_DIR/Setup.ini" ||
      zl_fail "Setup.ini under LANG=$locale does not name $language: $(tr -d '\r' <"$PROGRAM_DIR/Setup.ini")"
    zl_field_is 0 0 "$day_name" || zl_fail "under LANG=$locale the day is named '$(zl_field 0 0)', expected '$day_name'"
  done
}

# The settings dialog lists the language files by their own names; choosing English changes
# the window at once, today's day name in the stored day included.
scenario_language_chosen_in_settings() {
  zl_start_morning_day 09:00:00
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  sleep 0.3
  import -window "$DIALOG" "$ZL_WORK/settings-czech.png" 2>/dev/null || true
  # The language box (second item: English), then OK.
  xdotool mousemove --window "$DIALOG" 500 308 click 1
  sleep 0.4
  xdotool key --delay 80 Down Return
  sleep 0.2
  xdotool mousemove --window "$DIALOG" 180 362 click 1
  zl_wait_dialog_gone
  local english_day
  english_day=$(LC_ALL=C date -d "$today" +%A)
  zl_wait_field 0 0 "$english_day"
  grep -qx "Language_File_Name=English.lng"$'\r' "$PROGRAM_DIR/Setup.ini" ||
    zl_fail "Setup.ini does not name English.lng: $(tr -d '\r' <"$PROGRAM_DIR/Setup.ini")"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  sleep 0.3
  import -window "$DIALOG" "$ZL_WORK/settings-english.png" 2>/dev/null || true
  zl_close_dialog "$DIALOG"
  zl_stop
  zl_expect_fields "0:0=$english_day"
}

zl_main "$@" one_copy_across_displays unreachable_copy_is_told quit_with_ctrl_q quit_from_tray_menu \
  first_start_follows_the_locale language_chosen_in_settings
