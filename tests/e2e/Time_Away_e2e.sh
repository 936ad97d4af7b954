#!/usr/bin/env bash
# Time away from the running program: no input for Away_Minutes brings the question once the
# user is back, and "Book it" stores the time as a record; a sleep told on a private system
# bus with the clock jumping over the night begins a new day at the resume minute, and a
# sleep within the day is asked about. Usage: bash Time_Away_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# Screenshots of the question for the notes, where ZL_AWAY_SHOTS names a folder.
away_keep_shot() { [ -z "${ZL_AWAY_SHOTS:-}" ] || import -window "$DIALOG" "$ZL_AWAY_SHOTS/away_question_$1.png"; }

scenario_no_input_for_away_minutes_brings_the_question() {
  zl_install
  zl_write_quiet_setup '[Day_Setup]' 'Away_Minutes=1'
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 12:05" "DEFAULT" "04:05" ""
  # Neither bus: the X server's idleness is the only source.
  DBUS_SESSION_BUS_ADDRESS= DBUS_SYSTEM_BUS_ADDRESS=unix:path=$ZL_WORK/no-bus zl_start_window "$today 12:05:00"
  xdotool mousemove 5 5
  sleep 63
  zl_dialog_shows && zl_fail "the question came while the user was still away"
  xdotool mousemove 400 400
  zl_wait_dialog
  [ "$(zl_window_name "$DIALOG")" = "Čas mimo počítač" ] || zl_fail "the dialog is '$(zl_window_name "$DIALOG")'"
  away_keep_shot cs
  xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
  zl_type "Oběd"
  xdotool key Tab
  zl_type "jídelna"
  xdotool key Return
  zl_wait_dialog_gone
  zl_wait_for 5 zl_record_count_is 3 || zl_fail "the booked time did not reach the day log"
  zl_expect_fields "2:3=Oběd" "2:4=00:01" "2:5=jídelna"
  zl_stop
}

# A private bus that stands in for the system bus; its address in ZL_BUS.
away_start_bus() {
  dbus-daemon --session --nofork --print-address=3 --address="unix:path=$ZL_WORK/bus" 3>"$ZL_WORK/bus.address" &
  ZL_ALL_PIDS="$ZL_ALL_PIDS $!"
  zl_wait_for 5 test -s "$ZL_WORK/bus.address" || zl_fail "no private bus"
  ZL_BUS=$(head -n1 "$ZL_WORK/bus.address")
}

away_sleep_signal() {
  dbus-send --bus="$ZL_BUS" --type=signal /org/freedesktop/login1 org.freedesktop.login1.Manager.PrepareForSleep "boolean:$1"
}

# The program's clock at "YYYY-MM-DD HH:MM:SS" from now on, as the running program reads it.
away_set_clock() { printf '%+d\n' $(($(date -d "$1" +%s) - $(date +%s))) >"$ZL_WORK/faketime"; }

scenario_sleep_told_on_the_bus_with_the_clock_over_the_night() {
  command -v dbus-daemon >/dev/null || { echo "NOTE: no dbus-daemon, the scenario is left out"; return 0; }
  zl_install
  zl_write_quiet_setup 'Language_File_Name=English.lng' '[Day_Setup]' 'Away_Minutes=15'
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 12:05" "DEFAULT" "04:05" ""
  away_start_bus
  away_set_clock "$today 12:05:00"
  LD_PRELOAD=$ZL_FAKETIME_LIBRARY FAKETIME_TIMESTAMP_FILE=$ZL_WORK/faketime FAKETIME_NO_CACHE=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1 DBUS_SYSTEM_BUS_ADDRESS=$ZL_BUS DBUS_SESSION_BUS_ADDRESS= zl_start_window
  sleep 1.5  # the watch listens from the first minute tick on
  away_sleep_signal true
  sleep 0.3
  away_set_clock "$today 12:50:00"
  away_sleep_signal false
  zl_wait_dialog
  [ "$(zl_window_name "$DIALOG")" = "Time away" ] || zl_fail "the dialog is '$(zl_window_name "$DIALOG")'"
  away_keep_shot en
  xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
  zl_type "Lunch"
  xdotool key Return
  zl_wait_dialog_gone
  zl_wait_for 5 zl_record_count_is 3 || zl_fail "the booked time did not reach the day log"
  zl_expect_fields "2:3=Lunch" "2:4=00:45"
  # Asleep at 23:00, back at 07:30 the next day.
  away_set_clock "$today 23:00:00"
  sleep 1
  away_sleep_signal true
  sleep 0.3
  away_set_clock "$tomorrow 07:30:00"
  away_sleep_signal false
  zl_wait_for 5 zl_field_is 0 1 "$tomorrow_text" || zl_fail "the day log still holds '$(zl_field 0 1)' after the resume"
  [[ $(zl_field 0 2) =~ ^07:3[0-1]\ -\ 07:3[0-1]$ ]] || zl_fail "the new day's span is '$(zl_field 0 2)'"
  zl_expect_record_count 1
  sleep 1
  zl_dialog_shows && zl_fail "the night was asked about as time away: $(zl_window_name "$DIALOG")"
  zl_stop
  [ "$(grep -c ";Lunch;00:45;" "$PROGRAM_DIR/Work_Log.csv")" = 1 ] && grep -q ";$today_text;" "$PROGRAM_DIR/Work_Log.csv" ||
    zl_fail "the target log does not hold the finished day with its booked time once"
}

zl_main "$@" no_input_for_away_minutes_brings_the_question sleep_told_on_the_bus_with_the_clock_over_the_night
