#!/usr/bin/env bash
# The real program beside a real tray host under Xvfb: its icon docks in the tray, Escape
# fades the window out and unmaps it, and a second start fades it back in to its resting
# opacity. Usage: bash Tray_e2e.sh <dist_dir>
# With ZL_TRAY_SHOT=<file.png> the screen with the icon in the tray is kept there.
set -euo pipefail

dist_dir=${1:?usage: Tray_e2e.sh <dist_dir>}
dist_dir=$(cd "$dist_dir" && pwd)

if [ -z "${ZL_E2E_INNER:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' env ZL_E2E_INNER=1 bash "$0" "$dist_dir"
fi

export LC_ALL=C.UTF-8 LANG=C.UTF-8
work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp
mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"
program_dir=$work/program
program_pid=
trayer_pid=

cleanup() {
  for pid in $program_pid $trayer_pid; do
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/program.out" ] && { echo "--- program output" >&2; cat "$work/program.out" >&2; }
  exit 1
}

write_field() {
  local text=$1
  printf "\\$(printf '%03o' "${#text}")"
  printf '%s' "$text"
  head -c $((255 - ${#text})) /dev/zero
}

# The opacity the program gives its window, 0 to 255 (no compositor shows it).
window_opacity() {
  local value
  value=$(xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/= / { print $2 }')
  if [ -z "$value" ]; then echo 255; else awk -v v="$value" 'BEGIN { printf "%d\n", v * 255 / 4294967295 + 0.5 }'; fi
}
map_state() {
  xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ { print $3 }'
}
# The program's windows docked in the tray host's panel.
docked_icons() {
  xwininfo -root -tree 2>/dev/null | awk '
    /"panel": \("panel" "trayer"\)/ { match($0, /^ */); indent = RLENGTH; inside = 1; next }
    inside { match($0, /^ */); if (RLENGTH <= indent) inside = 0; else if (/"zentavo-logger"/) count++ }
    END { print count + 0 }'
}

start_program() {
  if [ -n "${ZL_FAKE_TIME:-}" ]; then
    # Preloaded directly, so that the signals reach the program itself; the clock runs on.
    LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 FAKETIME="@$ZL_FAKE_TIME" \
      FAKETIME_DONT_FAKE_MONOTONIC=1 "$program_dir/zentavo-logger" >"$work/program.out" 2>&1 &
  else
    "$program_dir/zentavo-logger" >"$work/program.out" 2>&1 &
  fi
  program_pid=$!
  window=
  for tries in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && return 0
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its window showed"
    sleep 0.1
  done
  fail "no window within 10 s"
}
stop_program() {
  kill -TERM "$program_pid"
  for tries in $(seq 1 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end within 10 s of SIGTERM"
  local status=0
  wait "$program_pid" || status=$?
  program_pid=
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# A tray host on the top edge, as a desktop panel has it.
trayer --edge top --align right --widthtype request --height 24 --transparent false >"$work/trayer.out" 2>&1 &
trayer_pid=$!
for tries in $(seq 1 50); do
  xdotool search --class '^trayer$' >/dev/null 2>&1 && break
  sleep 0.1
done

cp -r "$dist_dir" "$program_dir"
rm -f "$program_dir"/{Actual_Work_Log.log,Error_Log.log,Work_Log.csv,Setup.ini}
printf '[Main_Setup]\r\nDisplay_Start_Splash_Screen=0\r\n[Visual_Setup]\r\nMain_Form_Left=260\r\nMain_Form_Top=120\r\n' \
  >"$program_dir/Setup.ini"
# Today's day, begun at 08:00, so the start asks nothing.
for field in Po "$(date '+%d.%m.%Y')" "08:00 - 08:00" Celkem 00:00 ""; do write_field "$field"; done \
  >"$program_dir/Actual_Work_Log.log"

start_program

for tries in $(seq 1 50); do
  [ "$(docked_icons)" -ge 1 ] && break
  sleep 0.1
done
[ "$(docked_icons)" -ge 1 ] || fail "no icon docked in the tray"
[ "$(window_opacity "$window")" = 235 ] || fail "the window shows with opacity $(window_opacity "$window"), expected 235"

# Escape: the opacity falls in steps, then the window is unmapped.
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key --window "$window" Escape
seen=" "
for tries in $(seq 1 200); do
  [ "$(map_state "$window")" = IsUnMapped ] && break
  value=$(window_opacity "$window")
  case "$seen" in *" $value "*) ;; *) seen="$seen$value " ;; esac
  sleep 0.01
done
[ "$(map_state "$window")" = IsUnMapped ] || fail "Escape did not put the window away within 2 s"
echo "opacities seen while fading out:$seen"
[ "$(echo "$seen" | wc -w)" -ge 2 ] || fail "the window vanished without a fade (opacities:$seen)"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended on Escape"
[ "$(docked_icons)" -ge 1 ] || fail "the icon left the tray with the window"

# Hidden, the icon shows the day's summary as its hint when the pointer rests on it: a
# tooltip window of the program appears beside the icon.
icon=$(xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ { inside = 1; next }
  inside && /"zentavo-logger"/ { print $1; exit }')
eval "$(xwininfo -id "$icon" | awk '/Absolute upper-left X:/ { print "icon_x=" $4 } /Absolute upper-left Y:/ { print "icon_y=" $4 }')"
visible_before=$(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort || true)
xdotool mousemove $((icon_x + 11)) $((icon_y + 11))
sleep 0.1
xdotool mousemove $((icon_x + 12)) $((icon_y + 12))
tip=
for tries in $(seq 1 30); do
  tip=$(comm -13 <(echo "$visible_before") <(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort) | head -n1)
  [ -n "$tip" ] && break
  sleep 0.1
done
[ -n "$tip" ] || fail "resting on the icon of the hidden window showed no hint"
tip_y=$(xwininfo -id "$tip" | awk '/Absolute upper-left Y:/ { print $4 }')
[ "$tip_y" -lt 80 ] || fail "the hint showed at y $tip_y, not beside the icon"
[ -n "${ZL_TRAY_SHOT:-}" ] && import -window root "${ZL_TRAY_SHOT%.png}-hint.png"
xdotool mousemove 640 600
# A second start hands over and ends; the running window fades back in.
timeout 5 "$program_dir/zentavo-logger" >"$work/second.out" 2>&1 || fail "the second start failed"
seen=" "
for tries in $(seq 1 200); do
  [ "$(map_state "$window")" = IsViewable ] && [ "$(window_opacity "$window")" = 235 ] && break
  value=$(window_opacity "$window")
  case "$seen" in *" $value "*) ;; *) seen="$seen$value " ;; esac
  sleep 0.01
done
echo "opacities seen while fading in:$seen"
[ "$(echo "$seen" | wc -w)" -ge 2 ] || fail "the window came back without a fade (opacities:$seen)"
[ "$(map_state "$window")" = IsViewable ] || fail "a second start did not bring the window back"
[ "$(window_opacity "$window")" = 235 ] || fail "the window came back with opacity $(window_opacity "$window")"

if [ -n "${ZL_TRAY_SHOT:-}" ]; then
  import -window root "$ZL_TRAY_SHOT"
fi

stop_program

# The full working day is announced by a balloon of the icon in the minute it is reached:
# the day began at 08:00, the full day is an hour, and the clock stands just before 09:00.
printf '[Main_Setup]\r\nDisplay_Start_Splash_Screen=0\r\nFull_Time_Value=60\r\nDisplay_Full_Time_Hint=1\r\n[Visual_Setup]\r\nMain_Form_Left=260\r\nMain_Form_Top=120\r\n' \
  >"$program_dir/Setup.ini"
for field in Ct 05.03.2026 "08:00 - 08:00" Celkem 00:00 ""; do write_field "$field"; done \
  >"$program_dir/Actual_Work_Log.log"
faked_start=$(date +%s)
ZL_FAKE_TIME='2026-03-05 08:59:57' start_program
visible_before=$(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort || true)
balloon=
for tries in $(seq 1 80); do
  balloon=$(comm -13 <(echo "$visible_before") <(xdotool search --onlyvisible --classname '^zentavo-logger$' 2>/dev/null | sort) | head -n1)
  [ -n "$balloon" ] && break
  sleep 0.1
done
[ -n "$balloon" ] || fail "no balloon within 8 s of the full working day"
balloon_y=$(xwininfo -id "$balloon" | awk '/Absolute upper-left Y:/ { print $4 }')
[ "$balloon_y" -lt 200 ] || fail "the balloon showed at y $balloon_y, not beside the icon"
echo "balloon after $(($(date +%s) - faked_start)) s"
[ -n "${ZL_TRAY_SHOT:-}" ] && import -window root "${ZL_TRAY_SHOT%.png}-balloon.png"
stop_program
echo "PASS"
