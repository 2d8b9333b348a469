#!/usr/bin/env bash
# Starts the local Firebird 3 server and prepares it for the program:
# SYSDBA with the connections' design-time password, a data folder the
# server may create databases in, and the aliases that let a Linux server
# answer to the Windows paths the program uses.
set -euo pipefail
. "$(dirname "$0")/server.env"

FB_PASSWORD=$AMQB_FB_PASSWORD
DATA_DIR=$AMQB_FB_DATA
CONF=/etc/firebird/3.0/databases.conf
PWFILE=/etc/firebird/3.0/SYSDBA.password

# The system's server runs as the firebird user; a test's private server
# (tests/support/private_server) runs as root and does not count.
server_running() { pgrep -x -u firebird firebird >/dev/null 2>&1; }

if ! server_running; then
  /etc/init.d/firebird3.0 start >/dev/null
  for _ in $(seq 1 50); do server_running && break; sleep 0.2; done
fi
server_running || { echo "The Firebird server did not start" >&2; exit 1; }

mkdir -p "$DATA_DIR"
chown firebird:firebird "$DATA_DIR"

isql() { isql-fb -q "$@"; }

probe_db="$DATA_DIR/probe.fdb"
connects() { echo "quit;" | isql -user sysdba -password "$1" "localhost:$probe_db" >/dev/null 2>&1; }

file_password() { (. "$PWFILE" 2>/dev/null; echo "${ISC_PASSWORD:-}"); }

# A fresh package has a random SYSDBA password recorded in its password file;
# the server also needs a moment before it accepts connections.
if [ ! -f "$probe_db" ]; then
  for _ in $(seq 1 50); do
    for pw in "$FB_PASSWORD" "$(file_password)"; do
      echo "create database 'localhost:$probe_db' user 'SYSDBA' password '$pw';" | isql >/dev/null 2>&1 && break 2
    done
    sleep 0.2
  done
  [ -f "$probe_db" ] || { echo "Could not create $probe_db" >&2; exit 1; }
fi

if ! connects "$FB_PASSWORD"; then
  printf "alter user sysdba password '%s';\ncommit;\n" "$FB_PASSWORD" |
    isql -user sysdba -password "$(file_password)" "localhost:$probe_db"
fi
sed -i "s/^ISC_PASSWORD=.*/ISC_PASSWORD=\"$FB_PASSWORD\"/" "$PWFILE"
connects "$FB_PASSWORD" || { echo "SYSDBA cannot log in with the program's password" >&2; exit 1; }

# Aliases for the Windows paths of the connections' design-time parameters.
add_alias() {
  local alias=$1 target=$2
  if ! grep -qF "$alias =" "$CONF"; then
    printf '%s = %s\n' "$alias" "$target" >>"$CONF"
  fi
}
add_alias 'C:\dorvan\sop\dorvan.fdb' "$DATA_DIR/dorvan.fdb"
add_alias 'C:\TREVOLA\QUELBO.FDB' "$DATA_DIR/quelbo.fdb"

echo "Firebird server ready; databases in $DATA_DIR"
