#!/usr/bin/env bash
# A throw-away PostgreSQL 15 catalogue server for the integration suites and
# the benchmarks, listening on 127.0.0.1 only.
#
#   pg-test-server.sh start DIR    creates a cluster in DIR, starts it on a free
#                                  loopback port, creates database "Net" with the
#                                  catalogue schema and the logins below; prints
#                                  PORT=<n> on stdout and writes it to DIR/port
#   pg-test-server.sh stop DIR     stops the server and removes DIR
#   pg-test-server.sh halt DIR     stops the server but keeps its data and port
#   pg-test-server.sh resume DIR   starts a halted server again on the same port
#
# Logins, all with the password "plumbax":
#   velmora        the program's login, with the least-privilege grants
#   velmora_keeper a maintainer's login (the program's rights and the address tidy-up)
#   velmora_admin  owner of "Net" and its tables, for test fixtures
#
# The server runs as the system user "postgres"; DIR is handed to it. Every
# failure ends the script with a message and a non-zero status, and a server
# that it started but could not finish setting up is stopped again.
set -euo pipefail

PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
PG_USER=postgres
PASSWORD=plumbax
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SCHEMA="$HERE/../catalogue/schema/postgresql.sql"
GRANTS="$HERE/../catalogue/schema/grants-postgresql.sql"

die() {
  echo "pg-test-server: $*" >&2
  exit 1
}

usage() {
  echo "usage: $0 start|stop|halt|resume DIR" >&2
  exit 2
}

as_server_user() {
  runuser -u "$PG_USER" -- "$@"
}

absolute() {
  case "$1" in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s/%s\n' "$(pwd)" "$1" ;;
  esac
}

socket_dir() {
  cat "$DIR/socketdir" 2>/dev/null || true
}

server_running() {
  [ -f "$DIR/data/postmaster.pid" ] && as_server_user "$PG_BIN/pg_ctl" -D "$DIR/data" status >/dev/null 2>&1
}

show_log() {
  if [ -f "$DIR/server.log" ]; then
    echo "---- last lines of $DIR/server.log ----" >&2
    tail -n 30 "$DIR/server.log" >&2 || true
  fi
}

stop_server() {
  [ -d "$DIR/data" ] || return 0
  if server_running; then
    if ! as_server_user "$PG_BIN/pg_ctl" -D "$DIR/data" stop -m fast -w -t 60 >/dev/null 2>&1; then
      as_server_user "$PG_BIN/pg_ctl" -D "$DIR/data" stop -m immediate -w -t 30 >/dev/null 2>&1 || true
    fi
  fi
  # A postmaster that pg_ctl could not stop is ended by its own pid.
  if [ -f "$DIR/data/postmaster.pid" ]; then
    local pid
    pid=$(head -n 1 "$DIR/data/postmaster.pid" 2>/dev/null || true)
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null &&
       grep -q postgres "/proc/$pid/cmdline" 2>/dev/null; then
      kill -KILL "$pid" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$DIR/data/postmaster.pid"
  fi
}

port_in_use() {
  ss -ltnH "( sport = :$1 )" 2>/dev/null | grep -q .
}

wait_ready() {
  local port=$1 socket
  socket=$(socket_dir)
  for _ in $(seq 300); do
    if "$PG_BIN/pg_isready" -q -h 127.0.0.1 -p "$port" -d postgres -U "$PG_USER" &&
       "$PG_BIN/psql" -X -q -h "$socket" -p "$port" -U "$PG_USER" -d postgres -c 'select 1' >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Starts the cluster on one port; returns 3 when that port was taken.
launch() {
  local port=$1
  if ! as_server_user "$PG_BIN/pg_ctl" -D "$DIR/data" -l "$DIR/server.log" -w -t 60 \
         -o "-p $port -c listen_addresses=127.0.0.1 -c unix_socket_directories=$(socket_dir)" \
         start >/dev/null 2>&1; then
    if grep -qE 'could not bind|Address already in use|could not create any TCP/IP sockets' "$DIR/server.log" 2>/dev/null; then
      stop_server
      return 3
    fi
    return 1
  fi
  wait_ready "$port" || return 1
}

psql_as() {
  local user=$1 database=$2
  shift 2
  "$PG_BIN/psql" -X -q -v ON_ERROR_STOP=1 -h "$(socket_dir)" -p "$(cat "$DIR/port")" -U "$user" -d "$database" "$@"
}

start() {
  [ -x "$PG_BIN/initdb" ] || die "PostgreSQL 15 is not installed (no $PG_BIN/initdb)"
  [ -r "$SCHEMA" ] || die "schema $SCHEMA not found"
  [ -r "$GRANTS" ] || die "grants $GRANTS not found"
  id "$PG_USER" >/dev/null 2>&1 || die "system user $PG_USER does not exist"

  # A leftover of an earlier run in the same folder goes first.
  if [ -e "$DIR" ]; then
    stop_server
    cleanup_socket
    rm -rf "$DIR"
  fi
  mkdir -p "$DIR"
  # The socket path must stay below the system's limit of 107 bytes.
  if [ ${#DIR} -le 60 ]; then
    mkdir -p "$DIR/socket"
    printf '%s\n' "$DIR/socket" >"$DIR/socketdir"
  else
    mktemp -d /tmp/velmora-pg.XXXXXX >"$DIR/socketdir"
  fi
  chmod 700 "$(socket_dir)"
  chown -R "$PG_USER:" "$DIR" "$(socket_dir)"
  chmod 755 "$DIR"

  trap 'status=$?; if [ $status -ne 0 ]; then show_log; stop_server; fi' EXIT

  as_server_user "$PG_BIN/initdb" -D "$DIR/data" -U "$PG_USER" -E UTF8 --locale=C.UTF-8 \
    --auth-local=trust --auth-host=scram-sha-256 >"$DIR/initdb.log" 2>&1 ||
    { cat "$DIR/initdb.log" >&2; die "initdb failed in $DIR/data"; }
  cat >>"$DIR/data/postgresql.conf" <<'EOF'

# throw-away test server
listen_addresses = '127.0.0.1'
max_connections = 100
fsync = off
synchronous_commit = off
full_page_writes = off
log_min_messages = warning
log_min_error_statement = panic
EOF

  local port="" attempt status
  for attempt in $(seq 20); do
    local candidate=$(( 20000 + (RANDOM * 32768 + RANDOM) % 40000 ))
    port_in_use "$candidate" && continue
    status=0
    launch "$candidate" || status=$?
    if [ $status -eq 0 ]; then
      port=$candidate
      break
    fi
    [ $status -eq 3 ] || die "the server did not start on port $candidate"
  done
  [ -n "$port" ] || die "no free loopback port found"
  printf '%s\n' "$port" >"$DIR/port"

  psql_as "$PG_USER" postgres <<EOF
create role velmora_admin login createrole password '$PASSWORD';
create role velmora login password '$PASSWORD';
create role velmora_keeper login password '$PASSWORD';
create database "Net" owner velmora_admin encoding 'UTF8' template template0;
EOF
  psql_as velmora_admin Net -1 -f "$SCHEMA"
  psql_as velmora_admin Net -1 -f "$GRANTS"
  psql_as velmora_admin Net -c 'grant velmora_upkeep to velmora_keeper'

  # The program's login must reach the server over TCP with its password.
  PGPASSWORD=$PASSWORD "$PG_BIN/psql" -X -q -h 127.0.0.1 -p "$port" -U velmora -d Net \
    -c 'select count(*) from Net' >/dev/null ||
    die "the program's login cannot reach the catalogue on port $port"

  trap - EXIT
  echo "PORT=$port"
}

cleanup_socket() {
  local socket
  socket=$(socket_dir)
  case "$socket" in
    /tmp/velmora-pg.*) rm -rf "$socket" ;;
  esac
}

stop() {
  [ -e "$DIR" ] || return 0
  stop_server
  server_running && die "the server in $DIR does not stop"
  cleanup_socket
  rm -rf "$DIR"
}

halt() {
  [ -f "$DIR/port" ] || die "no server in $DIR"
  stop_server
  server_running && die "the server in $DIR does not stop"
  return 0
}

resume() {
  [ -f "$DIR/port" ] || die "no server in $DIR"
  server_running && return 0
  local port status=0
  port=$(cat "$DIR/port")
  launch "$port" || status=$?
  if [ $status -ne 0 ]; then
    show_log
    die "the server did not start again on port $port"
  fi
}

[ $# -eq 2 ] || usage
[ "$(id -u)" -eq 0 ] || die "run as root: the server is started as the system user $PG_USER"
DIR=$(absolute "$2")
DIR=${DIR%/}
[ -n "$DIR" ] && [ "$DIR" != / ] || die "refusing folder '$2'"
case "$1" in
  start) start ;;
  stop) stop ;;
  halt) halt ;;
  resume) resume ;;
  *) usage ;;
esac
