#!/usr/bin/env bash
# Records a replay session for the regression suite with the autopilot:
#   tools/record-replay.sh NAME SEED "GAME OPTIONS" "KEPT FRAMES" [BUILD_DIR]
#   tools/record-replay.sh boss-5 53 "--start 3-16:250 --invulnerable --frames 1500" "300 1400"
# The session runs with an empty settings folder, so it starts from the
# default ranking whatever this machine keeps. With an existing NAME/input.txt
# and no SEED ("-"), only the digests and the state text are recorded again
# from that input, and the first frame that changed is printed, old state
# beside new, for the commit message.
set -euo pipefail
cd "$(dirname "$0")/.."
name=$1 seed=$2 options=$3 shots=$4 build=${5:-build}
folder=tests/replays/$name
mkdir -p "$folder"
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
if [ "$seed" != "-" ]; then
  # shellcheck disable=SC2086  # the options are words
  XDG_CONFIG_HOME=$config "$build/velloria" --headless $options --autopilot --seed "$seed" --record "$folder/input.txt"
fi
printf -- '%s\nshots %s\n' "$options" "$shots" > "$folder/args"
VELLORIA_RERECORD=$name "$build/tests/velloria_tests" --gtest_brief=1 --gtest_filter="Sessions/Replays.*/${name//-/_}" |
  grep -v '^Running main\|^\[=\|^\[  PASSED'
wc -l "$folder/frames.digest" "$folder/sounds.log"
