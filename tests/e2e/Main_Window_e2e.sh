#!/usr/bin/env bash
# The main window's own keys, and a start where there is no display to show it on.
# Usage: bash Main_Window_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

# Without a display the program says so in one line and ends with status 1, touching nothing.
scenario_no_display() {
  zl_install
  zl_write_quiet_setup
  local before status=0
  before=$(zl_listing)
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/out" 2>&1 || status=$?
  [ "$status" = 1 ] || zl_fail "without a display the program ended with status $status"
  [ "$(wc -l <"$ZL_WORK/out")" = 1 ] && grep -q "no display" "$ZL_WORK/out" ||
    zl_fail "without a display the program said: $(cat "$ZL_WORK/out")"
  [ "$(zl_listing)" = "$before" ] || zl_fail "without a display the program changed files: $(diff <(echo "$before") <(zl_listing))"
}

# Enter shows and hides the button bar (30 pixels); Escape puts the window away and a
# second start brings it back with its command keys armed; the minimise button puts it
# away too, and the day still ends in order.
scenario_keys_and_restore() {
  zl_start_morning_day 09:30:00
  local window=$MAIN_WINDOW rows
  rows=$(zl_rows_height 1)
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" Return
  zl_wait_height $((rows + 30))
  zl_keys "$MAIN_WINDOW" Return
  zl_wait_height "$rows"
  zl_keys "$MAIN_WINDOW" Escape
  zl_wait_for 5 eval '! zl_find_main_window >/dev/null' || zl_fail "Escape did not put the window away"
  zl_second_start
  zl_wait_for 5 eval '[ "$(zl_find_main_window)" = "$window" ]' || zl_fail "a second start did not bring the window back"
  # Keys are ignored while the window fades in: eleven ticks of 30 ms.
  sleep 0.6
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" Return
  zl_wait_height $((rows + 30))
  xdotool mousemove --window "$MAIN_WINDOW" 740 14 click 1
  zl_wait_for 5 eval '! zl_find_main_window >/dev/null' || zl_fail "the minimise button did not put the window away"
  zl_stop
  zl_expect_day_saved
  zl_expect_fields "0:2=08:00 - 09:30"
}

# The window takes the keyboard at start and after it comes back: its keys act with the
# pointer elsewhere and without a click or a focus given by hand. It asks every taskbar
# to leave it off, whatever the taskbar makes of its window type.
scenario_keys_act_without_a_click() {
  xdotool mousemove 1200 20
  zl_start_morning_day 09:30:00
  xprop -id "$MAIN_WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    zl_fail "the main window does not ask to be left off the taskbar: $(xprop -id "$MAIN_WINDOW" _NET_WM_STATE)"
  zl_wait_for 3 eval '[ "$(xdotool getwindowfocus 2>/dev/null)" = "$MAIN_WINDOW" ]' ||
    zl_fail "the window shown at start has no keyboard focus (focus: $(xdotool getwindowfocus 2>/dev/null))"
  xdotool key --clearmodifiers a
  zl_wait_dialog
  zl_step "A opened '$(zl_window_name "$DIALOG")' without a click"
  xdotool key --clearmodifiers Escape
  zl_wait_dialog_gone
  zl_wait_for 3 eval '[ "$(xdotool getwindowfocus 2>/dev/null)" = "$MAIN_WINDOW" ]' ||
    zl_fail "the window lost the keyboard to its closed editor"
  xdotool key --clearmodifiers Escape
  zl_wait_for 5 eval '! zl_find_main_window >/dev/null' || zl_fail "Escape did not put the window away"
  zl_second_start
  zl_wait_main_window
  sleep 0.6
  xdotool mousemove 1200 20
  xdotool key --clearmodifiers a
  zl_wait_dialog
  xdotool key --clearmodifiers Escape
  zl_wait_dialog_gone
  zl_stop
  zl_expect_day_saved
}

zl_main "$@" no_display keys_and_restore keys_act_without_a_click
