#!/usr/bin/env bash
# Builds the libFuzzer targets of the image readers with the "fuzz" preset
# (clang, ASan and UBSan) into build/fuzz and runs each for a bounded time:
# the PNG decoder over its committed seed corpus, the JPEG header reading over
# seeds that libjpeg writes first. Fails when a fuzzer finds a crash.
# Usage: tools/run-fuzz.sh [seconds]   (default 120, shared by the targets)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-120}"
build="$root/build/fuzz"
targets=2
each=$((seconds / targets > 0 ? seconds / targets : 1))

cd "$root"
cmake --preset fuzz >/dev/null
# Only the fuzz targets: the rest of the project need not build under clang.
cmake --build "$build" --target png_fuzzer jpeg_fuzzer jpeg_seed_writer -j2

# run_fuzzer NAME BINARY SEEDS...: new inputs go to a scratch corpus so that
# the seeds stay small.
run_fuzzer() {
  local name=$1 binary=$2
  shift 2
  local work="$build/$name-corpus" artifacts="$build/$name-artifacts"
  mkdir -p "$work" "$artifacts"
  echo "== $name: ${each}s"
  "$binary" \
    -max_total_time="$each" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" "$@"
}

jpeg_seeds="$build/jpeg-seeds"
mkdir -p "$jpeg_seeds"
"$build/imaging/jpeg/fuzz/jpeg_seed_writer" "$jpeg_seeds"

run_fuzzer png "$build/imaging/png/fuzz/png_fuzzer" "$root/imaging/png/fuzz/corpus"
run_fuzzer jpeg "$build/imaging/jpeg/fuzz/jpeg_fuzzer" "$jpeg_seeds"
