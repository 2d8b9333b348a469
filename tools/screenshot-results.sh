#!/usr/bin/env bash
# Takes the picture of the results window for the README: prepares the demo
# as ./run demo does (tools/demo-prepare.sh: settings, the ERP's changed
# articles with their photographs, the catalog, the web folder), runs the
# real program with the eleven arguments of an unattended export on a
# virtual display, grabs the window once the upload is over and presses
# "Salir" (tools/run-demo-headless.sh), and writes docs/results-window.png.
#
#   tools/screenshot-results.sh [path/to/articulosmqb]    (default build/default/app/articulosmqb)
#
# The window has no frame: Xvfb runs no window manager. The locale is Spanish
# (Mexico); the fonts are the program's own substitutes for the Windows fonts
# it asks for.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "${1:-$root/build/default/app/articulosmqb}")
out=$root/docs/results-window.png
[[ -x $exe ]] || { echo "No program at $exe; build it first (cmake --build --preset default)" >&2; exit 1; }

mapfile -t arguments < <("$root/tools/demo-prepare.sh")
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
XDG_RUNTIME_DIR=$runtime "$root/tools/run-demo-headless.sh" "$exe" "$out" \
  /var/lib/articulosmqb/c/wamp/www/trevola/imgarti "${arguments[@]}"
echo "Wrote $out"
