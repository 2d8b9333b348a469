#!/usr/bin/env bash
# Takes the picture of the login window for the README: runs the real
# program under Xvfb with a settings file and a server list of its own, with
# ten arguments so that it fills in server, user, password and company and
# connects to the local demo catalog (the date and time of the company's last
# update on view), grabs the window with ImageMagick's import (package
# imagemagick) and writes docs/login-window.png.
#
#   tools/screenshot-login.sh [path/to/articulosmqb]    (default build/default/app/articulosmqb)
#
# The window has no frame: Xvfb runs no window manager. The locale is Spanish
# (Mexico), the one the program was made for; the fonts are the ones
# a user gets: the program's own substitutes for the Windows fonts it asks for.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "${1:-$root/build/default/app/articulosmqb}")
out=$root/docs/login-window.png

[[ -x $exe ]] || { echo "No program at $exe; build it first (cmake --build --preset default)" >&2; exit 1; }
for tool in xvfb-run import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing; run tools/install-packages.sh" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/xdg/Ostrel" "$work/app" "$work/runtime"
chmod 700 "$work/runtime"
printf 'Directorio = %s\n' "$work/app" >"$work/xdg/Ostrel/Trevola.conf"
printf 'localhost:/var/lib/firebird/3.0/data/articulosmqb\r\ncatalogo.trevola.invalid/3050:C:\\TREVOLA\r\n' \
  >"$work/app/SERVIDORES.cfg"

# The demo catalog on the local server (tools/setup-firebird.sh), with the
# company stamp 23 April 2020, 14:05:09.
data=/var/lib/firebird/3.0/data/articulosmqb
if [ ! -f "$data/quelbo.fdb" ]; then
  { echo "CREATE DATABASE 'localhost:$data/quelbo.fdb' USER 'SYSDBA' PASSWORD 'ferrolake';"
    iconv -f UTF-8 -t WINDOWS-1252 "$root/tests/fixtures/quelbo.sql"; } | isql-fb -q -b -ch NONE
fi

cat >"$work/grab.sh" <<'GRAB'
#!/usr/bin/env bash
set -euo pipefail
# The server may take a moment to accept clients.
for _ in $(seq 50); do
  timeout 5 import -window root -crop 1x1+0+0 "$3" 2>/dev/null && break
  sleep 0.2
done
LC_ALL=es_MX.UTF-8 "$1" "localhost/3050:$4" sysdba ferrolake 1 x x x x x 1 &
program=$!
# The window is up once import finds it by its title.
for _ in $(seq 50); do
  sleep 0.3
  if timeout 5 import -window "Actualizar articulos" "$2" 2>/dev/null; then
    # Again once the connection has filled in the company's stamp.
    sleep 2
    timeout 5 import -window "Actualizar articulos" "$2"
    kill "$program"
    exit 0
  fi
done
kill "$program"
echo "The login window did not appear" >&2
exit 1
GRAB
chmod +x "$work/grab.sh"

mkdir -p "$(dirname "$out")"
XDG_CONFIG_DIRS=$work/xdg XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" "$work/grab.sh" "$exe" "$out" "$work/probe.png" "$data"
echo "Wrote $out"
