#!/usr/bin/env bash
# The program inside a desktop session: starts that race each other, the end of the
# session (SIGTERM) arriving while a dialog is open, a client that floods the instance
# socket, and another user's folder and listener where the socket would go.
# Usage: bash Suite_Session_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"

alive() { kill -0 "$1" 2>/dev/null && echo "$1"; }
one_of_two_runs() {
  [ "$( (alive "$1"; alive "$2") | wc -l)" = 1 ] &&
    [ "$(xdotool search --onlyvisible --name '^Zentavo Logger$' 2>/dev/null | wc -l)" = 1 ]
}

# Two starts at the same moment: one program runs with its window, the other hands over
# and ends with status 0.
scenario_simultaneous_starts() {
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  local round pid_a pid_b
  for round in 1 2 3 4 5; do
    "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/a.$round.out" 2>&1 & pid_a=$!
    "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/b.$round.out" 2>&1 & pid_b=$!
    ZL_ALL_PIDS="$ZL_ALL_PIDS $pid_a $pid_b"
    zl_wait_for 5 one_of_two_runs "$pid_a" "$pid_b" || true
    sleep 0.3
    one_of_two_runs "$pid_a" "$pid_b" ||
      zl_fail "round $round: $( (alive "$pid_a"; alive "$pid_b") | wc -l) starts run, $(xdotool search --onlyvisible --name '^Zentavo Logger$' | wc -l) windows show"
    ZL_PID=$(alive "$pid_a" || alive "$pid_b")
    wait "$( [ "$ZL_PID" = "$pid_a" ] && echo "$pid_b" || echo "$pid_a")" ||
      zl_fail "round $round: the start that handed over ended with status $?"
    zl_stop
    [ "$(zl_protocol | grep -c 'SAVE_ACTUAL_WORK_LOG - OK')" = 1 ] || zl_fail "round $round: the protocol is $(zl_protocol)"
    zl_expect_record_count 1
  done
}

# The session ends while the start-up asks about a missing day log: the program ends
# without a window and writes no day log. Then it ends while the record editor is open:
# the day is saved without the half-typed record. Then while the delete question is open:
# the record stays.
scenario_session_end_during_dialogs() {
  zl_install
  zl_write_quiet_setup
  zl_start
  zl_wait_dialog
  kill -TERM "$ZL_PID"
  zl_expect_end_without_window
  [ "$(zl_protocol | head -n1)" = " - $ZL_NOT_FOUND" ] || zl_fail "the protocol is: $(zl_protocol)"
  [ ! -e "$(zl_day_log)" ] || zl_fail "a start ended at its first question wrote a day log: $(zl_day_log_rows)"

  zl_step "SIGTERM in the record editor"
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  zl_start_window "$today 11:00:00"
  zl_add_record "Porada" 00 30 "návod"
  zl_open_editor
  zl_type "Rozepsaný"
  zl_stop
  zl_expect_day_saved
  zl_expect_record_count 3
  zl_expect_fields "2:3=Porada" "0:2=08:00 - 11:00"

  zl_step "SIGTERM in the delete question"
  zl_start_window "$today 11:10:00"
  zl_delete_on_row 2 click
  zl_stop
  zl_expect_day_saved
  zl_expect_record_count 3
  zl_expect_fields "2:3=Porada" "2:5=návod" "0:2=08:00 - 11:10"
}

SOCKET_TOOL="python3 $(dirname "$0")/tools/socket_client.py"

# Processor time the program has used, in clock ticks, and its open sockets.
cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$ZL_PID/stat"; }
open_sockets() { find "/proc/$ZL_PID/fd" -lname 'socket:*' 2>/dev/null | wc -l; }
open_sockets_at_most() { [ "$(open_sockets)" -le "$1" ]; }
# The path the program listens at, wherever a long runtime folder made it go.
listening_socket() {
  local inodes
  inodes=$(find "/proc/$ZL_PID/fd" -lname 'socket:*' -printf '%l\n' 2>/dev/null | tr -dc '0-9\n')
  awk -v inodes="$inodes" 'BEGIN { split(inodes, list, "\n"); for (i in list) mine[list[i]] = 1 }
    $6 == "01" && ($7 in mine) && $8 ~ /^\// { print $8; exit }' /proc/net/unix
}

# A client of the same user holds 1,100 connections to the program's socket while the
# program may open only a few more descriptors than it uses: the program does not spin, a
# dialog still opens and draws, a start meanwhile does not become a second instance, the
# connections are freed when the client goes, and the next start hands over as before.
scenario_connection_flood() {
  zl_start_morning_day 09:00:00
  local socket idle_sockets flood_pid made ticks_before ticks ticks_per_second colours status=0
  socket=$(listening_socket)
  [ -S "$socket" ] || zl_fail "the program listens at no socket"
  # Whatever a first dialog opens for good is open before the sockets are counted.
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  zl_close_dialog "$DIALOG"
  idle_sockets=$(open_sockets)
  prlimit --pid "$ZL_PID" --nofile="$(($(ls "/proc/$ZL_PID/fd" | wc -l) + 24)):"
  zl_step "limit $(prlimit --pid "$ZL_PID" --nofile --output SOFT --noheadings), $idle_sockets sockets open"

  exec 8> >($SOCKET_TOOL flood "$socket" 1100 >"$ZL_WORK/flood.out")
  flood_pid=$!
  ZL_ALL_PIDS="$ZL_ALL_PIDS $flood_pid"
  zl_wait_for 10 test -s "$ZL_WORK/flood.out" || zl_fail "the flood made no connections"
  made=$(cat "$ZL_WORK/flood.out")
  sleep 0.5
  ticks_per_second=$(getconf CLK_TCK)
  ticks_before=$(cpu_ticks)
  sleep 2
  ticks=$(($(cpu_ticks) - ticks_before))
  zl_step "$made connections made; $ticks of $((2 * ticks_per_second)) ticks used in 2 s; $(open_sockets) sockets open"
  [ "$ticks" -lt $((2 * ticks_per_second / 5)) ] || zl_fail "the program used $ticks ticks of processor time in 2 s"
  open_sockets_at_most $((idle_sockets + 8)) || zl_fail "the program holds $(open_sockets) sockets, $idle_sockets before"

  zl_step "a dialog opens and draws"
  zl_pointer_away
  zl_keys "$MAIN_WINDOW" s
  zl_wait_dialog
  sleep 0.5
  colours=$(import -window "$DIALOG" png:- | identify -format '%k' -)
  import -window root "$ZL_WORK/flood-dialog.png"
  [ "$colours" -gt 8 ] || zl_fail "the settings dialog shows only $colours colours: not drawn"
  zl_close_dialog "$DIALOG"

  zl_step "a start meanwhile ends without a window of its own"
  timeout 15 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/flooded-start.out" 2>&1 || status=$?
  [ "$status" = 0 ] || zl_fail "the start during the flood ended with status $status"
  [ "$(xdotool search --onlyvisible --name '^Zentavo Logger$' | wc -l)" = 1 ] || zl_fail "a second main window shows"

  zl_step "the client goes: its connections are freed"
  exec 8>&-
  wait "$flood_pid" 2>/dev/null || true
  zl_wait_for 10 open_sockets_at_most "$idle_sockets" ||
    zl_fail "the program still holds $(open_sockets) sockets, $idle_sockets before the flood"
  zl_second_start
  zl_stop
  zl_expect_day_saved
}

# With neither XDG_RUNTIME_DIR nor a usable folder of its own, another user has made the
# folders where the socket would go and listens there, answering "OK" to every start. No
# start speaks to them: the program makes its own folder (mode 0700) and runs.
scenario_foreign_socket_folders() {
  if [ "$(id -u)" != 0 ]; then
    echo "NOTE: only root can make folders of another user; skipped"
    return 0
  fi
  zl_install
  zl_write_quiet_setup
  zl_write_day_log "$(zl_day_name "$today")" "$today_text" "08:00 - 08:00" "DEFAULT" "00:00" ""
  unset XDG_RUNTIME_DIR
  local key folder listener own
  # The key names the user and the program's folder.
  key="Zentavo_Logger-$(id -u)-$(printf %s "$(realpath "$PROGRAM_DIR")" | sha1sum | cut -c1-16)"
  # The program's own socket path keeps its plain name up to 100 bytes (longer ones are
  # shortened), and the strangers' must fit a socket address.
  own="$TMPDIR/zentavo-logger-$(id -u)-1/$key"
  if [ ${#own} -gt 100 ]; then
    echo "NOTE: TMPDIR ($TMPDIR) is too long for the strangers' socket paths; skipped"
    return 0
  fi
  # Ours by name, the desktop's own fallback by name, and the temporary folder itself.
  for folder in "$TMPDIR/zentavo-logger-$(id -u)" "$TMPDIR/runtime-$(id -un)"; do
    mkdir -m 777 "$folder"
  done
  for folder in "$TMPDIR/zentavo-logger-$(id -u)" "$TMPDIR/runtime-$(id -un)" "$TMPDIR"; do
    $SOCKET_TOOL listen "$folder/$key" "$ZL_WORK/heard.log" 65534 >>"$ZL_WORK/listeners.out" 2>&1 &
    ZL_ALL_PIDS="$ZL_ALL_PIDS $!"
  done
  zl_wait_for 5 eval '[ "$(grep -c listening "$ZL_WORK/listeners.out" 2>/dev/null)" = 3 ]' ||
    zl_fail "the strangers do not listen: $(cat "$ZL_WORK/listeners.out")"
  chown 65534:65534 "$TMPDIR/zentavo-logger-$(id -u)" "$TMPDIR/runtime-$(id -un)"

  zl_start_window "$today 09:00:00"
  own=$(find "$TMPDIR" -type s -user "$(id -u)")
  [ "$own" = "$TMPDIR/zentavo-logger-$(id -u)-1/$key" ] || zl_fail "the program listens at '$own'"
  [ "$(stat -c '%u %a' "$(dirname "$own")")" = "$(id -u) 700" ] ||
    zl_fail "its folder is $(stat -c '%U %a' "$(dirname "$own")")"
  # Right after the window shows the start-up still has its last steps to take, so the
  # first hand-over is not timed.
  timeout 10 "$PROGRAM_DIR/zentavo-logger" >"$ZL_WORK/early.out" 2>&1 || zl_fail "an early second start ended with $?"
  zl_second_start
  [ ! -e "$ZL_WORK/heard.log" ] || zl_fail "a stranger heard: $(cat "$ZL_WORK/heard.log")"
  zl_stop
  zl_expect_day_saved
}

zl_main "$@" simultaneous_starts session_end_during_dialogs connection_flood foreign_socket_folders
