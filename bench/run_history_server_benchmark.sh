#!/usr/bin/env bash
# The history server over a local socket, against a PostgreSQL started here (as the tests
# start theirs): one day's send (median of 51), the whole `--push-history` process of a
# ten-year history, and the whole `--report month --team` process over 50 persons x 10
# years (median of 5).
# Usage: bench/run_history_server_benchmark.sh [build directory (default build-bench)]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
if [ ! -x "$build/bench/history_server_benchmark" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZL_BUILD_BENCH=ON -DZL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target history_server_benchmark zentavo-logger zl_dist_data >/dev/null
fi
pg=$(mktemp -d /tmp/zl_pg_XXXXXX)
work=$(mktemp -d "$PWD/$build/server_bench_XXXXXX")
trap 'bash tests/server/pg_test_server.sh stop "$pg" || true; rm -rf "$pg" "$work"' EXIT
bash tests/server/pg_test_server.sh start "$pg"
admin() { psql -q -X "host=$pg dbname=${2:-postgres} user=zentavo_admin" -c "$1" >/dev/null; }
admin "CREATE ROLE bench_owner LOGIN CREATEROLE"
admin "CREATE DATABASE bench OWNER bench_owner"
admin "CREATE ROLE bench_person LOGIN"
admin "CREATE ROLE lead LOGIN"
folder() {  # a program folder whose Setup.ini names the server with that role
  mkdir -p "$work/$1"
  cp -r "$build/dist/." "$work/$1/"
  printf '\r\n[History_Server]\r\nConnection=host=%s dbname=bench user=%s\r\nPerson=%s\r\nMachine=bench-pc\r\n' \
    "$pg" "$1" "$1" >>"$work/$1/Setup.ini"
}
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$work/$1/zentavo-logger" "${@:2}"; }
folder bench_owner
folder bench_person
folder lead
run bench_owner --init-server >/dev/null
admin "GRANT zentavo_reporter TO lead"
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
elapsed_ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  awk -v n=$((end - start)) 'BEGIN {printf "%.1f", n / 1000000}'
}

send=$("$build/bench/history_server_benchmark" send "host=$pg dbname=bench user=bench_person" | awk '{print $2}')
admin "DELETE FROM zentavo_days" bench
days=$("$build/bench/history_server_benchmark" store "$work/bench_person/Work_History.sqlite" | awk '{print $2}')
push=$(elapsed_ms run bench_person --push-history)
again=$(elapsed_ms run bench_person --push-history)
admin "DELETE FROM zentavo_days" bench
team_days=$("$build/bench/history_server_benchmark" team "host=$pg dbname=bench user=zentavo_admin" | awk '{print $2}')
: >"$work/team.txt"
for _ in 1 2 3 4 5; do elapsed_ms run lead --report month --team --from 2025-11-01 --to 2025-11-30 >>"$work/team.txt"; echo >>"$work/team.txt"; done

printf '| history server: one day sent in its own transaction, local socket (median of 51) | %s ms | | | <= 5 ms |\n' "$send"
printf '| history server: `--push-history` of ten years (%s days), whole process | %s ms | | | <= 2000 ms |\n' "$days" "$push"
printf '| history server: the same `--push-history` again (nothing new) | %s ms | | | |\n' "$again"
printf '| history server: `--report month --team`, %s days of 50 persons, whole process (median of 5) | %s ms | | | <= 200 ms |\n' \
  "$team_days" "$(median <"$work/team.txt")"
