#!/usr/bin/env bash
# A throw-away PostgreSQL server for the team-records tests: a cluster in a temporary folder,
# run as the postgres user, listening only on a Unix socket in that folder.
#
#   scripts/postgres-test-server.sh start DIR   prints the connection address for VIGIL_TEST_POSTGRES
#   scripts/postgres-test-server.sh stop DIR    stops it and removes DIR
#   scripts/postgres-test-server.sh halt DIR    stops it, keeping its data (a server away)
#   scripts/postgres-test-server.sh resume DIR  starts a halted one again
set -euo pipefail
action=${1:?start, stop, halt or resume}
dir=${2:?a folder for the cluster}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
[ -x "$bin/initdb" ] || { echo "postgres-test-server: no PostgreSQL server installed" >&2; exit 2; }
port=54329

as_postgres() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
owner=$( [ "$(id -u)" -eq 0 ] && echo postgres || id -un )

start_server() {
  as_postgres "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port -c fsync=off" start >/dev/null
}

case "$action" in
  start)
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
    chmod 0700 "$dir"
    as_postgres "$bin/initdb" -D "$dir/data" -A trust -U "$owner" -E UTF8 --locale=C.UTF-8 >/dev/null
    start_server
    as_postgres "$bin/createdb" -h "$dir" -p $port -U "$owner" vigil_test
    # Tests running as another user need to reach the socket folder.
    chmod 0755 "$dir"
    echo "postgresql:///vigil_test?host=$dir&port=$port&user=$owner"
    ;;
  halt)
    as_postgres "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    ;;
  resume)
    start_server
    ;;
  stop)
    if [ -d "$dir/data" ]; then
      as_postgres "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *) echo "usage: $0 start|stop|halt|resume DIR" >&2; exit 2 ;;
esac
