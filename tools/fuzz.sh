#!/usr/bin/env bash
# Runs every fuzz target for a while, each from its seed corpus, as many at
# once as there are cores (each target still gets its own SECONDS).
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
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# One target: its own scratch corpus (inside $logs, so that an interrupted
# run leaves nothing either), its output kept for the summary.
fuzz_one() {
  local t=$1 work="$logs/$1.corpus" status=0
  mkdir "$work"
  "$build/tests/fuzz/$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 "$work" "tests/fuzz/corpus/${t#fuzz_}" >"$logs/$t.log" 2>&1 || status=$?
  rm -rf "$work"
  echo "$status" >"$logs/$t.status"
}

running=0
for t in "${targets[@]}"; do
  fuzz_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
for t in "${targets[@]}"; do
  echo "== $t for ${seconds}s"
  grep -E "stat::number_of_executed_units|ERROR|SUMMARY|crash|Done" "$logs/$t.log" || true
  if [ "$(cat "$logs/$t.status")" -ne 0 ]; then
    tail -n 5 "$logs/$t.log"
    echo "$t found a fault"
    failed=1
  fi
done
exit "$failed"
