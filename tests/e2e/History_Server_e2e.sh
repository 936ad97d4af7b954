#!/usr/bin/env bash
# The history server with the real program: the start's export puts the past day on a real
# PostgreSQL (started here, Unix socket only), the window shows whether the server is up or
# not, a server that is down gets one protocol line, and --push-history then sends the day
# once however often it runs.
# Usage: bash History_Server_e2e.sh <dist_dir>
set -euo pipefail
source "$(dirname "$0")/lib/e2e.sh"
pg_script=$(cd "$(dirname "$0")/../server" && pwd)/pg_test_server.sh
yesterday=$(date -d "$today -1 day" +%F)
yesterday_text=$(date -d "$yesterday" +%d.%m.%Y)

start_server() {
  PG_DIR=$(mktemp -d /tmp/zl_pg_XXXXXX)
  trap 'status=$?; bash "$pg_script" stop "$PG_DIR" >/dev/null 2>&1; rm -rf "$PG_DIR"; (exit $status); zl_scenario_cleanup' EXIT
  bash "$pg_script" start "$PG_DIR" || zl_fail "the test server did not start"
  psql -q -X "host=$PG_DIR dbname=postgres user=zentavo_admin" -c "CREATE ROLE alice LOGIN" \
    -c "CREATE DATABASE alice OWNER alice" >/dev/null
}
on_server() { psql -qtAX "host=$PG_DIR dbname=alice user=alice" -c "$1" 2>/dev/null; }
days_on_server() { on_server "SELECT count(*) FROM zentavo_days WHERE day = '$yesterday'"; }
one_day_on_server() { [ "$(days_on_server)" = 1 ]; }

# A quiet installation whose Setup.ini names the server, with yesterday's day in the day log.
install_with_server() {
  zl_install
  zl_write_quiet_setup '[History_Server]' "Connection=host=$PG_DIR dbname=alice user=alice" 'Person=alice' \
    'Machine=e2e-pc'
  zl_write_day_log "$(zl_day_name "$yesterday")" "$yesterday_text" "08:00 - 15:30" "DEFAULT" "07:30" ""
}

scenario_the_past_day_reaches_the_server_and_its_report() {
  start_server
  install_with_server
  zl_start_window "$today 09:00:00"
  zl_step "the start's export sends yesterday's day"
  zl_wait_for 15 one_day_on_server || zl_fail "the server holds $(days_on_server) days of $yesterday"
  zl_stop
  zl_expect_protocol "$ZL_NOT_ACTUAL" "$ZL_EXPORTED" "$ZL_SAVED"
  zl_step "the report over all the person's PCs counts it"
  local csv
  csv=$(env -u DISPLAY "$PROGRAM_DIR/zentavo-logger" --report all --server)
  [ "$csv" = $'work_type,minutes\nDEFAULT,450\ntotal,450' ] || zl_fail "the server's report is '$csv'"
}

scenario_a_server_that_is_down_delays_nothing_and_the_push_sends_once() {
  start_server
  install_with_server
  bash "$pg_script" stop "$PG_DIR"
  zl_start_window "$today 09:00:00"
  zl_step "the window shows; the failure is one line of the protocol"
  sleep 3
  zl_stop
  [ "$(zl_protocol | grep -c 'SEND_WORK_HISTORY - SERVER - ')" = 1 ] || zl_fail "the protocol: $(zl_protocol)"
  zl_step "with the server back, --push-history sends the day once, twice run"
  bash "$pg_script" restart "$PG_DIR"
  env -u DISPLAY "$PROGRAM_DIR/zentavo-logger" --push-history >/dev/null || zl_fail "--push-history failed"
  env -u DISPLAY "$PROGRAM_DIR/zentavo-logger" --push-history >/dev/null || zl_fail "--push-history failed again"
  one_day_on_server || zl_fail "the server holds $(days_on_server) days of $yesterday"
}

zl_main "$@" the_past_day_reaches_the_server_and_its_report a_server_that_is_down_delays_nothing_and_the_push_sends_once
