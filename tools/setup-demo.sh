#!/usr/bin/env bash
# The demo: prepares the demo databases, settings and web folder
# (tools/demo-prepare.sh), then runs the program with the eleven arguments
# of an unattended export, so that it uploads the changed articles and shows
# them. With a display the results window waits for you to close it; without
# one it runs on a virtual display, where a screenshot is taken
# (build/demo/results-window.png) and "Salir" is pressed. Then prints what
# the run did, read back from the databases and the folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/server.env"
drive_c=/var/lib/articulosmqb/c
web="$drive_c/wamp/www/trevola/imgarti"
log="$drive_c/ERRORES.TXT"
exe="$root/build/release/app/articulosmqb"
[ -x "$exe" ] || { echo "No program at $exe; build it first (cmake --preset release && cmake --build --preset release)" >&2; exit 1; }

mapfile -t arguments < <("$root/tools/demo-prepare.sh")
log_before=$(stat -c %s "$log" 2>/dev/null || echo 0)
echo "Demo ready: ERP and catalog in $AMQB_FB_DATA, photographs go to $web"

# Qt wants a private runtime folder and complains without one.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/articulosmqb-runtime}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if [ -n "${DISPLAY:-}" ]; then
  echo "Uploading; close the window \"Productos actualizados\" (Salir) when you have seen it"
  LC_ALL=es_MX.UTF-8 "$exe" "${arguments[@]}" || true
else
  shot="$root/build/demo/results-window.png"
  echo "No display: running on a virtual one; the results window goes to $shot"
  "$root/tools/run-demo-headless.sh" "$exe" "$shot" "$web" "${arguments[@]}"
fi

query() { # query <database> <select>: the rows as isql shows them, in UTF-8
  echo "$2" | isql-fb -q -ch NONE -user "$AMQB_FB_USER" -password "$AMQB_FB_PASSWORD" \
    "$AMQB_FB_HOST:$AMQB_FB_DATA/$1" | iconv -f WINDOWS-1252 -t UTF-8 | sed '/^$/d'
}
echo
echo "== Articles in the catalog (ARTICULOS)"
query quelbo.fdb "SELECT ARTI_COD, CAST(ARTI_DES AS VARCHAR(36)) AS ARTI_DES, ARTI_UNIDAD,
  CATE_ID, SUCA_ID, ARTI_ACTIVO AS ACT, CAST(ARTI_FOTO AS VARCHAR(60)) AS ARTI_FOTO
  FROM ARTICULOS ORDER BY ARTI_COD;"
echo
echo "== Photographs in $web"
(cd "$web" && stat -c '%8s bytes  %n' -- *.jpg 2>/dev/null) || echo "(none)"
echo
echo "== Stamp of company 1 (COMPANIA): the date and time this run uploaded from"
query quelbo.fdb "SELECT COMP_ID, COMP_FECACT, COMP_HORACT FROM COMPANIA WHERE COMP_ID = 1;"
echo
echo "== Lines of this run in $log"
if [ "$(stat -c %s "$log" 2>/dev/null || echo 0)" -gt "$log_before" ]; then
  tail -c +$((log_before + 1)) "$log" | iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r'
else
  echo "(none)"
fi
