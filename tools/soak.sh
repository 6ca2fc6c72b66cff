#!/usr/bin/env bash
# A long headless run with random input, for the sanitizer build:
#   tools/soak.sh [SEED] [FRAMES] [BUILD_DIR] [EXTRA GAME OPTIONS...]
# Samples the game's resident memory (VmRSS) once a second into
# BUILD_DIR/soak-SEED-rss.log and prints first, highest and last sample.
# Fails when the game fails, a sanitizer reports anything, or the run ends
# before its last frame.
set -euo pipefail
cd "$(dirname "$0")/.."

seed=${1:-1}
frames=${2:-200000}
build_dir=${3:-build-asan}
shift $(( $# < 3 ? $# : 3 ))
exe="$build_dir/velloria"
log="$build_dir/soak-$seed-rss.log"
errors="$build_dir/soak-$seed-stderr.log"
stats="$build_dir/soak-$seed-stats.log"
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
: >"$stats"
XDG_CONFIG_HOME="$config" "$exe" --headless --soak "$seed" --frames "$frames" --stats "$stats" \
  --ranking "$config/ranking.ini" "$@" \
  2>"$errors" &
pid=$!
: >"$log"
start=$SECONDS
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  frame=$(tail -n 1 "$stats" 2>/dev/null | sed -n 's/^frame=\([0-9]*\).*/\1/p' || true)
  [ -n "$rss" ] && echo "$((SECONDS - start)) ${frame:-0} $rss" >>"$log"
  sleep 1
done
code=0
wait "$pid" || code=$?

last=$(tail -n 1 "$stats" | sed -n 's/^frame=\([0-9]*\).*/\1/p')
echo "soak seed $seed: exit code $code, last frame ${last:-none} of $frames, $((SECONDS - start)) s"
if [ -s "$log" ]; then
  awk 'NR == 1 {first = $3} $3 > max {max = $3; at = $2} {last = $3}
       END {printf "VmRSS kB: first %d, highest %d (frame %d), last %d (%d samples)\n", first, max, at, last, NR}' "$log"
fi
if grep -qE "ERROR: (Address|Leak)Sanitizer|runtime error:" "$errors"; then
  echo "sanitizer report in $errors:" >&2
  head -n 40 "$errors" >&2
  exit 1
fi
[ "$code" -eq 0 ] && [ "${last:-0}" -eq $((frames - 1)) ]
