#!/usr/bin/env bash
# The main window's own keys and wheel, the testing panel's keys, and a start where there
# is no display to show it on.
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

# Today's day from 08:00 with Porada 00:30 and Oprava 01:00 in rows 2 and 3, run from 12:00.
start_day_with_two_records() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 12:00" "Pracovní doba" "04:00" "" \
    "" "" "" "DEFAULT" "02:30" "" "" "" "" "Porada" "00:30" "" "" "" "" "Oprava" "01:00" ""
  zl_start_window "$today 12:00:00"
  zl_wait_height "$(zl_rows_height 4)"
}

duration_cell_of_row() { import -window "$MAIN_WINDOW" -crop "87x17+408+$((46 + $1 * 17))" rgb:- 2>/dev/null | md5sum; }

# The wheel acts on the row the pointer was last over wherever on the window it turns:
# over the header row, the title, the margin beside the table and the button bar. The
# pointer passes over the row while the program is busy (stopped here), so that both
# movements wait for it together, as they do on a loaded desktop.
scenario_wheel_outside_the_table() {
  start_day_with_two_records
  zl_pointer_away
  local shown place minutes=30
  for place in "300 37 header row" "300 15 title" "3 100 margin"; do
    set -- $place
    shown=$(duration_cell_of_row 2)
    kill -STOP "$ZL_PID"
    xdotool mousemove --window "$MAIN_WINDOW" 300 $((46 + 2 * 17 + 8)) mousemove --window "$MAIN_WINDOW" "$1" "$2"
    kill -CONT "$ZL_PID"
    sleep 0.3
    xdotool click 4
    minutes=$((minutes + 10))
    zl_wait_field 2 4 "$(printf '%02d:%02d' $((minutes / 60)) $((minutes % 60)))"
    zl_wait_for 2 eval '[ "$(duration_cell_of_row 2)" != "$shown" ]' || zl_fail "row 2 does not show its new duration after the wheel over the $3"
  done
  zl_keys "$MAIN_WINDOW" Return
  zl_wait_height $(($(zl_rows_height 4) + 30))
  # Over the add button of the bar.
  xdotool mousemove --window "$MAIN_WINDOW" 60 $((4 * 17 + 60)) click 5
  zl_wait_field 2 4 "00:50"
  zl_expect_rows "DEFAULT=02:10 Porada=00:50 Oprava=01:00"
  zl_stop
  zl_expect_day_saved
}

# A key the testing panel's list does not use acts once: Ctrl+D there asks one question.
scenario_testing_panel_keys_act_once() {
  start_day_with_two_records
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" q z v
  zl_wait_height 620
  xdotool mousemove --window "$MAIN_WINDOW" 200 470 click 1
  sleep 0.2
  zl_keys "$MAIN_WINDOW" ctrl+d
  zl_answer_dialog Escape
  sleep 1
  zl_expect_only_main_window
  zl_keys "$MAIN_WINDOW" ctrl+d
  zl_answer_dialog Return
  zl_wait_for 3 zl_record_count_is 1 || zl_fail "the day log holds $(zl_record_count) records after Ctrl+D"
  sleep 1
  zl_expect_only_main_window
  zl_stop
  zl_expect_record_count 1
}

# A protocol line of 741 pixels or more shows whole as a tooltip while the pointer rests on
# it; the list's own (empty) tooltip of a resting pointer must not take it away.
# The widest window of the program besides the main window: the tooltip.
tooltip_width() {
  local window
  for window in $(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null); do
    [ "$window" = "$MAIN_WINDOW" ] || zl_window_size "$window" | cut -dx -f1
  done | sort -n | tail -n1
}
scenario_long_protocol_line_tooltip_stays() {
  # A deep program folder makes the start's first protocol line long.
  PROGRAM_DIR=$ZL_WORK/a_folder_whose_name_is_long_enough_to_make_a_protocol_line_wider_than_the_list/program
  mkdir -p "$(dirname "$PROGRAM_DIR")"
  zl_install
  zl_write_quiet_setup
  zl_start
  zl_answer_start_question Return
  zl_wait_main_window
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" q z v
  zl_wait_height 620
  xdotool mousemove --window "$MAIN_WINDOW" 200 419
  sleep 0.1
  xdotool mousemove --window "$MAIN_WINDOW" 201 420
  zl_wait_for 3 eval '[ "$(tooltip_width)" -gt 300 ]' || zl_fail "no tooltip shows the long line"
  sleep 1.5
  [ "$(tooltip_width)" -gt 300 ] 2>/dev/null || zl_fail "the tooltip of the long line went while the pointer rested on it"
  zl_stop
}

zl_main "$@" no_display keys_and_restore keys_act_without_a_click wheel_outside_the_table testing_panel_keys_act_once \
  long_protocol_line_tooltip_stays
