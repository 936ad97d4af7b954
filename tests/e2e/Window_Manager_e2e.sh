#!/usr/bin/env bash
# The program on a desktop as users have one: a window manager (openbox), a panel with a
# taskbar and a notification area (tint2) and a compositor (picom). Checked here: the
# keyboard focus at start, after a dialog and after a reveal; a modal dialog above the
# window; no taskbar button; the icon docked in the panel's tray, where a double click puts
# the window away and a click brings it back; the fades as the compositor shows them; and
# the two lines of the icon's hint and of the full-time balloon.
# Usage: bash Window_Manager_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"
source "$ZL_LIB_DIR/windows.sh"

ZL_SCREEN_PIXEL="python3 $ZL_LIB_DIR/../tools/screen_pixel.py"
# Task buttons are drawn in a colour that nothing else on the panel has.
TASK_BUTTON_COLOUR='#FF0000'

write_panel_config() {
  cat >"$1" <<'EOF'
# Background 1: the panel
rounded = 0
border_width = 0
background_color = #303030 100
border_color = #000000 0
# Background 2: a task button
rounded = 0
border_width = 0
background_color = #ff0000 100
border_color = #000000 0

panel_items = TS
panel_size = 100% 30
panel_position = bottom center horizontal
panel_layer = top
panel_background_id = 1
taskbar_mode = single_desktop
task_background_id = 2
task_active_background_id = 2
task_iconified_background_id = 2
task_text = 1
task_icon = 1
task_maximum_size = 200 26
systray_padding = 2 2 2
systray_icon_size = 22
EOF
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
# grep reads the whole tree: with pipefail, an early exit of grep -q would end xwininfo with
# SIGPIPE and fail the check just when the window is there.
panel_tray_shows() { xwininfo -root -tree 2>/dev/null | grep '"tint2": ("tint2" "Tint2")' >/dev/null; }
compositor_running() { xwininfo -root -tree 2>/dev/null | grep '"picom": ("picom" "picom")' >/dev/null; }

start_desktop() {
  zl_start_x_server
  local config=$ZL_SUITE_WORK/tint2rc pid
  write_panel_config "$config"
  local attempt
  for attempt in 1 2 3; do
    openbox --sm-disable >>"$ZL_SUITE_WORK/openbox.log" 2>&1 &
    ZL_DESKTOP_PIDS="$!"
    zl_wait_for 10 wm_running && break
    kill "$ZL_DESKTOP_PIDS" 2>/dev/null || true
    wait "$ZL_DESKTOP_PIDS" 2>/dev/null || true
    ZL_DESKTOP_PIDS=''
  done
  wm_running || { cat "$ZL_SUITE_WORK/openbox.log" >&2; echo "FAIL: openbox did not start" >&2; exit 1; }
  # openbox leaves the opacity on the client window; picom is told to look there. The
  # compositor comes before the panel, which would make its window anew for it.
  picom --config /dev/null --backend xrender --detect-client-opacity >"$ZL_SUITE_WORK/picom.log" 2>&1 &
  ZL_DESKTOP_PIDS="$! $ZL_DESKTOP_PIDS"
  zl_wait_for 10 compositor_running || { cat "$ZL_SUITE_WORK/picom.log" >&2; echo "FAIL: picom did not start" >&2; exit 1; }
  tint2 -c "$config" >"$ZL_SUITE_WORK/tint2.log" 2>&1 &
  ZL_DESKTOP_PIDS="$! $ZL_DESKTOP_PIDS"
  zl_wait_for 10 panel_tray_shows || { cat "$ZL_SUITE_WORK/tint2.log" >&2; echo "FAIL: tint2 did not start" >&2; exit 1; }
  for pid in $ZL_DESKTOP_PIDS; do kill -0 "$pid" 2>/dev/null || { echo "FAIL: a part of the desktop ended" >&2; exit 1; }; done
  zl_note_base_windows
}
ZL_DESKTOP_STARTER=start_desktop
ZL_TRAY_HOST='"tint2": ("tint2" "Tint2")'
icon_centre() {
  local icon
  icon=$(docked_icon)
  echo "$(($(upper_left "$icon" "the icon" X) + 11)) $(($(upper_left "$icon" "the icon" Y) + 11))"
}

active_window() { xdotool getactivewindow 2>/dev/null || true; }
focus_window() { xdotool getwindowfocus 2>/dev/null || true; }
# The window manager's active window and the keyboard focus are both this window.
has_focus() { [ "$(active_window)" = "$1" ] && [ "$(focus_window)" = "$1" ]; }
expect_focus() {
  zl_wait_for 3 has_focus "$1" ||
    zl_fail "$2 has not the focus (active: $(zl_window_name "$(active_window)"), keyboard: $(zl_window_name "$(focus_window)"))"
}

# The window ids of a root property that lists windows, one a line, as xdotool gives them.
root_window_list() {
  local id
  for id in $(xprop -root "$1" | sed 's/.*# //; s/,//g'); do echo $((id)); done
}
# The managed windows from the bottom of the stack to its top.
stacking() { root_window_list _NET_CLIENT_LIST_STACKING; }
# Gives 0 when the first window lies above the second.
stacked_above() {
  local order
  order=$(stacking)
  [ "$(echo "$order" | grep -nx "$1" | cut -d: -f1)" -gt "$(echo "$order" | grep -nx "$2" | cut -d: -f1)" ]
}

# The topmost managed window that is not the panel.
top_window() {
  local window
  for window in $(stacking | tac); do
    xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DOCK && continue
    echo "$window"
    return
  done
}

net_wm_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
managed() { root_window_list _NET_CLIENT_LIST | grep -qx "$1"; }

# Pixels of the task buttons' colour on the panel: each task button has many.
task_button_pixels() {
  import -window root -crop 1280x30+0+994 -depth 8 txt:- 2>/dev/null | grep -c "$TASK_BUTTON_COLOUR" || true
}


# Samples, in the background, the window's opacity property and the colour the compositor
# shows at a point of it, until stop_sampling.
start_sampling() {
  local window=$1 x=$2 y=$3
  SAMPLES=$ZL_WORK/samples.$RANDOM
  while :; do window_opacity "$window"; sleep 0.005; done >"$SAMPLES.opacity" &
  OPACITY_SAMPLER=$!
  $ZL_SCREEN_PIXEL watch "$x" "$y" 5 >"$SAMPLES.colour" &
  COLOUR_SAMPLER=$!
  # Both samplers have seen the state before the fade.
  zl_wait_for 5 test -s "$SAMPLES.colour" && zl_wait_for 5 test -s "$SAMPLES.opacity" || zl_fail "the samplers did not start"
}
stop_sampling() {
  kill "$OPACITY_SAMPLER" 2>/dev/null || true
  wait "$OPACITY_SAMPLER" 2>/dev/null || true
  kill "$COLOUR_SAMPLER" 2>/dev/null || true
  wait "$COLOUR_SAMPLER" 2>/dev/null || true
  OPACITIES=$(uniq "$SAMPLES.opacity" | tr '\n' ' ')
  COLOURS=$(tr '\n' ' ' <"$SAMPLES.colour")
}
# A fade is a run of steps: several opacities on the property, and on the screen colours
# between the window's and the desktop's.
expect_fade_seen() {
  [ "$(echo "$OPACITIES" | wc -w)" -ge 3 ] || zl_fail "$1: the opacity took only the values $OPACITIES"
  [ "$(echo "$COLOURS" | wc -w)" -ge 3 ] || zl_fail "$1: the compositor showed only the colours $COLOURS"
  zl_step "$1: opacities $OPACITIES; colours on the screen $COLOURS"
}

# Lines of text in a window as the screen shows it: bands of rows with dark pixels, its
# frame and the outer columns left out, in the part of it from the given column on.
text_lines_of() {
  local window=$1 from_column=${2:-4} geometry
  geometry="$(zl_window_size "$window")+$(upper_left "$window" "the window" X)+$(upper_left "$window" "the window" Y)"
  import -window root -crop "$geometry" "$ZL_WORK/text_window.$window.png"
  convert "$ZL_WORK/text_window.$window.png" -colorspace gray -depth 8 -compress none pgm:- 2>/dev/null | python3 -c '
import sys
data = sys.stdin.buffer.read().split()
width, height = int(data[1]), int(data[2])
pixels = [int(v) for v in data[4:]]
first = int(sys.argv[1])
lines, inside = 0, False
for y in range(4, height - 4):
    row = pixels[y * width + first: y * width + width - 4]
    dark = sum(1 for p in row if p < 110)
    text = 0 < dark < 0.6 * len(row)
    if text and not inside:
        lines += 1
    inside = text
print(lines)' "$from_column"
}

# A window of the program that was not there before (a hint or a balloon), within the timeout.
new_program_window() {
  local before=$1
  local window
  for window in $(comm -13 <(echo "$before") <(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort)); do
    # Neither the main window nor the icon itself.
    [ "$window" != "$MAIN_WINDOW" ] && [ "$(zl_window_size "$window" | cut -dx -f1)" -gt 60 ] && echo "$window"
  done
  return 0
}
wait_new_program_window() {
  zl_wait_for "$2" eval 'NEW_WINDOW=$(new_program_window "$1" | head -n1); [ -n "$NEW_WINDOW" ]' || zl_fail "no $3 within $2 s"
}


# The tray icon is docked while the start still asks its question; the window then shows
# in front with the focus; the record editor opens above it with the focus and gives it
# back when it closes; neither the window nor its editor has a taskbar button.
scenario_focus_dialogs_and_taskbar() {
  zl_install
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' '[Visual_Setup]' 'Main_Form_Left=100' 'Main_Form_Top=100'
  zl_start
  zl_wait_dialog
  zl_wait_for 5 icon_docked || zl_fail "no icon in the panel's tray while the start asks its question"
  zl_answer_dialog Return
  zl_wait_main_window
  expect_focus "$MAIN_WINDOW" "the window shown at start"

  managed "$MAIN_WINDOW" || zl_fail "the window manager does not manage the main window"
  net_wm_state "$MAIN_WINDOW" | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    zl_fail "the main window does not ask to be left off the taskbar: $(net_wm_state "$MAIN_WINDOW")"
  sleep 0.3
  [ "$(task_button_pixels)" = 0 ] || zl_fail "the panel shows a taskbar button for the main window"

  xdotool key --clearmodifiers a
  zl_wait_dialog
  local editor=$DIALOG
  expect_focus "$editor" "the record editor"
  stacked_above "$editor" "$MAIN_WINDOW" || zl_fail "the record editor opened below the main window"
  net_wm_state "$editor" | grep -q _NET_WM_STATE_MODAL || zl_fail "the record editor is not modal: $(net_wm_state "$editor")"
  net_wm_state "$editor" | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    zl_fail "the record editor does not ask to be left off the taskbar: $(net_wm_state "$editor")"
  sleep 0.3
  [ "$(task_button_pixels)" = 0 ] || zl_fail "the panel shows a taskbar button for the record editor"
  zl_step "the editor is active, modal, above the window and off the taskbar"
  import -window root "$ZL_WORK/editor.png"

  xdotool key --clearmodifiers Escape
  zl_wait_dialog_gone
  expect_focus "$MAIN_WINDOW" "the main window after its editor closed"
  [ "$(top_window)" = "$MAIN_WINDOW" ] || zl_fail "'$(zl_window_name "$(top_window)")' is in front of the main window after its editor closed"
  zl_stop
  zl_expect_protocol "$ZL_NOT_FOUND" "$ZL_SAVED"
}

# A double click on the icon fades the window out, a click fades it back in with the focus;
# the compositor shows both fades as steps.
scenario_tray_puts_away_and_brings_back() {
  zl_start_morning_day 09:30:00
  zl_wait_for 5 icon_docked || zl_fail "no icon in the panel's tray"
  local icon_x icon_y
  read -r icon_x icon_y <<<"$(icon_centre)"
  local window_x window_y
  window_x=$(($(upper_left "$MAIN_WINDOW" "the main window" X) + 300))
  window_y=$(($(upper_left "$MAIN_WINDOW" "the main window" Y) + 12))

  start_sampling "$MAIN_WINDOW" "$window_x" "$window_y"
  xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 80 1
  zl_wait_for 3 eval '[ "$(map_state "$MAIN_WINDOW" "the main window")" = IsUnMapped ]' ||
    zl_fail "a double click on the icon did not put the window away"
  stop_sampling
  expect_fade_seen "fade out"
  zl_running || zl_fail "the program ended on the double click"

  xdotool mousemove 640 400
  start_sampling "$MAIN_WINDOW" "$window_x" "$window_y"
  xdotool mousemove "$icon_x" "$icon_y" click 1
  zl_wait_for 3 eval '[ "$(map_state "$MAIN_WINDOW" "the main window")" = IsViewable ]' ||
    zl_fail "a click on the icon did not bring the window back"
  sleep 0.8
  stop_sampling
  expect_fade_seen "fade in"
  [ "$(window_opacity "$MAIN_WINDOW")" = 235 ] || zl_fail "the window came back with opacity $(window_opacity "$MAIN_WINDOW")"
  expect_focus "$MAIN_WINDOW" "the window brought back from the tray"
  # The window manager forgets a hidden window's state; the hint is given again each time.
  net_wm_state "$MAIN_WINDOW" | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    zl_fail "the window brought back asks no more to be left off the taskbar: $(net_wm_state "$MAIN_WINDOW")"
  [ "$(task_button_pixels)" = 0 ] || zl_fail "the panel shows a taskbar button for the window brought back"
  xdotool mousemove 640 400 key --clearmodifiers a
  zl_wait_dialog
  xdotool key --clearmodifiers Escape
  zl_wait_dialog_gone
  zl_stop
  zl_expect_day_saved
}

# The hint of the hidden window's icon and the full-time balloon show their two lines.
scenario_hint_and_balloon_in_two_lines() {
  zl_install
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' 'Full_Time_Value=60' 'Display_Full_Time_Hint=1' \
    '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
  zl_write_day_log Ct 05.03.2026 "08:00 - 08:00" Celkem 00:00 ""
  zl_start_window '2026-03-05 08:59:55'
  zl_wait_for 5 icon_docked || zl_fail "no icon in the panel's tray"
  local before lines
  before=$(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort)
  wait_new_program_window "$before" 10 balloon
  sleep 0.5
  # The balloon's title, then its text in two lines.
  lines=$(text_lines_of "$NEW_WINDOW" 8)
  [ "$lines" = 3 ] || zl_fail "the balloon shows $lines lines of text, expected its title and two lines ($ZL_WORK/text_window.$NEW_WINDOW.png)"
  xdotool mousemove --window "$NEW_WINDOW" 20 20 click 1

  zl_keys "$MAIN_WINDOW" Escape
  zl_wait_for 3 eval '[ "$(map_state "$MAIN_WINDOW" "the main window")" = IsUnMapped ]' || zl_fail "Escape did not put the window away"
  local icon_x icon_y
  read -r icon_x icon_y <<<"$(icon_centre)"
  before=$(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort)
  xdotool mousemove $((icon_x - 1)) $((icon_y - 1))
  sleep 0.1
  xdotool mousemove "$icon_x" "$icon_y"
  wait_new_program_window "$before" 5 hint
  sleep 0.3
  lines=$(text_lines_of "$NEW_WINDOW")
  [ "$lines" = 2 ] || zl_fail "the icon's hint shows $lines lines of text, expected 2 ($ZL_WORK/text_window.$NEW_WINDOW.png)"
  import -window root "$ZL_WORK/hint_screen.png"
  xdotool mousemove 640 400
  zl_stop
}

# The record editor minimised from its title bar takes the window with it, and neither has a
# taskbar button: a click on the icon must bring back both, the editor in front with the
# focus, although the editor is modal.
scenario_tray_click_brings_back_a_minimised_dialog() {
  zl_start_morning_day 09:30:00
  zl_wait_for 5 icon_docked || zl_fail "no icon in the panel's tray"
  local icon_x icon_y editor
  read -r icon_x icon_y <<<"$(icon_centre)"
  xdotool mousemove 640 400 key --clearmodifiers a
  zl_wait_dialog
  editor=$DIALOG
  expect_focus "$editor" "the record editor"
  xdotool windowminimize "$editor"
  zl_wait_for 3 eval '[ "$(map_state "$editor" "the editor")" = IsUnMapped ]' || zl_fail "the editor was not minimised"
  zl_step "the editor is minimised; the main window is $(map_state "$MAIN_WINDOW" "the main window")"

  xdotool mousemove "$icon_x" "$icon_y" click 1
  zl_wait_for 3 eval '[ "$(map_state "$MAIN_WINDOW" "the main window")" = IsViewable ]' ||
    zl_fail "a click on the icon did not bring the window back"
  zl_wait_for 3 eval '[ "$(map_state "$editor" "the editor")" = IsViewable ]' ||
    zl_fail "a click on the icon did not bring the editor back"
  ! net_wm_state "$editor" | grep -q _NET_WM_STATE_HIDDEN || zl_fail "the editor is still hidden: $(net_wm_state "$editor")"
  zl_wait_for 3 stacked_above "$editor" "$MAIN_WINDOW" || zl_fail "the editor came back below the main window"
  expect_focus "$editor" "the editor brought back"
  xdotool key --clearmodifiers Escape
  zl_wait_dialog_gone
  zl_stop
  zl_expect_day_saved
}

zl_main "$@" focus_dialogs_and_taskbar tray_puts_away_and_brings_back hint_and_balloon_in_two_lines \
  tray_click_brings_back_a_minimised_dialog
