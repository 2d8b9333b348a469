#!/usr/bin/env bash
# Prepares everything an unattended demo upload needs, the same on every run:
#   - the settings file that stands for the registry, with drive C mapped to
#     /var/lib/articulosmqb/c, and the server list in the application folder;
#   - the web folder c:\wamp\www\trevola\imgarti, emptied of the demo company's
#     photographs;
#   - the ERP database (the server's alias for C:\dorvan\sop\dorvan.fdb) with
#     the demo articles: most of them with a JPEG photograph made here by
#     ImageMagick, two without one, and one changed before the company's
#     stamp; the ERP reads dates day first, as in Spanish (Mexico);
#   - the catalog database with company 1 stamped 23 April 2020, 14:05:09 and
#     one demo article already in it, as an earlier upload left it.
# Prints the eleven arguments of the unattended export, one a line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/server.env"
data=$AMQB_FB_DATA
drive_c=/var/lib/articulosmqb/c
appdir="$drive_c/Trevola"
web="$drive_c/wamp/www/trevola/imgarti"

# The registry key: HKEY_LOCAL_MACHINE\Software\Ostrel\Trevola, value Directorio.
mkdir -p /etc/xdg/Ostrel "$appdir" "$web"
cat >/etc/xdg/Ostrel/Trevola.conf <<CONF
Directorio=C:\\\\Trevola

[Drives]
C=$drive_c
CONF
printf '%s/3050:%s\r\n' "$AMQB_FB_HOST" "$data" >"$appdir/SERVIDORES.cfg"
rm -f "$web"/1-*.jpg "$web"/1-*.jpg.tmp

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# isql takes 8-bit text whole only from a file: from a pipe it drops the bytes
# above 127 (the accents of the demo's descriptions).
isql() { # isql <database>: runs standard input, written in UTF-8, as the 8-bit text the databases hold
  iconv -f UTF-8 -t WINDOWS-1252 >"$work/script.sql"
  isql-fb -q -b -ch NONE -user "$AMQB_FB_USER" -password "$AMQB_FB_PASSWORD" \
    -i "$work/script.sql" "$AMQB_FB_HOST:$1"
}
create_db() { # create_db <file> <script>
  local file=$1 script=$2
  [ -f "$file" ] && return 0
  { echo "CREATE DATABASE '$AMQB_FB_HOST:$file' USER '$AMQB_FB_USER' PASSWORD '$AMQB_FB_PASSWORD';"
    cat "$script"; } | iconv -f UTF-8 -t WINDOWS-1252 >"$work/create.sql"
  isql-fb -q -b -ch NONE -i "$work/create.sql"
}
create_db "$data/quelbo.fdb" "$root/tests/fixtures/quelbo.sql"
create_db "$data/dorvan.fdb" "$root/tests/fixtures/dorvan.sql"

# Code|description|unit|category|subcategory|price|change (after the stamp
# unless said)|photo colours (empty: no photograph).
articles=(
  "TOR-001|Tornillo hexagonal 1/4 x 2 pulgadas|PZA|1|10|1.50|2020-05-02 09:15:00|lightsteelblue-slategray"
  "TUE-002|Tuerca de seguridad 1/4|PZA|1|11|0.75|2020-05-02 09:20:00|silver-dimgray"
  "CAB-100|Cable eléctrico calibre 12|MT|2|20|12.90|2020-05-03 11:00:00|orange-firebrick"
  "PIN-200|Pintura vinílica blanca 19 L|LT|3|30|1189.00|2020-05-04 16:45:00|white-lightblue"
  "MAR-300|Martillo de uña 16 oz|PZA|4|40|245.50|2020-05-05 10:30:00|sienna-saddlebrown"
  "CIN-400|Cinta métrica 5 m|PZA|4|41|89.90|2020-05-05 10:35:00|"
  "BRO-500|Brocha de 2 pulgadas|PZA|3|31|35.00|2020-05-06 12:00:00|"
  "LIJ-600|Lija de agua grano 120|PZA|3|32|6.50|2020-04-10 08:00:00|khaki-darkkhaki"
)

photos=$work
{
  echo "UPDATE CONFIGURACION SET ORDEN_FECHA = 'DMY';"
  seed=0
  for a in "${articles[@]}"; do
    IFS='|' read -r code des unit cat sub price changed colours <<<"$a"
    echo "DELETE FROM ARTICULOS_ERP WHERE CODIGO = '$code';"
    echo "INSERT INTO ARTICULOS_ERP VALUES ('$code', '$des', '$unit', $cat, $sub, $price, NULL, 'S', '$changed');"
    [ -n "$colours" ] || continue
    seed=$((seed + 1))
    convert -size 320x240 -seed "$seed" "plasma:$colours" -blur 0x1 -gravity south -fill white \
      -stroke '#303030' -strokewidth 1 -font DejaVu-Sans-Bold -pointsize 26 -annotate +0+12 "$code" \
      -quality 85 "$photos/$code.jpg"
    # The bytes as hexadecimal literals, in pieces a statement can hold.
    first=1
    while read -r piece || [ -n "$piece" ]; do
      if ((first)); then
        echo "UPDATE ARTICULOS_ERP SET FOTO = x'$piece' WHERE CODIGO = '$code';"
        first=0
      else
        echo "UPDATE ARTICULOS_ERP SET FOTO = FOTO || x'$piece' WHERE CODIGO = '$code';"
      fi
    done < <(od -An -v -tx1 "$photos/$code.jpg" | tr -d ' \n' | fold -w 16000)
  done
  echo "COMMIT;"
} | isql "$data/dorvan.fdb"

isql "$data/quelbo.fdb" <<'SQL'
UPDATE COMPANIA SET COMP_FECACT = '2020-04-23', COMP_HORACT = '14:05:09' WHERE COMP_ID = 1;
DELETE FROM ARTICULOS WHERE ARTI_COD IN ('TOR-001', 'TUE-002', 'CAB-100', 'PIN-200', 'MAR-300',
  'CIN-400', 'BRO-500', 'LIJ-600');
INSERT INTO ARTICULOS VALUES ('TOR-001', 'Tornillo hexagonal 1/4', 'PZA', 1, 10,
  'http://www.trevola.invalid/trevola/imgarti/1-TOR-001.jpg', 'S');
COMMIT;
SQL

printf '%s\n' "$AMQB_FB_HOST/3050:$data" "$AMQB_FB_USER" "$AMQB_FB_PASSWORD" 1 x x x x x auto export
