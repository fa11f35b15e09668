#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the ODBC tests and benchmarks.
#
#   pg-cluster.sh start <dir> [port]   make a cluster in <dir>, start it, create database "quillet"
#   pg-cluster.sh stop <dir>           stop it and remove <dir>
#
# Trust authentication; the server listens on a Unix socket in <dir> and on
# 127.0.0.1:<port> (default 54329). PostgreSQL refuses to run as root, so
# under root the cluster belongs to the "postgres" system user.
set -euo pipefail

usage() { echo "usage: $0 start|stop <dir> [port]" >&2; exit 2; }
[ $# -ge 2 ] || usage
action=$1
dir=$(realpath -m "$2")
port=${3:-54329}

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] || { echo "PostgreSQL server binaries not found in /usr/lib/postgresql" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop_cluster() {
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}

case $action in
  start)
    stop_cluster   # a cluster left behind by an interrupted run
    mkdir -p "$dir"
    [ "$(id -u)" -ne 0 ] || chown postgres: "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --no-locale --no-sync >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; exit 1; }
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-k $dir -h 127.0.0.1 -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off" start >/dev/null \
      || { cat "$dir/server.log" >&2; exit 1; }
    as_owner "$bin/psql" -X -q -h "$dir" -p "$port" -U postgres -d postgres -c "CREATE DATABASE quillet" >/dev/null
    echo "PostgreSQL running: socket $dir, port $port, database quillet"
    ;;
  stop)
    stop_cluster
    ;;
  *)
    usage
    ;;
esac
