#!/usr/bin/env bash
# The program beside a real tray host: its icon docks, Escape fades the window out and
# unmaps it, the icon's hint shows beside it, a second start fades the window back in to
# its resting opacity, and the full working day is announced by a balloon.
# Usage: bash Tray_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"
source "$ZL_LIB_DIR/windows.sh"
# trayer's panel; no compositor shows the opacities read here.
ZL_TRAY_HOST='"panel": ("panel" "trayer")'
program_windows_by_class() { xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort || true; }

# Records the distinct opacities of the main window until the condition holds (2 s at most).
watch_fade() {
  local tries value
  FADE_SEEN=" "
  for tries in $(seq 1 200); do
    value=$(window_opacity "$MAIN_WINDOW")
    case "$FADE_SEEN" in *" $value "*) ;; *) FADE_SEEN="$FADE_SEEN$value " ;; esac
    "$@" && return 0
    sleep 0.01
  done
  return 1
}
faded_out() { [ "$(map_state "$MAIN_WINDOW")" = IsUnMapped ]; }
faded_in() { [ "$(map_state "$MAIN_WINDOW")" = IsViewable ] && [ "$(window_opacity "$MAIN_WINDOW")" = 235 ]; }

# A window of the program that was not there before, within the timeout, and no farther
# than 250 pixels from the icon (a hint or a balloon of the icon).
expect_new_window_beside_icon() {
  local before=$1 timeout=$2 what=$3 icon_y window
  icon_y=$(upper_left "$(docked_icon)" "the icon" Y)
  zl_wait_for "$timeout" eval 'window=$(comm -13 <(echo "$before") <(program_windows_by_class) | head -n1); [ -n "$window" ]' ||
    zl_fail "no $what within $timeout s"
  local distance=$(($(upper_left "$window" "the $what" Y) - icon_y))
  [ "${distance#-}" -lt 250 ] || zl_fail "the $what showed $distance pixels from the icon"
}

scenario_icon_fades_and_hint() {
  zl_start_morning_day 09:30:00
  zl_wait_for 5 icon_docked || zl_fail "no icon docked in the tray"
  [ "$(window_opacity "$MAIN_WINDOW")" = 235 ] || zl_fail "the window shows with opacity $(window_opacity "$MAIN_WINDOW"), expected 235"

  zl_keys "$MAIN_WINDOW" Escape
  watch_fade faded_out || zl_fail "Escape did not put the window away within 2 s"
  [ "$(echo "$FADE_SEEN" | wc -w)" -ge 2 ] || zl_fail "the window vanished without a fade (opacities:$FADE_SEEN)"
  zl_running || zl_fail "the program ended on Escape"
  icon_docked || zl_fail "the icon left the tray with the window"

  zl_step "the pointer rests on the icon of the hidden window: its hint shows"
  local before icon icon_x icon_y
  icon=$(docked_icon)
  icon_x=$(upper_left "$icon" "the icon" X)
  icon_y=$(upper_left "$icon" "the icon" Y)
  before=$(program_windows_by_class)
  xdotool mousemove $((icon_x + 11)) $((icon_y + 11))
  sleep 0.1
  xdotool mousemove $((icon_x + 12)) $((icon_y + 12))
  expect_new_window_beside_icon "$before" 3 hint
  # The pointer rests off the window, so that nothing but the fade's own timer acts.
  xdotool mousemove 640 400

  # Watched from before the second start: the fade may be over by the time it has ended.
  (watch_fade faded_in; echo "$FADE_SEEN" >"$ZL_WORK/fade_in") &
  local watcher=$!
  zl_second_start
  wait "$watcher" || zl_fail "after a second start the window is $(map_state "$MAIN_WINDOW") with opacity $(window_opacity "$MAIN_WINDOW")"
  FADE_SEEN=$(cat "$ZL_WORK/fade_in")
  # Between the hidden window's last value and the resting 235, a step of the fade.
  echo "$FADE_SEEN" | tr ' ' '\n' | awk '$1 > 20 && $1 < 230 { found = 1 } END { exit !found }' ||
    zl_fail "the window came back without a fade (opacities:$FADE_SEEN)"
  zl_stop
  zl_expect_day_saved
}

# The day began at 08:00, the full day is an hour, and the clock stands just before 09:00.
scenario_full_time_balloon() {
  zl_install
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' 'Full_Time_Value=60' 'Display_Full_Time_Hint=1' \
    '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
  zl_write_day_log Ct 05.03.2026 "08:00 - 08:00" Celkem 00:00 ""
  zl_start_window '2026-03-05 08:59:57'
  zl_wait_for 5 icon_docked || zl_fail "no icon docked in the tray"
  expect_new_window_beside_icon "$(program_windows_by_class)" 8 balloon
  # scripts/make_screenshots.sh takes the README's picture of the tray here.
  [ -z "${ZL_SCREENSHOT_DIR:-}" ] || { sleep 0.5; import -window root "$ZL_SCREENSHOT_DIR/screenshot-tray.png"; }
  zl_stop
}

zl_main "$@" icon_fades_and_hint full_time_balloon
