#!/usr/bin/env bash
# The suite's weight: non-blank lines of C++ (.cpp, .h, .inc) under tests/
# against those of every other C++ file in the repository (build folders
# and git's own excluded). Replay inputs, digests and fuzz corpora are data
# and do not count. Exits 1 when the ratio is above 0.34.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=0.34

nonblank() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.inc' \) -print0 |
    xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}

tests=$(nonblank tests)
program=$(nonblank . \( -path ./tests -o -path './build*' -o -path ./.git \) -prune -o)
ratio=$(awk -v t="$tests" -v p="$program" 'BEGIN { printf "%.3f", p ? t / p : 0 }')
echo "tests: $tests lines of C++; program: $program lines; ratio $ratio (limit $limit)"
awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r <= l) }' || {
  echo "the tests weigh more than $limit of the program" >&2
  exit 1
}
