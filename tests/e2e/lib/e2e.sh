# Shared functions of the end-to-end suites: one private X server with a tray per suite,
# one private program directory per scenario, and readers of the program's files.
#
# A suite script defines functions scenario_<name> and ends with
#   zl_main "$@" <name> <name> ...
# Each scenario runs in its own bash process (so `set -e` holds inside it) with its own
# temporary directory, XDG_RUNTIME_DIR and TMPDIR. A scenario ends with status 0 (pass),
# 77 (known failure of the program, reported and not counted) or anything else (fail).

ZL_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZL_DAY_LOG_TOOL="python3 $ZL_LIB_DIR/../tools/day_log.py"
ZL_KNOWN_FAILURE_STATUS=77
ZL_FAKETIME_LIBRARY=${ZL_FAKETIME_LIBRARY:-/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1}

export LC_ALL=C.UTF-8 LANG=C.UTF-8

# ---------------------------------------------------------------- suite driver

zl_main() {
  local dist_dir=${1:?usage: <suite>.sh <dist_dir>}
  shift
  if [ "${1:-}" = --scenario ]; then
    zl_run_one_scenario "$dist_dir" "$2"
    return
  fi
  ZL_DIST_DIR=$(cd "$dist_dir" && pwd)
  [ -x "$ZL_DIST_DIR/zentavo-logger" ] || { echo "FAIL: no program in $ZL_DIST_DIR" >&2; exit 1; }
  export ZL_DIST_DIR
  ZL_SUITE_WORK=$(mktemp -d "${TMPDIR:-/tmp}/zl-e2e.XXXXXX")
  chmod 700 "$ZL_SUITE_WORK"
  export ZL_SUITE_WORK
  ZL_XVFB_PID=
  ZL_TRAYER_PID=
  trap zl_suite_cleanup EXIT
  # A killed suite (a ctest time-out) still stops its X server.
  ZL_CHILD=
  trap 'zl_stop_child; exit 143' TERM INT HUP
  zl_start_display

  local name status failed=() known=() passed=() started elapsed suite_started
  suite_started=$(date +%s%N)
  for name in "$@"; do
    # ZL_E2E_ONLY="name ..." runs only the scenarios named there.
    if [ -n "${ZL_E2E_ONLY:-}" ]; then
      case " $ZL_E2E_ONLY " in *" $name "*) ;; *) continue ;; esac
    fi
    started=$(date +%s%N)
    status=0
    # In the background, so that a signal to the suite reaches the scenario at once.
    bash "$0" "$ZL_DIST_DIR" --scenario "$name" &
    ZL_CHILD=$!
    wait "$ZL_CHILD" || status=$?
    ZL_CHILD=
    elapsed=$((($(date +%s%N) - started) / 1000000))
    case $status in
      0) passed+=("$name"); echo "PASS: $name ($elapsed ms)" ;;
      "$ZL_KNOWN_FAILURE_STATUS") known+=("$name"); echo "KNOWN FAILURE: $name ($elapsed ms)" ;;
      *) failed+=("$name"); echo "FAIL: $name ($elapsed ms, status $status)" ;;
    esac
  done
  elapsed=$((($(date +%s%N) - suite_started) / 1000000))
  echo "Suite $(basename "$0"): ${#passed[@]} passed, ${#failed[@]} failed, ${#known[@]} known failures, $elapsed ms"
  if [ ${#failed[@]} -gt 0 ]; then
    ZL_KEEP_WORK=1
    echo "Failed: ${failed[*]}; the scenarios' directories stay in $ZL_SUITE_WORK" >&2
    exit 1
  fi
}

zl_stop_child() {
  if [ -n "${ZL_CHILD:-}" ]; then
    kill -TERM "$ZL_CHILD" 2>/dev/null
    wait "$ZL_CHILD" 2>/dev/null
  fi
  return 0
}

# Runs as the EXIT trap: keeps the suite's exit status, whatever the X server answers.
zl_suite_cleanup() {
  local status=$? pid tries
  set +e
  zl_stop_child
  for pid in ${ZL_TRAYER_PID:-} ${ZL_XVFB_PID:-}; do
    kill -TERM "$pid" 2>/dev/null
    for tries in $(seq 1 40); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  if [ -z "${ZL_KEEP_WORK:-}" ] && [ -z "${ZL_E2E_KEEP:-}" ]; then rm -rf "$ZL_SUITE_WORK"; fi
  exit "$status"
}

# Xvfb picks a free display itself (-displayfd); trayer gives it a notification area.
zl_start_display() {
  local display_file=$ZL_SUITE_WORK/display tries
  Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_file" >"$ZL_SUITE_WORK/xvfb.log" 2>&1 &
  ZL_XVFB_PID=$!
  for tries in $(seq 1 200); do
    [ -s "$display_file" ] && break
    kill -0 "$ZL_XVFB_PID" 2>/dev/null || { cat "$ZL_SUITE_WORK/xvfb.log" >&2; echo "FAIL: Xvfb did not start" >&2; exit 1; }
    sleep 0.05
  done
  [ -s "$display_file" ] || { echo "FAIL: Xvfb gave no display within 10 s" >&2; exit 1; }
  export DISPLAY=:$(head -n1 "$display_file")
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  for tries in $(seq 1 200); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.05
  done
  xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "FAIL: the X server on $DISPLAY takes no clients" >&2; exit 1; }
  local attempt
  for attempt in 1 2 3; do
    trayer --edge bottom --align right --widthtype pixel --width 100 --heighttype pixel --height 24 \
      >>"$ZL_SUITE_WORK/trayer.log" 2>&1 &
    ZL_TRAYER_PID=$!
    for tries in $(seq 1 100); do
      xdotool search --onlyvisible --name '^panel$' >/dev/null 2>&1 && break 2
      kill -0 "$ZL_TRAYER_PID" 2>/dev/null || break
      sleep 0.05
    done
    kill "$ZL_TRAYER_PID" 2>/dev/null
    wait "$ZL_TRAYER_PID" 2>/dev/null
    ZL_TRAYER_PID=
  done
  xdotool search --onlyvisible --name '^panel$' >/dev/null 2>&1 ||
    echo "NOTE: no tray on $DISPLAY (trayer: $(tail -n1 "$ZL_SUITE_WORK/trayer.log")); the program runs without one"
  # Windows present before any program starts are never taken for the program's own.
  ZL_BASE_WINDOWS=$(xdotool search --onlyvisible --name . 2>/dev/null | tr '\n' ' ' || true)
  export ZL_BASE_WINDOWS
}

# ---------------------------------------------------------------- one scenario

zl_run_one_scenario() {
  local name=$2
  ZL_WORK=$ZL_SUITE_WORK/$name
  rm -rf "$ZL_WORK"
  mkdir -p "$ZL_WORK"
  export XDG_RUNTIME_DIR=$ZL_WORK/runtime TMPDIR=$ZL_WORK/tmp
  mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"
  PROGRAM_DIR=$ZL_WORK/program
  ZL_PID=
  ZL_ALL_PIDS=
  ZL_RUN=0
  MAIN_WINDOW=
  trap zl_scenario_cleanup EXIT
  trap 'exit 143' TERM INT HUP
  "scenario_$name"
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

zl_fail() {
  echo "FAIL: $*" >&2
  local file
  for file in Error_Log.log Setup.ini Work_Log.csv; do
    if [ -f "$PROGRAM_DIR/$file" ]; then
      echo "--- $file ($(stat -c %s "$PROGRAM_DIR/$file") bytes)" >&2
      iconv -f CP1250 -t UTF-8 "$PROGRAM_DIR/$file" 2>/dev/null | tr -d '\r' | head -n 40 >&2 || true
    fi
  done
  if [ -f "$PROGRAM_DIR/Actual_Work_Log.log" ]; then
    echo "--- Actual_Work_Log.log" >&2
    $ZL_DAY_LOG_TOOL dump "$PROGRAM_DIR/Actual_Work_Log.log" >&2 || true
  fi
  for file in "$ZL_WORK"/program.*.out; do
    [ -s "$file" ] && { echo "--- output of $(basename "$file")" >&2; head -n 40 "$file" >&2; }
  done
  import -window root "$ZL_WORK/failure.png" 2>/dev/null && echo "--- screen at the failure: $ZL_WORK/failure.png" >&2
  exit 1
}

# The program found a fault of its own: report it precisely and leave the scenario.
zl_known_failure() {
  echo "KNOWN FAILURE: $*"
  exit "$ZL_KNOWN_FAILURE_STATUS"
}

zl_step() {
  echo "  - $(date +%T.%N | cut -c1-12) $*"
}

# ---------------------------------------------------------------- program directory

# A fresh installation: the built program and its data, none of the files a run leaves.
zl_install() {
  rm -rf "$PROGRAM_DIR"
  cp -r "$ZL_DIST_DIR" "$PROGRAM_DIR"
  rm -f "$PROGRAM_DIR"/{Actual_Work_Log.log,Actual_Work_Log.log.invalid,Error_Log.log,Work_Log.csv,Setup.ini}
  rm -f "$PROGRAM_DIR"/Actual_Work_Log.log.*
}

# Setup.ini from its lines (UTF-8 here, CP1250 in the file), each ended by CR LF.
zl_write_setup() {
  local line
  for line in "$@"; do
    printf '%s\r\n' "$line"
  done | iconv -f UTF-8 -t CP1250 >"$PROGRAM_DIR/Setup.ini"
}

# A setup that shows no splash and no overrange question, the window at the top left.
zl_write_quiet_setup() {
  zl_write_setup '[Main_Setup]' 'Display_Start_Splash_Screen=0' 'Display_Zentavo_Overrange_Warning=0' "$@" \
    '[Visual_Setup]' 'Main_Form_Left=0' 'Main_Form_Top=0'
}

# Names, sizes, modes and modification times of everything in the program directory.
zl_listing() {
  find "$PROGRAM_DIR" -printf '%P %y %s %m %T@\n' | LC_ALL=C sort
}

# ---------------------------------------------------------------- the day-log file

zl_day_log() { echo "$PROGRAM_DIR/Actual_Work_Log.log"; }
zl_write_day_log() { $ZL_DAY_LOG_TOOL write "$(zl_day_log)" "$@"; }
zl_record_count() { $ZL_DAY_LOG_TOOL count "${1:-$(zl_day_log)}"; }
zl_field() { $ZL_DAY_LOG_TOOL field "$(zl_day_log)" "$1" "$2"; }

zl_expect_record_count() {
  local expected=$1 what=${2:-the day log} actual
  actual=$(zl_record_count) || zl_fail "$what is not a whole number of 1536-byte records"
  [ "$actual" = "$expected" ] || zl_fail "$what holds $actual records, expected $expected"
}

zl_expect_field() {
  local record=$1 field=$2 expected=$3 actual
  actual=$(zl_field "$record" "$field")
  [ "$actual" = "$expected" ] || zl_fail "field $field of record $record of the day log is '$actual', expected '$expected'"
}

# Work type and duration of every record from row 1 on, as "type=HH:MM" words.
zl_day_log_rows() {
  $ZL_DAY_LOG_TOOL dump "$(zl_day_log)" | tail -n +2 | awk -F'|' '{ printf "%s%s=%s", (NR > 1 ? " " : ""), $4, $5 } END { print "" }'
}

# The weekday name of the language file for a date: key 1 is Sunday, 7 Saturday.
zl_day_name() {
  local key
  key=$(($(date -d "$1" +%w) + 1))
  iconv -f CP1250 -t UTF-8 "$PROGRAM_DIR/Czech.lng" | tr -d '\r' |
    awk -v key="$key" '/^\[/ { in_section = ($0 == "[Day_Names]") } in_section && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}

# ---------------------------------------------------------------- Error_Log.log

# The protocol's lines without their time stamps; every line is checked for its CR LF and
# for the long-time stamp, except the bare names that follow a failed file check.
zl_protocol() {
  local file=$PROGRAM_DIR/Error_Log.log
  [ -f "$file" ] || zl_fail "Error_Log.log does not exist"
  if [ -s "$file" ]; then
    [ "$(tail -c 2 "$file" | od -An -c | tr -d ' ')" = '\r\n' ] || zl_fail "Error_Log.log does not end with CR LF"
    [ "$(tr -cd '\n' <"$file" | wc -c)" = "$(grep -c $'\r$' "$file")" ] || zl_fail "a line of Error_Log.log does not end with CR LF"
  fi
  iconv -f CP1250 -t UTF-8 "$file" | tr -d '\r' | sed -E 's/^[0-2][0-9]:[0-5][0-9]:[0-5][0-9] - / - /'
}

zl_expect_protocol() {
  local actual expected
  actual=$(zl_protocol)
  expected=$(printf ' - %s\n' "$@")
  if [ "$actual" != "$expected" ]; then
    echo "--- expected protocol" >&2
    echo "$expected" >&2
    echo "--- diff (expected, actual)" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    zl_fail "Error_Log.log does not hold the expected lines"
  fi
}

# ---------------------------------------------------------------- running the program

# Starts the program in the background. ZL_FAKE_TIME="YYYY-MM-DD HH:MM:SS" starts its
# clock at that moment (running on); the program keeps its own process id.
zl_start() {
  ZL_RUN=$((ZL_RUN + 1))
  ZL_OUT=$ZL_WORK/program.$ZL_RUN.out
  if [ -n "${ZL_FAKE_TIME:-}" ]; then
    [ -f "$ZL_FAKETIME_LIBRARY" ] || zl_fail "libfaketime is not at $ZL_FAKETIME_LIBRARY"
    LD_PRELOAD=$ZL_FAKETIME_LIBRARY FAKETIME="@$ZL_FAKE_TIME" FAKETIME_DONT_FAKE_MONOTONIC=1 \
      "$PROGRAM_DIR/zentavo-logger" >"$ZL_OUT" 2>&1 &
  else
    "$PROGRAM_DIR/zentavo-logger" >"$ZL_OUT" 2>&1 &
  fi
  ZL_PID=$!
  ZL_ALL_PIDS="$ZL_ALL_PIDS $ZL_PID"
  ZL_STARTED_NS=$(date +%s%N)
  MAIN_WINDOW=
}

zl_running() { [ -n "$ZL_PID" ] && kill -0 "$ZL_PID" 2>/dev/null; }

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

# The main window: caption "Zentavo Logger" and 755 pixels wide (the message dialog and
# the splash screen share the caption).
zl_find_main_window() {
  local window
  for window in $(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null || true); do
    [ "$(zl_window_size "$window" | cut -dx -f1)" = 755 ] && { echo "$window"; return 0; }
  done
  return 1
}

# Polls every 50 ms; fails when the program ends first or after the timeout (seconds).
zl_wait_main_window() {
  local timeout=${1:-10} deadline
  deadline=$(($(date +%s%N) + timeout * 1000000000))
  while [ "$(date +%s%N)" -lt "$deadline" ]; do
    if MAIN_WINDOW=$(zl_find_main_window); then
      ZL_WINDOW_MS=$((($(date +%s%N) - ZL_STARTED_NS) / 1000000))
      return 0
    fi
    zl_running || { zl_reap; zl_fail "the program ended before its window showed (status $ZL_STATUS)"; }
    sleep 0.05
  done
  zl_fail "no main window within $timeout s"
}

# A window of the program other than the main window (a dialog, a message box, the splash)
# and other than the windows named in ZL_OPEN_DIALOGS (a dialog that asks from a dialog).
zl_wait_dialog() {
  local timeout=${1:-10} deadline window
  deadline=$(($(date +%s%N) + timeout * 1000000000))
  while [ "$(date +%s%N)" -lt "$deadline" ]; do
    for window in $(zl_program_windows); do
      [ "$window" = "$MAIN_WINDOW" ] && continue
      case " ${ZL_OPEN_DIALOGS:-} " in *" $window "*) continue ;; esac
      # Before the main window is known, a window of its width is taken for it.
      if [ -z "$MAIN_WINDOW" ] && [ "$(zl_window_size "$window" | cut -dx -f1)" = 755 ]; then continue; fi
      DIALOG=$window
      return 0
    done
    if [ -n "${ZL_PID:-}" ] && ! zl_running; then
      zl_reap
      zl_fail "the program ended while a dialog was awaited (status $ZL_STATUS)"
    fi
    sleep 0.05
  done
  zl_fail "no dialog within $timeout s"
}

zl_wait_dialog_gone() {
  local tries
  for tries in $(seq 1 200); do
    xdotool getwindowname "$DIALOG" >/dev/null 2>&1 || return 0
    zl_program_windows | grep -qx "$DIALOG" || return 0
    sleep 0.05
  done
  zl_fail "the dialog $(xdotool getwindowname "$DIALOG" 2>/dev/null) is still open"
}

zl_window_name() { xdotool getwindowname "$1" 2>/dev/null || true; }

# Keys go to the window that has the keyboard focus; without a window manager the focus
# is given by hand first.
zl_keys() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
  xdotool key --clearmodifiers --delay 40 "$@"
}

zl_type() {
  local window=$1
  shift
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
  xdotool type --delay 30 "$*"
}

# Answers the dialog that is open with a key (Return: first button, Escape: second).
zl_answer_dialog() {
  zl_wait_dialog
  sleep 0.1
  zl_keys "$DIALOG" "$1"
  zl_wait_dialog_gone
}

zl_wait_height() {
  local expected=$1 tries
  for tries in $(seq 1 100); do
    [ "$(zl_window_height "$MAIN_WINDOW")" = "$expected" ] && return 0
    sleep 0.05
  done
  zl_fail "the main window is $(zl_window_height "$MAIN_WINDOW") pixels high, expected $expected"
}

# Rows of the record table lie 17 pixels apart from y 46 in the window.
zl_rows_height() { echo $(($1 * 17 + 52)); }
# Two moves, so that the table sees a movement even when the pointer was there already.
zl_pointer_to_row() {
  xdotool mousemove --window "$MAIN_WINDOW" 300 $((46 + $1 * 17 + 8))
  xdotool mousemove --window "$MAIN_WINDOW" 310 $((46 + $1 * 17 + 9))
  sleep 0.1
}

# Waits until the program ends by itself; sets ZL_STATUS.
zl_wait_exit() {
  local timeout=${1:-10} deadline
  deadline=$(($(date +%s%N) + timeout * 1000000000))
  while zl_running; do
    [ "$(date +%s%N)" -lt "$deadline" ] || zl_fail "the program did not end within $timeout s"
    sleep 0.05
  done
  zl_reap
}

# Collects the ended program's exit status into ZL_STATUS.
zl_reap() {
  ZL_STATUS=0
  wait "$ZL_PID" 2>/dev/null || ZL_STATUS=$?
  ZL_PID=
}

# SIGTERM is the system's close request: the day ends in order and the program exits 0.
zl_stop() {
  [ -n "$ZL_PID" ] || zl_fail "zl_stop without a running program"
  zl_running || { zl_reap; zl_fail "the program had ended before it was asked to (status $ZL_STATUS)"; }
  kill -TERM "$ZL_PID"
  local deadline
  deadline=$(($(date +%s%N) + 10000000000))
  while zl_running && [ "$(date +%s%N)" -lt "$deadline" ]; do sleep 0.05; done
  if zl_running; then
    zl_describe_hang
    zl_fail "the program did not end within 10 s of SIGTERM"
  fi
  zl_reap
  [ "$ZL_STATUS" = 0 ] || zl_fail "the program ended with status $ZL_STATUS after SIGTERM"
}

# What a program that does not end is doing: its windows and where its threads wait.
zl_describe_hang() {
  local task
  echo "--- the program (pid $ZL_PID) still runs; windows: $(for w in $(zl_program_windows); do printf "'%s' " "$(zl_window_name "$w")"; done)" >&2
  grep -E '^(State|Threads)' "/proc/$ZL_PID/status" >&2 || true
  for task in /proc/"$ZL_PID"/task/*; do
    echo "thread $(basename "$task") $(cat "$task/comm" 2>/dev/null) waits in $(cat "$task/wchan" 2>/dev/null)" >&2
  done
  if command -v gdb >/dev/null; then
    timeout 20 gdb -p "$ZL_PID" -batch -ex 'thread apply all bt 12' >&2 2>/dev/null || true
  fi
  import -window root "$ZL_WORK/hang.png" 2>/dev/null || true
}

zl_kill_hard() {
  kill -KILL "$ZL_PID"
  zl_wait_exit 5
}

# Opens the record editor with the A key and waits for it.
zl_open_editor_by_key() {
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" a
  zl_wait_dialog
  EDITOR=$DIALOG
  sleep 0.15
}

# The pointer out of the table, so that no row is highlighted or under the wheel.
zl_pointer_away() {
  xdotool mousemove --window "$MAIN_WINDOW" 300 10
  sleep 0.05
}

# Fills the open editor: work type, hours, minutes, remark (each field replaced), then Enter.
zl_fill_editor() {
  local work_type=$1 hours=$2 minutes=$3 remark=$4
  xdotool windowfocus --sync "$EDITOR" 2>/dev/null || true
  xdotool key --clearmodifiers ctrl+a BackSpace
  [ -n "$work_type" ] && xdotool type --delay 30 "$work_type"
  xdotool key Tab ctrl+a
  xdotool type --delay 30 "$hours"
  xdotool key Tab ctrl+a
  xdotool type --delay 30 "$minutes"
  xdotool key Tab ctrl+a BackSpace
  [ -n "$remark" ] && xdotool type --delay 30 "$remark"
  xdotool key Return
}
