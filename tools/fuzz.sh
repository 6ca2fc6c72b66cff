#!/usr/bin/env bash
# Runs every fuzz target for a while, each from its seed corpus.
#   tools/fuzz.sh BUILD_DIR SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder made with -DVELLORIA_FUZZ=ON}
seconds=${2:-60}
shift 2 || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
for t in "${targets[@]}"; do
  corpus=tests/fuzz/corpus/${t#fuzz_}
  work=$(mktemp -d)
  echo "== $t for ${seconds}s"
  "$build/tests/fuzz/$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 "$work" "$corpus" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY|crash|Done" || true
  status=${PIPESTATUS[0]}
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then echo "$t found a fault"; exit 1; fi
done
