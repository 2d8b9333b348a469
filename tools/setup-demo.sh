#!/usr/bin/env bash
# Prepares the demo: the settings file that stands for the registry, the
# server list, the two demo databases on the local server, then starts the
# program on its main window (under Xvfb when there is no display).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/server.env"
data=$AMQB_FB_DATA
drive_c=/var/lib/articulosmqb/c
appdir="$drive_c/Trevola"

# The registry key: HKEY_LOCAL_MACHINE\Software\Ostrel\Trevola, value Directorio.
mkdir -p /etc/xdg/Ostrel "$appdir" "$drive_c/wamp/www/trevola/imgarti"
cat >/etc/xdg/Ostrel/Trevola.conf <<CONF
Directorio=C:\\\\Trevola

[Drives]
C=$drive_c
CONF
printf '%s/3050:%s\r\n' "$AMQB_FB_HOST" "$data" >"$appdir/SERVIDORES.cfg"

create_db() { # create_db <file> <script>
  local file=$1 script=$2
  [ -f "$file" ] && return 0
  { echo "CREATE DATABASE '$AMQB_FB_HOST:$file' USER '$AMQB_FB_USER' PASSWORD '$AMQB_FB_PASSWORD';"
    iconv -f UTF-8 -t WINDOWS-1252 "$script"; } |
    isql-fb -q -b -ch NONE
}
create_db "$data/quelbo.fdb" "$root/tests/fixtures/quelbo.sql"
create_db "$data/dorvan.fdb" "$root/tests/fixtures/dorvan.sql"

exe="$root/build/default/app/articulosmqb"
# Qt wants a private runtime folder and complains without one.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/articulosmqb-runtime}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
echo "Demo ready: server list $appdir/SERVIDORES.cfg, databases in $data"
if [ -n "${DISPLAY:-}" ]; then
  exec "$exe" "$@"
fi
# No display: show the window on a virtual one and keep a picture of it.
shot="$root/build/demo/login.png"
mkdir -p "$(dirname "$shot")"
echo "No display: running under Xvfb for 10 seconds; a screenshot goes to $shot"
# The program and its arguments reach the inner shell as its own arguments,
# so that blanks and quotes in them stay as they are.
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  shot=$1; shift
  "$@" & pid=$!
  sleep 4
  command -v import >/dev/null && import -window root "$shot" || true
  sleep 6; kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true' bash "$shot" "$exe" "$@"
