#!/bin/bash
# A throw-away PostgreSQL server for the tests: its data and its Unix socket in one folder,
# no TCP at all. initdb refuses root, so under root the server runs as an unprivileged user.
#   pg_test_server.sh start DIR   initdb + start; superuser zentavo_admin; prints nothing on success
#   pg_test_server.sh stop DIR    stop it (fast) and leave DIR for the caller to remove
#   pg_test_server.sh restart DIR start a stopped one again
# The role pw_eve must give a password; every other local role is trusted.
set -euo pipefail
action=$1
dir=$2
bin=${ZL_PG_BIN:-/usr/lib/postgresql/15/bin}
[ -x "$bin/initdb" ] || bin=$(dirname "$(command -v initdb || echo /usr/bin/initdb)")

as_server_user=()
if [ "$(id -u)" -eq 0 ]; then
    user=${ZL_PG_USER:-nobody}
    chown "$user" "$dir"
    as_server_user=(setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups --)
fi
run() { "${as_server_user[@]}" env HOME="$dir" "$@"; }

start_server() {
    run "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c max_connections=60" \
        start > /dev/null
}

case $action in
start)
    chmod 755 "$dir"
    run "$bin/initdb" -D "$dir/data" -U zentavo_admin --auth=trust -E UTF8 --locale=C.UTF-8 > "$dir/initdb.log"
    printf 'local all pw_eve scram-sha-256\nlocal all all trust\n' > "$dir/data/pg_hba.conf"
    start_server
    ;;
restart) start_server ;;
stop) run "$bin/pg_ctl" -D "$dir/data" -m fast -w stop > /dev/null ;;
*) echo "usage: $0 start|stop|restart DIR" >&2; exit 2 ;;
esac
