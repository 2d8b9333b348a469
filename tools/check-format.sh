#!/usr/bin/env bash
# Checks that every C++ source of the project is formatted as .clang-format
# says (clang-format --dry-run -Werror); lists the files that are not.
# Fix them with: tools/check-format.sh --fix
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

command -v clang-format >/dev/null || { echo "clang-format is missing; run tools/install-packages.sh" >&2; exit 1; }
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
# Files deleted in the working tree but still in the index are skipped.
existing=()
for f in "${files[@]}"; do [ -f "$f" ] && existing+=("$f"); done

if [ "${1:-}" = --fix ]; then
  clang-format -i "${existing[@]}"
  exit 0
fi
unformatted=()
for f in "${existing[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if ((${#unformatted[@]})); then
  printf 'Not formatted as .clang-format says (tools/check-format.sh --fix):\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "${#existing[@]} sources formatted as .clang-format says"
