#!/usr/bin/env bash
# The real program under Xvfb: a stored day of yesterday is exported at the start, the new
# day is driven with keys and the wheel, a second start hands over and ends, and SIGTERM
# ends the day in order. Usage: bash Main_Window_e2e.sh <dist_dir>
set -euo pipefail

dist_dir=${1:?usage: Main_Window_e2e.sh <dist_dir>}
dist_dir=$(cd "$dist_dir" && pwd)

# Everything runs inside one private X server.
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
second_pid=

cleanup() {
  for pid in $second_pid $program_pid; do
    kill -KILL "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  for file in Error_Log.log Work_Log.csv; do
    [ -f "$program_dir/$file" ] && { echo "--- $file" >&2; cat "$program_dir/$file" >&2; }
  done
  [ -f "$work/program.out" ] && { echo "--- program output" >&2; cat "$work/program.out" >&2; }
  exit 1
}

# --- the day-log file: records of six 256-byte fields, a length byte and the characters
write_field() {
  local text=$1
  printf "\\$(printf '%03o' "${#text}")"
  printf '%s' "$text"
  head -c $((255 - ${#text})) /dev/zero
}
write_record() {
  local field
  for field in "$@"; do write_field "$field"; done
}
read_field() {  # file record field
  local offset=$(($2 * 1536 + $3 * 256)) length
  length=$(od -An -tu1 -j "$offset" -N1 "$1" | tr -d ' ')
  dd if="$1" bs=1 skip=$((offset + 1)) count="$length" 2>/dev/null
}
record_count() {
  local size
  size=$(stat -c %s "$1")
  [ $((size % 1536)) -eq 0 ] || fail "$1 is $size bytes, not whole records"
  echo $((size / 1536))
}

# --- the program
start_program() {
  "$program_dir/zentavo-logger" >"$work/program.out" 2>&1 &
  program_pid=$!
  local tries
  for tries in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && return 0
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its window showed"
    sleep 0.1
  done
  fail "no window within 10 s"
}
stop_program() {
  [ -n "${ZL_E2E_SHOT:-}" ] && import -window root "$ZL_E2E_SHOT.$(date +%s%N).png"
  kill -TERM "$program_pid"
  local tries
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
window_height() {
  xwininfo -id "$window" | awk '/Height:/ {print $2}'
}
press() {
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --delay 60 "$@"
  sleep 0.3
}
wait_for_height() {
  local expected=$1 tries
  for tries in $(seq 1 30); do
    [ "$(window_height)" = "$expected" ] && return 0
    sleep 0.1
  done
  fail "window height $(window_height), expected $expected"
}

cp -r "$dist_dir" "$program_dir"
rm -f "$program_dir"/{Actual_Work_Log.log,Actual_Work_Log.log.invalid,Error_Log.log,Work_Log.csv,Setup.ini}
printf '[Main_Setup]\r\nDisplay_Start_Splash_Screen=0\r\nDisplay_Zentavo_Overrange_Warning=0\r\n[Visual_Setup]\r\nMain_Form_Left=0\r\nMain_Form_Top=0\r\n' \
  >"$program_dir/Setup.ini"

# ===== Without a display the program says so in one line and ends, touching nothing.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program_dir/zentavo-logger" >"$work/no_display.out" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "without a display the program ended with status $status"
[ "$(wc -l <"$work/no_display.out")" -eq 1 ] && grep -q "no display" "$work/no_display.out" ||
  fail "without a display the program said: $(cat "$work/no_display.out")"
[ -f "$program_dir/Error_Log.log" ] && fail "without a display the program created Error_Log.log"

# ===== Run 1: yesterday's day is exported and a new day begins
# Qt's C locale names the month in words; the program then keeps its numeric default.
yesterday=$(date -d yesterday '+%d.%m.%Y')
{
  write_record Po "$yesterday" "08:00 - 16:30" Celkem 08:30 ""
  write_record "" "" "" Obecne 00:30 ""
  write_record "" "" "" Vyvoj 06:00 "modul A"
  write_record "" "" "" Porady 02:00 "tym"
} >"$program_dir/Actual_Work_Log.log"
[ "$(stat -c %s "$program_dir/Actual_Work_Log.log")" -eq 6144 ] || fail "the generator wrote a wrong size"

start_program
[ -s "$program_dir/Error_Log.log" ] && fail "Error_Log.log is not empty while the program runs"
[ -f "$program_dir/Work_Log.csv" ] || fail "Work_Log.csv was not written at the start"
grep -q "^Po;$yesterday;08:00 - 16:30;Celkem;08:30;"$'\r'"\$" "$program_dir/Work_Log.csv" || fail "the Day_Row is not in Work_Log.csv"
grep -q "^;;;Vyvoj;06:00;modul A"$'\r'"\$" "$program_dir/Work_Log.csv" || fail "a record is not in Work_Log.csv"
[ "$(grep -c ';' "$program_dir/Work_Log.csv")" -eq 4 ] || fail "Work_Log.csv does not hold the four records"
# The new day is stored at once, so a crash now cannot export yesterday twice.
[ "$(record_count "$program_dir/Actual_Work_Log.log")" -eq 1 ] || fail "the new day was not stored at once"
[ "$(window_height)" -eq 69 ] || fail "a one-row window is $(window_height) pixels high"

# Enter shows and hides the button bar.
press Return
wait_for_height 99
press Return
wait_for_height 69

# The A key opens the record editor; a typed work type and Enter add a record of the
# proposed 30 minutes, and the window grows by the record and the Unassigned_Row.
press a
editor=
for tries in $(seq 1 50); do
  editor=$(xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$window" | head -n1 || true)
  [ -n "$editor" ] && break
  sleep 0.1
done
[ -n "$editor" ] || fail "the A key opened no record editor"
sleep 0.3
xdotool key --delay 40 ctrl+a
xdotool type --delay 40 Testovani
xdotool key Return
wait_for_height $((3 * 17 + 52))

# A second start hands over to the running one and ends at once, touching no file.
before=$(ls -l --time-style=+%s.%N "$program_dir")
started=$(date +%s%N)
status=0
timeout 5 "$program_dir/zentavo-logger" >"$work/second.out" 2>&1 || status=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
[ "$elapsed_ms" -lt 1000 ] || fail "the second start took $elapsed_ms ms"
kill -0 "$program_pid" 2>/dev/null || fail "the first instance ended when the second started"
[ "$before" = "$(ls -l --time-style=+%s.%N "$program_dir")" ] || fail "the second start touched the program's files"

stop_program
today=$(read_field "$program_dir/Actual_Work_Log.log" 0 1)
[ "$today" = "$(date '+%d.%m.%Y')" ] || fail "the new day's date is '$today'"
log=$program_dir/Actual_Work_Log.log
[ "$(record_count "$log")" -eq 3 ] || fail "run 1 saved $(record_count "$log") records"
[ "$(read_field "$log" 1 3)" = DEFAULT ] || fail "the Unassigned_Row's work type is '$(read_field "$log" 1 3)'"
[ "$(read_field "$log" 2 3)" = Testovani ] && [ "$(read_field "$log" 2 4)" = 00:30 ] ||
  fail "the added record is '$(read_field "$log" 2 3)' of '$(read_field "$log" 2 4)'"
mapfile -t protocol < <(tr -d '\r' <"$program_dir/Error_Log.log" | sed 's/^[0-9:]* - //')
expected_protocol=(
  "OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date"
  "SAVE_TARGET_WORK_LOG - OK - last log successfully added to $program_dir/Work_Log.csv"
  "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $program_dir/Actual_Work_Log.log"
)
[ "${protocol[*]}" = "${expected_protocol[*]}" ] || fail "protocol of run 1: ${protocol[*]}"

# ===== Run 2: today's day continues; the wheel and the delete key change it
start_time=$(read_field "$program_dir/Actual_Work_Log.log" 0 2 | cut -c1-5)
{
  write_record Po "$today" "$start_time - $start_time" Celkem 00:00 ""
  write_record "" "" "" Obecne 00:00 ""
  write_record "" "" "" Vyvoj 00:30 "modul B"
  write_record "" "" "" Porady 00:20 ""
  write_record "" "" "" Cteni 00:40 ""
} >"$program_dir/Actual_Work_Log.log"
start_program
[ "$(window_height)" -eq $((5 * 17 + 52)) ] || fail "a five-row window is $(window_height) pixels high"

# Row 2 lies at 46 + 2 * 17 in the window; the wheel lengthens it twice and shortens once.
xdotool mousemove --window "$window" 300 $((46 + 2 * 17 + 8))
sleep 0.3
xdotool click 4 click 4 click 5
sleep 0.5
# Row 3 goes with the Delete key; the question is answered with Enter.
xdotool mousemove --window "$window" 300 $((46 + 3 * 17 + 8))
sleep 0.3
press Delete
dialog=
for tries in $(seq 1 50); do
  dialog=$(xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$window" | head -n1 || true)
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "no question came for the delete key"
xdotool windowfocus "$dialog" 2>/dev/null || true
xdotool key Return
wait_for_height $((4 * 17 + 52))

stop_program
log=$program_dir/Actual_Work_Log.log
[ "$(record_count "$log")" -eq 4 ] || fail "run 2 saved $(record_count "$log") records"
[ "$(read_field "$log" 2 3)" = Vyvoj ] && [ "$(read_field "$log" 2 4)" = 00:40 ] || fail "the wheel gave $(read_field "$log" 2 4)"
[ "$(read_field "$log" 2 5)" = "modul B" ] || fail "the remark of row 2 changed"
[ "$(read_field "$log" 3 3)" = Cteni ] || fail "the wrong record was deleted"
[ "$(read_field "$log" 0 1)" = "$today" ] || fail "the day's date changed"
mapfile -t protocol < <(tr -d '\r' <"$program_dir/Error_Log.log" | sed 's/^[0-9:]* - //')
expected_protocol=(
  "OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual"
  "SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $program_dir/Actual_Work_Log.log"
)
[ "${protocol[*]}" = "${expected_protocol[*]}" ] || fail "protocol of run 2: ${protocol[*]}"
# Yesterday was exported exactly once.
[ "$(grep -c ';' "$program_dir/Work_Log.csv")" -eq 4 ] || fail "Work_Log.csv changed in run 2"

echo "PASS: main window end to end"
