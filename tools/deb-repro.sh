#!/usr/bin/env bash
# Shows that the Debian package builds reproducibly: the committed tree (HEAD)
# is built twice, in two folders of different names and depths, with
# different umasks and without the compiler cache, and the two builds are
# compared: the unpacked packages file by file, their listings (modes, owners,
# times), and the .deb files whole. Prints the checksums; exits 1 on any
# difference. The scratch folder goes, pass or fail.
#   tools/deb-repro.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
commit=$(git rev-parse HEAD)

builds=("$scratch/one" "$scratch/elsewhere/build-two")
masks=(022 002)
for i in 0 1; do
  mkdir -p "${builds[$i]}"
  git archive "$commit" | tar -x -C "${builds[$i]}"
  (cd "${builds[$i]}" && umask "${masks[$i]}" && tools/setup.sh deb >build.log 2>&1) || {
    tail -30 "${builds[$i]}/build.log"
    exit 1
  }
done

different=0
for deb in "${builds[0]}"/build-package/*.deb; do
  name=$(basename "$deb")
  other="${builds[1]}/build-package/$name"
  for side in "$deb" "$other"; do
    mkdir -p "$side.tree"
    dpkg-deb -R "$side" "$side.tree"
    dpkg-deb -c "$side" >"$side.list"
  done
  diff -r --no-dereference "$deb.tree" "$other.tree" || different=1
  diff "$deb.list" "$other.list" || different=1
  cmp "$deb" "$other" || different=1
  sha256sum "$deb" "$other" | sed "s|$scratch/||"
done
[ "$different" -eq 0 ] && echo "the two builds are identical" || { echo "the builds differ" >&2; exit 1; }
