#!/usr/bin/env bash
# The Windows build: SDL2 and SDL2_mixer from Debian's sources (cached, see
# deps.sh), the game cross-built with mingw-w64 in BUILD (build-windows),
# then the zip. VELLORIA_WINDOWS_TESTS=ON builds the unit tests as well.
#   tools/windows/build.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-windows}
cache=${VELLORIA_WINDOWS_CACHE:-/var/cache/velloria-windows}
tests=${VELLORIA_WINDOWS_TESTS:-OFF}
tools/windows/deps.sh "$cache"
prefix=$cache/prefix
# SDL's pkg-config files are the prefix's alone, never the machine's.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH=
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=tools/windows/toolchain.cmake -DCMAKE_FIND_ROOT_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIA_TESTS="$tests" ${VELLORIA_CMAKE_ARGS:-}
targets=(velloria)
[ "$tests" = ON ] && targets+=(velloria_tests)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
tools/windows/package.sh "$build" "$prefix"
