#!/usr/bin/env bash
# Vouches for the generated content that is committed: runs the tools' own
# tests, makes the bitmaps, the icons, the waves and the MIDI tunes again from
# tools/, checks them, and fails if any file changed or appeared.
#   tools/check-generated.sh [TRACER]
# TRACER is a built velloria-script for the script checker's self-test
# (default build/velloria-script). The Ogg recordings are not made again: they
# need FluidSynth, a large soundfont and minutes of rendering. The movement
# scripts and level maps are written by hand; the suite's course checks and
# map tests read them.
set -euo pipefail
cd "$(dirname "$0")/.."
tracer=${1:-build/velloria-script}
python=/usr/bin/python3
generated=(resources music)

if [ -n "$(git status --porcelain --untracked-files=all -- "${generated[@]}")" ]; then
  echo "resources/ or music/ has uncommitted changes: commit or stash them first" >&2
  exit 2
fi
before=$(git status --porcelain --untracked-files=all)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

step() {  # NAME COMMAND...: runs quietly, shows the output only on failure
  local name=$1 TIMEFORMAT="%0R s (processor %0U+%0S s)"
  shift
  if { time "$@" >"$logs/$name" 2>&1; } 2>"$logs/$name.time"; then
    echo "$name: $(cat "$logs/$name.time")"
  else
    cat "$logs/$name"
    echo "$name failed" >&2
    return 1
  fi
}

echo "== the tools' tests =="
step art-tests $python -m unittest discover -s tools/art -p 'test_*.py'
step audio-tests $python -m unittest discover -s tools/audio -p 'test_*.py'

echo "== regenerating =="
# Two lanes for two cores; the bitmap checks wait for both, since a check
# reading a bitmap while it is rewritten would fail.
lane_bosses() {
  step bosses $python tools/art/make_all_bosses.py
  step script-checker-self-test $python tools/scripts/test_checks.py --tracer "$tracer"
}
lane_rest() {
  step palette $python tools/art/make_palette.py
  step sprites $python tools/art/make_all_sprites.py --no-check
  step front-end $python tools/art/make_all_frontend.py --no-check
  step window-icon $python tools/art/make_window_icon.py  # from the front end's 64-pixel icon
  step waves $python tools/audio/make_waves.py
  step midi $python tools/audio/make_midi.py
}
lane_bosses &
bosses=$!
lane_rest &
rest=$!
failed=0
wait "$bosses" || failed=1
wait "$rest" || failed=1
[ "$failed" = 0 ] || exit 1
step bitmap-check $python tools/art/check_bitmaps.py --quiet
step front-end-check $python tools/art/check_frontend.py
step audio-check $python tools/audio/check_audio.py

if ! git diff --exit-code --stat -- "${generated[@]}" ||
  [ "$(git status --porcelain --untracked-files=all)" != "$before" ]; then
  git status --short --untracked-files=all -- "${generated[@]}" tools
  echo "regenerating changed what is committed: run the generators and commit their output" >&2
  exit 1
fi
echo "the generated content is what is committed"
