#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests, from Debian's postgresql package, listening only on
# a Unix socket in its own folder.
#   pg_cluster.sh start DIR   prints the postgresql:// URI of a fresh, running server in DIR
#   pg_cluster.sh stop DIR    stops it
set -euo pipefail
action=$1 dir=$2
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
# The server refuses to run as root; the package made the postgres user for it.
as_owner() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
case $action in
  start)
    mkdir -p "$dir"
    [ "$(id -u)" -ne 0 ] || chown postgres "$dir"
    as_owner "$bin/initdb" -D "$dir/data" --auth=trust --username=postgres --encoding=UTF8 >"$dir/initdb.log" 2>&1
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c max_connections=60 -c fsync=off" start >/dev/null
    echo "postgresql://postgres@/postgres?host=$dir"
    ;;
  stop)
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    ;;
  *) echo "usage: pg_cluster.sh start|stop DIR" >&2; exit 2 ;;
esac
