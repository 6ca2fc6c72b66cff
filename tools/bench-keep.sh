#!/usr/bin/env bash
# What keeping every run costs a paced game: the same autopilot run (one
# seed, paced at 25 frames a second, SDL's dummy video driver, muted) played
# with keeping off (--keep-runs none) and on (the data folder), side by side
# so that whatever else the machine does weighs on both alike. The run is
# kept when the program closes. Prints processor time (user + system) of
# each, and the ratio; the median of ROUNDS rounds.
#   tools/bench-keep.sh [BUILD_DIR] [FRAMES] [START] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
frames=${2:-1500}
start=${3:-1-8}
rounds=${4:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() { # NAME [OPTIONS...]: one run, its "user sys" into $work/NAME.N
  local name=$1
  shift
  mkdir -p "$work/$name.home" "$work/$name.data" "$work/$name.run"
  chmod 700 "$work/$name.run"
  XDG_CONFIG_HOME="$work/$name.home" XDG_DATA_HOME="$work/$name.data" XDG_RUNTIME_DIR="$work/$name.run" \
    SDL_VIDEODRIVER=dummy /usr/bin/time -f "%U %S" -o "$work/$name.$round" \
    "$build_dir/velloria" --start "$start" --autopilot --seed 7 --frames "$frames" --mute "$@" >/dev/null 2>&1
}

for round in $(seq "$rounds"); do
  run off --keep-runs none &
  run on &
  wait
  ls "$work/on.data/KorvaGames/Velloria/replays/"run-*.txt >/dev/null # the run was kept
done

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
cpu() { for r in $(seq "$rounds"); do awk '{printf "%.2f\n", $1 + $2}' "$work/$1.$r"; done | median; }

echo "paced run: --start $start --autopilot --frames $frames ($((frames / 25)) s), median of $rounds rounds"
printf '%-4s %14s %14s\n' run "user+sys (s)" "time vs off"
off=$(cpu off)
for name in off on; do
  t=$(cpu "$name")
  printf '%-4s %14s %14s\n' "$name" "$t" "$(awk -v a="$t" -v b="$off" 'BEGIN {printf "%.3f", a / b}')"
done
