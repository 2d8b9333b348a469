#!/usr/bin/env bash
# Takes the picture of the login window for the README: runs the real program
# under Xvfb with a settings file and a server list of its own, grabs the
# window with ImageMagick's import (package imagemagick) and writes
# docs/login-window.png.
#
#   tools/screenshot-login.sh [path/to/articulosmqb]    (default build/default/app/articulosmqb)
#
# The window has no frame: Xvfb runs no window manager. The fonts the window
# asks for ("MS Sans Serif", "Arial Narrow") are Windows fonts; a fontconfig
# file of the script's own maps them to narrow free fonts so that the captions
# fit as they do on Windows.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/server.env"
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
printf '%s:%s\r\ncatalogo.trevola.invalid/3050:C:\\TREVOLA\r\n' "$AMQB_FB_HOST" "$AMQB_FB_DATA" \
  >"$work/app/SERVIDORES.cfg"

# Qt takes a family only from the fonts themselves, so the narrow free face
# is given the Windows names when fontconfig scans it (into a cache of ours).
cat >"$work/fonts.conf" <<FONTS
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <cachedir>$work/fontcache</cachedir>
  <match target="scan">
    <test name="file" compare="contains"><string>DejaVuSansCondensed.ttf</string></test>
    <edit name="family" mode="assign" binding="same"><string>MS Sans Serif</string></edit>
  </match>
  <match target="scan">
    <test name="file" compare="contains"><string>DejaVuSansCondensed.ttf</string></test>
    <edit name="family" mode="append" binding="same"><string>Arial Narrow</string></edit>
  </match>
</fontconfig>
FONTS

cat >"$work/grab.sh" <<'GRAB'
#!/usr/bin/env bash
set -euo pipefail
# The server may take a moment to accept clients.
for _ in $(seq 50); do
  timeout 5 import -window root -crop 1x1+0+0 "$3" 2>/dev/null && break
  sleep 0.2
done
"$1" &
program=$!
# The window is up once import finds it by its title.
for _ in $(seq 50); do
  sleep 0.3
  if timeout 5 import -window "Actualizar articulos" "$2" 2>/dev/null; then
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
  FONTCONFIG_FILE=$work/fonts.conf \
  xvfb-run -a -s "-screen 0 800x600x24 -dpi 96" "$work/grab.sh" "$exe" "$out" "$work/probe.png"
echo "Wrote $out"
