#!/usr/bin/env bash
# What the web page costs, side by side with another commit's page (by
# default main as it is now): the main thread's share of a core in play and
# paused, and the size of the program and the page's scripts.
#   tools/web/cost.sh [BASE_REF] [SECONDS]
# Builds this tree's page (tools/setup.sh web) and BASE_REF's page in a
# scratch folder (removed at the end), then plays both in Debian's chromium,
# one after the other, with tools/web/cost.mjs.
set -euo pipefail
cd "$(dirname "$0")/../.."
base=${1:-main}
seconds=${2:-10}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

tools/setup.sh web > "$scratch/build-this.log"
git archive "$base" | tar -x -C "$scratch" --one-top-level=tree
(
  cd "$scratch/tree"
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
  emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release > "$scratch/build-base.log"
  cmake --build build-web -j "$(nproc)" >> "$scratch/build-base.log"
)
[ -d tests/web/node_modules/playwright-core ] || (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tools/web/cost.mjs --seconds "$seconds" "$base=$scratch/tree/build-web/site" "this tree=build-web/site"
