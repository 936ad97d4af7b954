# Shared functions of the end-to-end suites: one private X server with a tray per suite,
# one private program directory per scenario, and readers of the program's files.
# A suite script defines functions scenario_<name> and ends with `zl_main "$@" <name> ...`.
# Each scenario runs in its own bash process (so `set -e` holds inside it) with its own
# temporary directory, XDG_RUNTIME_DIR and TMPDIR; it passes when it ends with status 0.

ZL_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZL_DAY_LOG_TOOL="python3 $ZL_LIB_DIR/../tools/day_log.py"
ZL_FAKETIME_LIBRARY=${ZL_FAKETIME_LIBRARY:-/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1}

export LC_ALL=C.UTF-8 LANG=C.UTF-8

# The days the scenarios speak of: ISO dates for the faked clock, texts as the day log has them.
today=$(date +%F)
today_text=$(date -d "$today" +%d.%m.%Y)
yesterday_text=$(date -d "$today - 1 day" +%d.%m.%Y)
tomorrow=$(date -d "$today + 1 day" +%F)
tomorrow_text=$(date -d "$tomorrow" +%d.%m.%Y)


zl_main() {
  local dist_dir=${1:?usage: <suite>.sh <dist_dir>}
  shift
  if [ "${1:-}" = --scenario ]; then
    zl_run_one_scenario "$2"
    return
  fi
  ZL_DIST_DIR=$(cd "$dist_dir" && pwd)
  [ -x "$ZL_DIST_DIR/zentavo-logger" ] || { echo "FAIL: no program in $ZL_DIST_DIR" >&2; exit 1; }
  ZL_SUITE_WORK=$(mktemp -d "${TMPDIR:-/tmp}/zl-e2e.XXXXXX")
  chmod 700 "$ZL_SUITE_WORK"
  export ZL_DIST_DIR ZL_SUITE_WORK
  ZL_XVFB_PID='' ZL_TRAYER_PID='' ZL_DESKTOP_PIDS='' ZL_CHILD=''
  trap zl_suite_cleanup EXIT
  # A killed suite (a ctest time-out) still stops its X server.
  trap 'zl_stop_child; exit 143' TERM INT HUP
  # A suite may bring its own desktop (a window manager, a panel); the default is a tray alone.
  "${ZL_DESKTOP_STARTER:-zl_start_display}"

  local name status failed=() passed=0 started suite_started
  suite_started=$(date +%s%N)
  for name in "$@"; do
    # ZL_E2E_ONLY="name ..." runs only the scenarios named there.
    [ -z "${ZL_E2E_ONLY:-}" ] || case " $ZL_E2E_ONLY " in *" $name "*) ;; *) continue ;; esac
    started=$(date +%s%N)
    status=0
    # In the background, so that a signal to the suite reaches the scenario at once.
    bash "$0" "$ZL_DIST_DIR" --scenario "$name" &
    ZL_CHILD=$!
    wait "$ZL_CHILD" || status=$?
    ZL_CHILD=
    if [ "$status" = 0 ]; then passed=$((passed + 1)); else failed+=("$name"); fi
    echo "$([ "$status" = 0 ] && echo PASS || echo FAIL): $name ($(zl_ms_since "$started") ms, status $status)"
  done
  echo "Suite $(basename "$0"): $passed passed, ${#failed[@]} failed, $(zl_ms_since "$suite_started") ms"
  if [ ${#failed[@]} -gt 0 ]; then
    ZL_KEEP_WORK=1
    echo "Failed: ${failed[*]}; the scenarios' directories stay in $ZL_SUITE_WORK" >&2
    exit 1
  fi
}

zl_ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }

zl_stop_child() { [ -z "${ZL_CHILD:-}" ] || { kill -TERM "$ZL_CHILD"; wait "$ZL_CHILD"; } 2>/dev/null || true; }

# Runs as the EXIT trap: keeps the suite's exit status, whatever the X server answers.
zl_suite_cleanup() {
  local status=$? pid
  set +e
  zl_stop_child
  for pid in ${ZL_DESKTOP_PIDS:-} ${ZL_TRAYER_PID:-} ${ZL_XVFB_PID:-}; do
    kill -TERM "$pid" 2>/dev/null
    zl_wait_for 2 eval "! kill -0 $pid 2>/dev/null" || kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  [ -n "${ZL_KEEP_WORK:-}${ZL_E2E_KEEP:-}" ] || rm -rf "$ZL_SUITE_WORK"
  exit "$status"
}

# Polls a command every 50 ms until it succeeds; returns 1 after the timeout (seconds).
zl_wait_for() {
  local deadline=$(($(date +%s%N) + $1 * 1000000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

zl_tray_panel_shows() { xdotool search --onlyvisible --name '^panel$' >/dev/null 2>&1; }

# Xvfb picks a free display itself (-displayfd).
zl_start_x_server() {
  local display_file=$ZL_SUITE_WORK/display
  Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_file" >"$ZL_SUITE_WORK/xvfb.log" 2>&1 &
  ZL_XVFB_PID=$!
  zl_wait_for 10 test -s "$display_file" || { cat "$ZL_SUITE_WORK/xvfb.log" >&2; echo "FAIL: Xvfb gave no display" >&2; exit 1; }
  export DISPLAY=:$(head -n1 "$display_file")
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  zl_wait_for 10 eval 'xdotool getdisplaygeometry >/dev/null 2>&1' ||
    { echo "FAIL: the X server on $DISPLAY takes no clients" >&2; exit 1; }
  python3 "$(dirname "${BASH_SOURCE[0]}")/../tools/czech_keymap.py" || { echo "FAIL: no keys for Czech letters" >&2; exit 1; }
}

# Windows present before any program starts are never taken for the program's own.
zl_note_base_windows() {
  ZL_BASE_WINDOWS=$(xdotool search --onlyvisible --name . 2>/dev/null | tr '\n' ' ' || true)
  export ZL_BASE_WINDOWS
}

# An X server whose notification area is trayer's, started again until its panel shows.
zl_start_display() {
  local attempt
  zl_start_x_server
  for attempt in 1 2 3; do
    trayer --edge bottom --align right --widthtype pixel --width 100 --heighttype pixel --height 24 \
      >>"$ZL_SUITE_WORK/trayer.log" 2>&1 &
    ZL_TRAYER_PID=$!
    zl_wait_for 5 zl_tray_panel_shows && break
    kill "$ZL_TRAYER_PID" 2>/dev/null || true
    wait "$ZL_TRAYER_PID" 2>/dev/null || true
    ZL_TRAYER_PID=''
  done
  zl_tray_panel_shows || echo "NOTE: no tray on $DISPLAY (trayer: $(tail -n1 "$ZL_SUITE_WORK/trayer.log"))"
  zl_note_base_windows
}


zl_run_one_scenario() {
  ZL_WORK=$ZL_SUITE_WORK/$1
  mkdir -p "$ZL_WORK"
  export XDG_RUNTIME_DIR=$ZL_WORK/runtime TMPDIR=$ZL_WORK/tmp XDG_CACHE_HOME=$ZL_WORK/cache
  mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"
  PROGRAM_DIR=$ZL_WORK/program
  ZL_OPEN_OK="OPEN_ACTUAL_WORK_LOG - OK - log is valid and actual"
  ZL_NOT_ACTUAL="OPEN_ACTUAL_WORK_LOG - NOT_ACTUAL_DATE - not actual log date"
  ZL_NOT_FOUND="OPEN_ACTUAL_WORK_LOG - FILE_NOT_FOUND - file $PROGRAM_DIR/Actual_Work_Log.log not found"
  ZL_EXPORTED="SAVE_TARGET_WORK_LOG - OK - last log successfully added to $PROGRAM_DIR/Work_Log.csv"
  ZL_SAVED="SAVE_ACTUAL_WORK_LOG - OK - actual log successfully saved to $PROGRAM_DIR/Actual_Work_Log.log"
  ZL_PID='' ZL_ALL_PIDS='' ZL_RUN=0 MAIN_WINDOW=''
  trap zl_scenario_cleanup EXIT
  trap 'exit 143' TERM INT HUP
  "scenario_$1"
}

zl_scenario_cleanup() {
  local status=$? pid
  set +e
  for pid in $ZL_ALL_PIDS; do
    kill -KILL "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  # Read-only files would stop the suite's removal of its directory.
  [ -d "$ZL_WORK" ] && chmod -R u+w "$ZL_WORK" 2>/dev/null
  exit "$status"
}

# Fails the scenario, showing the program's files, its output and the screen.
zl_fail() {
  echo "FAIL: $*" >&2
  local file
  for file in "$PROGRAM_DIR"/{Error_Log.log,Setup.ini,Work_Log.csv} "$ZL_WORK"/program.*.out; do
    [ -s "$file" ] && { echo "--- $file" >&2; iconv -f CP1250 -t UTF-8 "$file" 2>/dev/null | tr -d '\r' | head -n 40 >&2; }
  done
  [ -f "$(zl_day_log)" ] && { echo "--- Actual_Work_Log.log" >&2; $ZL_DAY_LOG_TOOL dump "$(zl_day_log)" >&2; }
  import -window root "$ZL_WORK/failure.png" 2>/dev/null && echo "--- screen at the failure: $ZL_WORK/failure.png" >&2
  exit 1
}

zl_step() { echo "  - $(date +%T.%N | cut -c1-12) $*"; }


# A fresh installation: the built program and its data, none of the files a run leaves.
zl_install() {
  rm -rf "$PROGRAM_DIR"
  cp -r "$ZL_DIST_DIR" "$PROGRAM_DIR"
  rm -f "$PROGRAM_DIR"/{Error_Log.log,Work_Log.csv,Setup.ini} "$PROGRAM_DIR"/Actual_Work_Log.log*
}

# Setup.ini from its lines (UTF-8 here, CP1250 in the file), each ended by CR LF.
zl_write_setup() { printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP1250 >"$PROGRAM_DIR/Setup.ini"; }

# A setup that shows no splash and no overrange question, the window at the top left.
zl_write_quiet_setup() {
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' 'Display_Zentavo_Overrange_Warning=0' "$@" \
    '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
}

# Names, sizes, modes and modification times of everything in the program directory.
zl_listing() { find "$PROGRAM_DIR" -printf '%P %y %s %m %T@\n' | LC_ALL=C sort; }

# Today's day begun at 08:00 in a fresh, quiet installation, run from HH:MM:SS until its window shows.
zl_start_morning_day() {
  zl_install
  zl_write_quiet_setup "${@:2}"
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  zl_start_window "$today $1"
}


zl_day_log() { echo "$PROGRAM_DIR/Actual_Work_Log.log"; }
zl_write_day_log() { $ZL_DAY_LOG_TOOL write "$(zl_day_log)" "$@"; }
zl_record_count() { $ZL_DAY_LOG_TOOL count "$(zl_day_log)"; }
zl_field() { $ZL_DAY_LOG_TOOL field "$(zl_day_log)" "$1" "$2"; }
zl_field_is() { [ "$(zl_field "$1" "$2")" = "$3" ]; }
zl_record_count_is() { [ "$(zl_record_count 2>/dev/null)" = "$1" ]; }

zl_expect_record_count() { zl_record_count_is "$1" || zl_fail "${2:-the day log} holds $(zl_record_count) records, expected $1"; }

# Fields of the day log as record:field=value words.
zl_expect_fields() {
  local word place
  for word in "$@"; do
    place=${word%%=*}
    zl_field_is "${place%:*}" "${place#*:}" "${word#*=}" ||
      zl_fail "field ${place#*:} of record ${place%:*} of the day log is '$(zl_field "${place%:*}" "${place#*:}")', expected '${word#*=}'"
  done
}

zl_wait_field() {
  zl_wait_for 3 zl_field_is "$1" "$2" "$3" || zl_fail "field $2 of record $1 stayed '$(zl_field "$1" "$2")', expected '$3'"
}

# Work type and duration of every record from row 1 on, as "type=HH:MM" words.
zl_day_log_rows() {
  $ZL_DAY_LOG_TOOL dump "$(zl_day_log)" | tail -n +2 | awk -F'|' '{ printf "%s%s=%s", (NR > 1 ? " " : ""), $4, $5 } END { print "" }'
}

zl_expect_rows() { [ "$(zl_day_log_rows)" = "$1" ] || zl_fail "the day log holds '$(zl_day_log_rows)', expected '$1'"; }

# The weekday name of the language file for a date: key 1 is Sunday, 7 Saturday.
zl_day_name() {
  local key=$(($(date -d "$1" +%w) + 1))
  iconv -f CP1250 -t UTF-8 "$PROGRAM_DIR/Czech.lng" | tr -d '\r' |
    awk -v key="$key" '/^\[/ { in_section = ($0 == "[Day_Names]") } in_section && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

# A copy of a file to compare with later: zl_keep FILE NAME; zl_expect_kept NAME FILE MESSAGE.
zl_keep() { cp -p "$1" "$ZL_WORK/$2"; }
zl_expect_kept() { cmp -s "$ZL_WORK/$1" "$2" || zl_fail "$3"; }


# The protocol's lines without their time stamps; every line is checked for its CR LF and
# for the long-time stamp, except the bare names that follow a failed file check.
zl_protocol() {
  local file=$PROGRAM_DIR/Error_Log.log
  [ -f "$file" ] || zl_fail "Error_Log.log does not exist"
  zl_expect_crlf_lines "$file"
  iconv -f CP1250 -t UTF-8 "$file" | tr -d '\r' | sed -E 's/^[0-2][0-9]:[0-5][0-9]:[0-5][0-9] - / - /'
}

zl_expect_protocol() {
  local actual expected
  actual=$(zl_protocol)
  expected=$(printf ' - %s\n' "$@")
  [ "$actual" = "$expected" ] ||
    zl_fail "Error_Log.log does not hold the expected lines: $(diff <(echo "$expected") <(echo "$actual"))"
}

# Every line of a file, the last too, ends with CR LF.
zl_expect_crlf_lines() {
  [ ! -s "$1" ] || { [ "$(tail -c 2 "$1" | od -An -c | tr -d ' ')" = '\r\n' ] &&
    [ "$(tr -cd '\n' <"$1" | wc -c)" = "$(LC_ALL=C grep -c $'\r$' "$1")" ]; } || zl_fail "a line of $1 does not end with CR LF"
}

zl_expect_day_saved() { zl_expect_protocol "$ZL_OPEN_OK" "$ZL_SAVED"; }


# Starts the program in the background, its clock at "YYYY-MM-DD HH:MM:SS" (running on) if given.
zl_start() {
  ZL_RUN=$((ZL_RUN + 1))
  [ -z "${1:-}" ] || [ -f "$ZL_FAKETIME_LIBRARY" ] || zl_fail "libfaketime is not at $ZL_FAKETIME_LIBRARY"
  if [ -z "${1:-}" ]; then set --; else set -- env LD_PRELOAD="$ZL_FAKETIME_LIBRARY" FAKETIME="@$1" FAKETIME_DONT_FAKE_MONOTONIC=1; fi
  "$@" "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/program.$ZL_RUN.out" 2>&1 &
  ZL_PID=$!
  ZL_ALL_PIDS="$ZL_ALL_PIDS $ZL_PID"
  ZL_STARTED_NS=$(date +%s%N)
  MAIN_WINDOW=
}

zl_start_window() { zl_start "$@"; zl_wait_main_window; }

zl_running() { [ -n "$ZL_PID" ] && kill -0 "$ZL_PID" 2>/dev/null; }
zl_ended() { ! zl_running; }

# The program's visible windows, with the suite's own (the tray panel) left out.
zl_program_windows() {
  local window
  for window in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
    case " $ZL_BASE_WINDOWS " in *" $window "*) continue ;; esac
    echo "$window"
  done
}

zl_window_size() { xdotool getwindowgeometry "$1" 2>/dev/null | awk '/Geometry:/ { print $2 }'; }
zl_window_position() { xdotool getwindowgeometry "$1" 2>/dev/null | awk '/Position:/ { print $2 }'; }
zl_window_height() { zl_window_size "$1" | cut -dx -f2; }
zl_window_name() { xdotool getwindowname "$1" 2>/dev/null || true; }

# The main window: "Zentavo Logger" and 755 pixels wide (dialogs share the caption).
zl_find_main_window() {
  local window
  for window in $(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null || true); do
    [ "$(zl_window_size "$window" | cut -dx -f1)" = 755 ] && { echo "$window"; return 0; }
  done
  return 1
}

zl_main_window_shows() {
  MAIN_WINDOW=$(zl_find_main_window) && return 0
  zl_running || { zl_reap; zl_fail "the program ended before its window showed (status $ZL_STATUS)"; }
  return 1
}

zl_wait_main_window() { zl_wait_for 10 zl_main_window_shows || zl_fail "no main window within 10 s"; }

zl_no_main_window() { ! zl_find_main_window >/dev/null || zl_fail "the main window shows $1"; }

# A window of the program other than the main window (a dialog, a message box, the splash)
# and other than the windows named in ZL_OPEN_DIALOGS (a dialog that asks from a dialog).
zl_dialog_shows() {
  local window
  for window in $(zl_program_windows); do
    [ "$window" = "$MAIN_WINDOW" ] && continue
    case " ${ZL_OPEN_DIALOGS:-} " in *" $window "*) continue ;; esac
    # Before the main window is known, a window of its width is taken for it.
    [ -z "$MAIN_WINDOW" ] && [ "$(zl_window_size "$window" | cut -dx -f1)" = 755 ] && continue
    DIALOG=$window
    return 0
  done
  if [ -n "$ZL_PID" ] && ! zl_running; then
    zl_reap
    zl_fail "the program ended while a dialog was awaited (status $ZL_STATUS)"
  fi
  return 1
}

zl_wait_dialog() { zl_wait_for 10 zl_dialog_shows || zl_fail "no dialog within 10 s"; }

zl_dialog_gone() { ! zl_program_windows | grep -qx "$DIALOG"; }
zl_wait_dialog_gone() { zl_wait_for 10 zl_dialog_gone || zl_fail "the dialog $(zl_window_name "$DIALOG") is still open"; }

# Without a window manager the keyboard focus is given by hand first.
zl_keys() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
  xdotool key --clearmodifiers --delay 40 "$@"
}

# Answers the dialog that is open with a key (Return: first button, Escape: second).
zl_answer_dialog() {
  zl_wait_dialog
  sleep 0.1
  zl_keys "$DIALOG" "$1"
  zl_wait_dialog_gone
}

# A question of the start-up, asked before the main window shows, answered with a key.
zl_answer_start_question() {
  zl_wait_dialog
  zl_step "question '$(zl_window_name "$DIALOG")' $(zl_window_size "$DIALOG"), answered with $1"
  zl_no_main_window "beside the start-up question"
  zl_answer_dialog "$1"
}

# A start-up question whose answer ends the program without a window.
zl_end_at_start_question() { zl_answer_start_question "$1"; zl_expect_end_without_window; }

zl_close_dialog() { DIALOG=$1; zl_keys "$1" Escape; zl_wait_dialog_gone; }

# Only the main window shows: no question, no message.
zl_expect_only_main_window() {
  local window
  for window in $(zl_program_windows); do
    [ "$window" = "$MAIN_WINDOW" ] || zl_fail "besides the main window the program shows '$(zl_window_name "$window")'"
  done
}

zl_height_is() { [ "$(zl_window_height "$MAIN_WINDOW")" = "$1" ]; }
zl_wait_height() {
  zl_wait_for 5 zl_height_is "$1" ||
    zl_fail "the main window is $(zl_window_height "$MAIN_WINDOW") pixels high, expected $1"
}
# Rows of the record table lie 17 pixels apart from y 46 in the window.
zl_rows_height() { echo $(($1 * 17 + 52)); }
zl_expect_rows_shown() {
  zl_height_is "$(zl_rows_height "$1")" ||
    zl_fail "the window is $(zl_window_height "$MAIN_WINDOW") pixels high, not $1 rows${2:+ ($2)}"
}

# Two moves, so that the table sees a movement even when the pointer was there already.
zl_pointer_to_row() {
  xdotool mousemove --window "$MAIN_WINDOW" 300 $((46 + $1 * 17 + 8))
  xdotool mousemove --window "$MAIN_WINDOW" 310 $((46 + $1 * 17 + 9))
  sleep 0.1
}

# Asks to delete a row with the Delete key (key) or a right click (click); the pointer
# highlights the row first. Under load the command can arrive before the program has seen
# the pointer move, so a command that asks nothing is given again after a fresh move.
zl_delete_on_row() {
  local attempt
  for attempt in 1 2 3; do
    zl_pointer_to_row "$1"
    if [ "$2" = key ]; then zl_keys "$MAIN_WINDOW" Delete; else xdotool click 3; fi
    zl_wait_for 3 zl_dialog_shows && return 0
  done
  zl_fail "deleting row $1 by $2 asked nothing"
}

# The pointer out of the table, so that no row is highlighted or under the wheel.
zl_pointer_away() { xdotool mousemove --window "$MAIN_WINDOW" 300 10; sleep 0.05; }

zl_reap() { ZL_STATUS=0; wait "$ZL_PID" 2>/dev/null || ZL_STATUS=$?; ZL_PID=; }

zl_wait_exit() {
  if ! zl_wait_for 10 zl_ended; then
    zl_describe_hang
    zl_fail "the program did not end within 10 s"
  fi
  zl_reap
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS"
}

# SIGTERM (or the signal named) is the system's close request: the day ends in order.
zl_stop() {
  zl_running || { zl_reap; zl_fail "the program had ended before it was asked to (status $ZL_STATUS)"; }
  kill "-${1:-TERM}" "$ZL_PID"
  zl_wait_exit
}

zl_no_main_window_until_ended() { zl_no_main_window "on a start that must end"; zl_ended; }

# The program must end by itself with status 0, its main window never showing.
zl_expect_end_without_window() {
  zl_wait_for 10 zl_no_main_window_until_ended || zl_fail "the program did not end within 10 s"
  zl_wait_exit
}

zl_kill_hard() { kill -KILL "$ZL_PID"; zl_reap; }

# What a program that does not end is doing: its windows and where its threads wait.
zl_describe_hang() {
  echo "--- pid $ZL_PID still runs; windows: $(for w in $(zl_program_windows); do printf "'%s' " "$(zl_window_name "$w")"; done); its threads wait in:" >&2
  grep -H . /proc/"$ZL_PID"/task/*/wchan >&2 || true
}

# A second start hands over to the running program and ends within a second, touching nothing.
zl_second_start() {
  local started status=0 elapsed before
  before=$(zl_listing)
  started=$(date +%s%N)
  timeout 5 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/second.out" 2>&1 || status=$?
  elapsed=$(zl_ms_since "$started")
  [ "$status" = 0 ] || zl_fail "the second start ended with status $status: $(cat "$ZL_WORK/second.out")"
  [ "$elapsed" -lt 1000 ] || zl_fail "the second start took $elapsed ms"
  zl_running || zl_fail "the first instance ended when the second started"
  [ "$(zl_listing)" = "$before" ] || zl_fail "the second start changed files: $(diff <(echo "$before") <(zl_listing))"
}


# Opens the record editor with the A key, or with a click on the row given.
zl_open_editor() {
  if [ -n "${1:-}" ]; then
    zl_pointer_to_row "$1"
    xdotool click 1
  else
    zl_pointer_away
    zl_keys "$MAIN_WINDOW" a
  fi
  zl_wait_dialog
  EDITOR=$DIALOG
  sleep 0.15
}

# xdotool maps a letter outside ASCII to a spare key only while it types it: each gets time.
zl_type() {
  local text=$1 ascii
  while [ -n "$text" ]; do
    ascii=${text%%[^ -~]*}
    [ -z "$ascii" ] || xdotool type --delay 30 "$ascii"
    text=${text#"$ascii"}
    [ -z "$text" ] || xdotool type --delay 200 "${text:0:1}"
    text=${text:1}
  done
}

# Fills the open editor: work type, hours, minutes, remark (each field replaced), then Enter.
zl_fill_editor() {
  xdotool windowfocus --sync "$EDITOR" 2>/dev/null || true
  xdotool key --clearmodifiers ctrl+a BackSpace
  zl_type "$1"
  xdotool key Tab ctrl+a
  xdotool type --delay 30 "$2"
  xdotool key Tab ctrl+a
  xdotool type --delay 30 "$3"
  xdotool key Tab ctrl+a BackSpace
  zl_type "$4"
  xdotool key Return
}

# Adds a record and waits for its row (the first brings the Unassigned_Row too).
zl_add_record() {
  local height
  height=$(($(zl_window_height "$MAIN_WINDOW") + 17))
  [ "$height" != "$(zl_rows_height 2)" ] || height=$(zl_rows_height 3)
  zl_open_editor
  zl_fill_editor "$@"
  zl_wait_height "$height"
}

