#!/usr/bin/env bash
# What music costs a paced game: the same autopilot run (one seed, paced at
# 25 frames a second, SDL's dummy video driver and disk audio driver writing
# to /dev/null) played three ways side by side, so that whatever else the
# machine does weighs on all of them alike:
#   muted  --mute: no sound device at all
#   music  effects and the tunes as installed (the Ogg recordings)
#   midi   effects and the MIDI tunes through the synthesiser (a copy of the
#          program beside the MIDI files only)
# Prints processor time (user + system) and peak resident memory of each run,
# and the ratios to the muted run; the median of ROUNDS rounds.
#   tools/bench-paced.sh [BUILD_DIR] [FRAMES] [START] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
frames=${2:-1500}
start=${3:-1-8}
rounds=${4:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/midi"
cp "$build_dir/velloria" "$work/midi/"
cp "$build_dir"/Music0?.mid "$work/midi/"

run() { # NAME EXE [OPTIONS...]: one run, its "user sys maxrss_kB" into $work/NAME.N
  local name=$1 exe=$2
  shift 2
  mkdir -p "$work/$name.home" "$work/$name.run"
  chmod 700 "$work/$name.run"
  XDG_CONFIG_HOME="$work/$name.home" XDG_DATA_HOME="$work/$name.home" XDG_RUNTIME_DIR="$work/$name.run" \
    SDL_VIDEODRIVER=dummy \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
    /usr/bin/time -f "%U %S %M" -o "$work/$name.$round" \
    "$exe" --start "$start" --autopilot --seed 7 --frames "$frames" "$@" >/dev/null 2>&1
}

for round in $(seq "$rounds"); do
  run muted "$build_dir/velloria" --mute &
  run music "$build_dir/velloria" &
  run midi "$work/midi/velloria" &
  wait
done

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
cpu() { for r in $(seq "$rounds"); do awk '{printf "%.2f\n", $1 + $2}' "$work/$1.$r"; done | median; }
rss() { for r in $(seq "$rounds"); do awk '{printf "%.1f\n", $3 / 1024}' "$work/$1.$r"; done | median; }

echo "paced run: --start $start --autopilot --frames $frames ($((frames / 25)) s), median of $rounds rounds"
printf '%-6s %18s %14s %16s\n' run "user+sys (s)" "max RSS (MB)" "time vs muted"
muted=$(cpu muted)
for name in muted music midi; do
  t=$(cpu "$name")
  printf '%-6s %18s %14s %16s\n' "$name" "$t" "$(rss "$name")" "$(awk -v a="$t" -v b="$muted" 'BEGIN {printf "%.2f", a / b}')"
done
