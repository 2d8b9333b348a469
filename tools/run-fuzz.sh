#!/usr/bin/env bash
# Builds the libFuzzer targets with the "fuzz" preset (clang, ASan and UBSan)
# into build/fuzz and runs each for a bounded time over its committed seed
# corpus (the folder "corpus" beside its source; the JPEG seeds are written by
# libjpeg at fuzz time, so no binary files are committed). Fails when a fuzzer finds a
# crash, a hang, a leak or a sanitizer report; the input that did it is kept
# in build/fuzz/<target>-artifacts.
# Usage: tools/run-fuzz.sh [seconds per target] [target...]   (default 30, all)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
shift || true
build="$root/build/fuzz"
# target   folder of its source and seeds   longest input   seed writer (or -)
targets=(
  "png_fuzzer               imaging/png/fuzz          65536 -"
  "jpeg_fuzzer              imaging/jpeg/fuzz         65536 jpeg_seed_writer"
  "server_list_fuzzer       forms/fuzz                4096  -"
  "command_line_fuzzer      platform/system/fuzz      4096  -"
  "datetime_reading_fuzzer  controls/timeedit/fuzz    512   -"
  "error_translation_fuzzer data/errors/fuzz          4096  -"
)

selected=()
for entry in "${targets[@]}"; do
  read -r name _ _ <<<"$entry"
  if [ $# -eq 0 ] || [[ " $* " == *" $name "* ]]; then
    selected+=("$entry")
  fi
done
[ ${#selected[@]} -gt 0 ] || { echo "No such fuzz target: $*" >&2; exit 2; }

cd "$root"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake --preset fuzz "${launcher[@]}" >/dev/null
# Only the fuzz targets: the rest of the project need not build under clang.
names=()
for entry in "${selected[@]}"; do
  read -r name _ _ writer <<<"$entry"
  names+=("$name")
  [ "$writer" = - ] || names+=("$writer")
done
cmake --build "$build" --target "${names[@]}" -j2

for entry in "${selected[@]}"; do
  read -r name folder maxlen writer <<<"$entry"
  echo "== $name"
  # New inputs go to a scratch corpus so that the committed seeds stay small.
  work="$build/$name-corpus"
  artifacts="$build/$name-artifacts"
  mkdir -p "$work" "$artifacts"
  seeds=()
  [ -d "$root/$folder/corpus" ] && seeds+=("$root/$folder/corpus")
  if [ "$writer" != - ]; then
    mkdir -p "$build/$name-seeds"
    "$build/$folder/$writer" "$build/$name-seeds"
    seeds+=("$build/$name-seeds")
  fi
  "$build/$folder/$name" \
    -max_total_time="$seconds" -max_len="$maxlen" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" "${seeds[@]}"
done
