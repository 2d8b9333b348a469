#!/usr/bin/env bash
# Builds the PNG decoder's libFuzzer target with the "fuzz" preset (clang,
# ASan and UBSan) into build/fuzz and runs it for a bounded time over the
# committed seed corpus. Fails when the fuzzer finds a crash.
# Usage: tools/run-fuzz.sh [seconds]   (default 60)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
build="$root/build/fuzz"

cd "$root"
cmake --preset fuzz >/dev/null
# Only the fuzz target: the rest of the project need not build under clang.
cmake --build "$build" --target png_fuzzer -j2

# New inputs go to a scratch corpus so that the committed seeds stay small.
work="$build/png-corpus"
artifacts="$build/png-artifacts"
mkdir -p "$work" "$artifacts"
"$build/imaging/png/fuzz/png_fuzzer" \
  -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" \
  "$work" "$root/imaging/png/fuzz/corpus"
