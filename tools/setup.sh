#!/usr/bin/env bash
# Sets up a fresh Debian machine for Velloria, builds it, then plays or tests.
#   tools/setup.sh play   install what the game needs, build only the game, start it
#   tools/setup.sh test   install what is missing (test frameworks too), build
#                         everything, run the whole test suite
#   tools/setup.sh web    install what is missing, build the web page into build-web/site
#   tools/setup.sh deb    install the packaging tools (lintian too), build the
#                         Debian packages (the game, velloria-hall) from a copy
#                         of the tree in build-package/
#   tools/setup.sh hall   install what the hall of fame server needs, build it and
#                         start it (on 127.0.0.1:8080 with hall.db, the game's
#                         page from build-web/site when it is there)
#   tools/setup.sh windows install mingw-w64 and Wine, build SDL2 for Windows
#                         from Debian's sources (cached in
#                         $VELLORIA_WINDOWS_CACHE, /var/cache/velloria-windows)
#                         and the zip build-windows/velloria-VERSION-windows-x64.zip
# Extra arguments after "play" go to the game (e.g. --window), after "hall" to
# the server (they replace its defaults).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-play}
shift || true
case "$mode" in
  play | test | web | deb | hall | windows) ;;
  *) echo "usage: tools/setup.sh play|test|web|deb|hall|windows" >&2; exit 2 ;;
esac
build_dir=${VELLORIA_BUILD_DIR:-build}
packages=(g++ cmake make pkg-config libsdl2-dev libsdl2-mixer-dev timgm6mb-soundfont)
# Python runs the movement scripts' course checks, part of the suite.
# The hall of fame server is built in test mode too, where it is tested.
hall_packages=(libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpq-dev libssl-dev)
[ "$mode" = test ] && packages+=(libgtest-dev libbenchmark-dev python3 "${hall_packages[@]}" postgresql)
[ "$mode" = hall ] && packages+=("${hall_packages[@]}")
# The browser build needs none of the desktop's libraries.
[ "$mode" = web ] && packages=(cmake make emscripten node-acorn)
[ "$mode" = deb ] && packages=(build-essential dpkg-dev debhelper cmake pkgconf libsdl2-dev libsdl2-mixer-dev lintian "${hall_packages[@]}")
# dpkg-dev unpacks the sources apt fetches; googletest is GoogleTest's sources.
[ "$mode" = windows ] && packages=(cmake make pkgconf dpkg-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 wine wine64 googletest python3 git)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$mode" = web ]; then
  # Emscripten's optimiser needs Debian's acorn, whichever node runs it.
  export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
  emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release
  cmake --build build-web -j "$(nproc)"
  echo "The page is in build-web/site. Serve it, then open http://127.0.0.1:8000/ :"
  echo "    python3 -m http.server -b 127.0.0.1 -d build-web/site 8000"
  exit 0
fi

if [ "$mode" = windows ]; then
  exec tools/windows/build.sh "${VELLORIA_BUILD_DIR:-build-windows}"
fi

if [ "$mode" = deb ]; then
  # Built from a copy of the files the repository holds (changes not yet
  # committed included), so the tree stays clean and the package, its
  # debug symbols and the build records all land in build-package/.
  version=$(dpkg-parsechangelog -S Version)
  out=${VELLORIA_PACKAGE_DIR:-build-package}
  rm -rf "$out"
  mkdir -p "$out/velloria-$version"
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
      while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
      tar --null -T - -cf - | tar -xf - -C "$out/velloria-$version"
  else
    tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$out/velloria-$version"
  fi
  (cd "$out/velloria-$version" && dpkg-buildpackage -us -uc -b)
  ls -l "$out"/*.deb
  exit 0
fi

if [ "$mode" = hall ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIA_HALL=ON ${VELLORIA_CMAKE_ARGS:-}
  cmake --build "$build_dir" -j "$(nproc)" --target velloria-hall
  if [ $# -eq 0 ]; then
    set -- --db hall.db --listen 127.0.0.1:8080
    [ -d build-web/site ] && set -- "$@" --site build-web/site
  fi
  exec "$build_dir/velloria-hall" "$@"
fi

if [ "$mode" = play ]; then
  # The game alone: no test targets (a build folder set up for the tests
  # before keeps them, but only the game is built here).
  tests=()
  [ -f "$build_dir/CMakeCache.txt" ] || tests=(-DVELLORIA_TESTS=OFF)
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${tests[@]}" ${VELLORIA_CMAKE_ARGS:-}
  cmake --build "$build_dir" -j "$(nproc)" --target velloria
  exec "$build_dir/velloria" "$@"
fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIA_TESTS=ON ${VELLORIA_CMAKE_ARGS:-}
cmake --build "$build_dir" -j "$(nproc)"
cd "$build_dir" && ctest --output-on-failure -j "$(nproc)"
