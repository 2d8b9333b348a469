#!/usr/bin/env bash
# Runs the program on a virtual display (Xvfb) as a scheduler would, with
# the arguments given, and closes it as a person would:
#   tools/run-demo-headless.sh <program> <screenshot.png> <web folder> <arguments...>
# Waits for the results window "Productos actualizados" and for the upload
# to finish (no photograph written in the web folder for two seconds), grabs
# the window into <screenshot.png> with ImageMagick's import, then presses
# its "Salir" button with xdotool, which ends the program. The locale is
# Spanish (Mexico), the one the program was made for.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 <program> <screenshot.png> <web folder> <arguments...>" >&2; exit 2; }
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing; run tools/install-packages.sh" >&2; exit 1; }
done

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
program=$1 shot=$2 web=$3
shift 3
LC_ALL=es_MX.UTF-8 QT_QPA_PLATFORM=xcb "$program" "$@" &
pid=$!
stop() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }

window=
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Productos actualizados$' 2>/dev/null | head -n1) || true
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "The program ended before showing its results" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "The results window did not appear" >&2; stop; exit 1; }

# The upload is over once no photograph has come for two seconds.
previous= calm=0
while ((calm < 20)); do
  now=$(ls -l "$web" 2>/dev/null || true)
  if [ "$now" = "$previous" ]; then calm=$((calm + 1)); else calm=0; previous=$now; fi
  sleep 0.1
done

import -window "$window" "$shot"

# "Salir": 57 x 33 at 792, 2 in the button bar, 37 high, at the bottom.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" 820 $((HEIGHT - 37 + 18)) click 1
for _ in $(seq 150); do
  kill -0 "$pid" 2>/dev/null || { wait "$pid"; exit $?; }
  sleep 0.1
done
echo "The program did not end after Salir; stopping it" >&2
stop
exit 1
INNER
chmod +x "$inner"

mkdir -p "$(dirname "$2")"
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" "$inner" "$@"
