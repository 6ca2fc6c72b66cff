#!/usr/bin/env bash
# Builds SDL2 and SDL2_mixer (with Ogg Vorbis through libogg and libvorbis,
# and MIDI through the mixer's own players) for 64-bit Windows with
# mingw-w64, from Debian's source packages of them.
#   tools/windows/deps.sh CACHE
# The sources come through an apt configuration of this script's own, under
# CACHE/apt: a sources list with deb-src lines for the suites the machine
# uses, and apt's state and download folders; the machine's own apt set-up
# is only read. What is built lands in CACHE/prefix and is kept: a second run
# with the same source versions does nothing.
set -euo pipefail
cache=${1:?usage: tools/windows/deps.sh CACHE}
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/toolchain.cmake
host=x86_64-w64-mingw32
packages=(libogg libvorbis libsdl2 libsdl2-mixer)

apt_dir=$cache/apt
mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$cache/src" "$cache/prefix"

# deb-src twins of the machine's deb lines, one-line and deb822 forms alike.
{
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (types ~ /(^| )deb( |$)/ && uris != "" && suites != "") {
          n = split(uris, u, " "); m = split(suites, s, " ")
          for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
            printf "deb-src %s%s %s %s\n", (key != "" ? "[signed-by=" key "] " : ""), u[i], s[j], comps
        }
        types = uris = suites = comps = key = ""
      }
      /^[[:space:]]*$/ { flush(); next }
      /^#/ { next }
      { field = $1; sub(/:$/, "", field); $1 = ""; sub(/^ +/, "") }
      field == "Types" { types = $0 } field == "URIs" { uris = $0 } field == "Suites" { suites = $0 }
      field == "Components" { comps = $0 } field == "Signed-By" { key = $0 }
      END { flush() }' "$f"
  done
} | sort -u >"$apt_dir/sources.list.new"
mv "$apt_dir/sources.list.new" "$apt_dir/sources.list"

apt_own=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
  -o "Dir::State=$apt_dir/state" -o "Dir::State::status=/var/lib/dpkg/status"
  -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root" -qq)
apt-get "${apt_own[@]}" update

# The version apt would fetch now names the build: a changed source builds again.
stamp=""
for p in "${packages[@]}"; do
  v=$(apt-cache "${apt_own[@]}" showsrc "$p" | awk '/^Version:/ { print $2 }' | sort -V | tail -n 1)
  [ -n "$v" ] || { echo "no source package $p in the machine's suites" >&2; exit 1; }
  stamp+="$p=$v "
done
prefix=$cache/prefix
jobs=$(nproc)
configure() {  # source folder, build folder, cmake options
  local source=$1 build=$2
  shift 2
  cmake -S "$source" -B "$build" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CROSSCOMPILING_EMULATOR= -DCMAKE_C_FLAGS="-ffile-prefix-map=$cache=." -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$cache=." \
    "$@" >/dev/null
  cmake --build "$build" -j "$jobs" >/dev/null
  cmake --install "$build" >/dev/null
}

# GoogleTest for the unit tests, from Debian's googletest (its sources).
build_gtest() {
  local version
  version=$(dpkg-query -W -f='${Version}' googletest)
  [ "$(cat "$prefix/.gtest-built" 2>/dev/null)" != "$version" ] || return 0
  configure /usr/src/googletest "$cache/build/gtest" -DBUILD_GMOCK=OFF -DBUILD_SHARED_LIBS=OFF
  rm -rf "$cache/build/gtest"
  echo "$version" >"$prefix/.gtest-built"
}

if [ -f "$prefix/.built" ] && [ "$(cat "$prefix/.built")" = "$stamp" ]; then
  build_gtest
  echo "SDL2 for Windows is up to date in $prefix"
  exit 0
fi

rm -rf "$cache/src" "$cache/prefix" "$cache/build"
mkdir -p "$cache/src" "$cache/prefix"
(cd "$cache/src" && apt-get "${apt_own[@]}" source "${packages[@]}")

src_of() { find "$cache/src" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" | head -n 1; }
# Ogg and Vorbis go inside SDL2_mixer.dll: two DLLs fewer beside the game.
# The mixer names only vorbisfile, so what that needs ends its link line.
windows_libraries="-lkernel32 -luser32 -lgdi32 -lwinspool -lshell32 -lole32 -loleaut32 -luuid -lcomdlg32 -ladvapi32"
configure "$(src_of libogg)" "$cache/build/ogg" -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
configure "$(src_of libvorbis)" "$cache/build/vorbis" -DBUILD_SHARED_LIBS=OFF -DCMAKE_POLICY_DEFAULT_CMP0074=NEW
configure "$(src_of libsdl2)" "$cache/build/sdl2" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
configure "$(src_of libsdl2-mixer)" "$cache/build/mixer" -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_VENDORED=OFF \
  -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VORBIS=VORBISFILE -DSDL2MIXER_VORBIS_VORBISFILE_SHARED=OFF \
  -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF \
  -DSDL2MIXER_MIDI=ON -DSDL2MIXER_MIDI_NATIVE=ON -DSDL2MIXER_MIDI_TIMIDITY=ON -DSDL2MIXER_MIDI_FLUIDSYNTH=OFF \
  -DCMAKE_C_STANDARD_LIBRARIES="-L$prefix/lib -lvorbis -logg $windows_libraries"
rm -rf "$cache/build"
echo "$stamp" >"$prefix/.built"
build_gtest
echo "SDL2 for Windows built in $prefix: $stamp"
