#!/bin/sh
# Runs a command (by default the upload latency benchmark) against a Firebird
# server of its own, in a network namespace of its own (only its loopback),
# with wire encryption off on the server and in the client: the relay of the
# benchmark can then read the operations of every turn. The server, its
# security database and the benchmark's databases live in a temporary folder
# that goes at the end. Needs root (unshare).
#
#   bench/upload/plain_wire.sh                       # build/bench/bench/upload_latency_bench
#   bench/upload/plain_wire.sh <command> [args...]
set -eu

here=$(cd "$(dirname "$0")/../.." && pwd)
. "$here/tools/server.env"
if [ $# -eq 0 ]; then
    set -- "$here/build/bench/bench/upload_latency_bench"
fi

installed=
for d in /usr/lib/*/firebird/3.0 /opt/firebird; do
    [ -d "$d/plugins" ] && installed=$d && break
done
[ -n "$installed" ] || { echo "no Firebird 3 installation found" >&2; exit 1; }

root=$(mktemp -d /tmp/amqb-plain-wire.XXXXXX)
trap 'rm -rf "$root"' EXIT
for part in plugins intl lib firebird.msg plugins.conf UDF; do
    [ -e "$installed/$part" ] && ln -s "$installed/$part" "$root/$part"
done
mkdir -p "$root/lock" "$root/tmp" "$root/data"
cat > "$root/firebird.conf" <<EOF
RemoteServicePort = 3050
ServerMode = Super
SecurityDatabase = $root/security3.fdb
IpcName = FirebirdPlainWire
WireCrypt = Disabled
EOF
echo "security.db = $root/security3.fdb" > "$root/databases.conf"

export FIREBIRD="$root" FIREBIRD_LOCK="$root/lock" FIREBIRD_TMP="$root/tmp"
isql=isql-fb
command -v isql-fb > /dev/null || isql=isql
printf "create database '%s';\ncreate user %s password '%s';\ncommit;\n" \
    "$root/security3.fdb" "$AMQB_FB_USER" "$AMQB_FB_PASSWORD" | (cd "$root" && "$isql" -q -user SYSDBA)

export AMQB_FB_HOST=localhost AMQB_FB_DATA="$root/data" \
    AMQB_FB_USER AMQB_FB_PASSWORD
unshare -n sh -c '
    ip link set lo up
    /usr/sbin/firebird > /dev/null 2>&1 &
    server=$!
    for i in $(seq 100); do
        bash -c "exec 3<>/dev/tcp/127.0.0.1/3050" 2>/dev/null && break
        sleep 0.1
    done
    "$@"
    status=$?
    kill $server
    wait $server 2>/dev/null
    exit $status
' plain-wire "$@"
