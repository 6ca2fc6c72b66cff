#!/usr/bin/env bash
# Proves the Windows build under Wine, with no display but Xvfb's:
#   tools/windows-check.sh [BUILD_WINDOWS [LINUX_VELLORIA]]
# (build-windows and build/velloria by default). From the zip, unpacked:
#  1. --version prints the version and the licences;
#  2. the unit tests built for Windows (when BUILD_WINDOWS has them) through
#     CTest, which runs them with Wine;
#  3. every recorded session replays headless with the recorded digests;
#  4. in a window on Xvfb: the logo (the window's picture beside the Linux
#     build's frame); a name entered after a lost game lands in the
#     registry; a ranking written there by hand shows in the ranking scene;
#     a second copy ends at once, and one started from the desktop (no
#     standard handles) says so in a message box before it ends;
#  5. under a Windows user whose name has accents and other scripts (so has
#     every folder of the player's): an input file read, a session recorded
#     and a screenshot saved there, and in a window the settings saved in
#     %APPDATA% and a run kept in %LOCALAPPDATA%.
# Paths given to the program are Wine's (Z: is /). Everything runs in a Wine
# prefix and home of its own in a temporary folder, removed at the end; the
# screenshot of the window is kept as BUILD_WINDOWS/windows-check/window.png
# for a look.
set -euo pipefail
cd "$(dirname "$0")/.."
win=$(realpath "${1:-build-windows}")
linux=$(realpath "${2:-build/velloria}")
zip=$(ls "$win"/velloria-*-windows-x64.zip)
version=$(sed -n 's/^project(Velloria VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
replays=$PWD/tests/replays
keep=$win/windows-check
rm -rf "$keep"
mkdir -p "$keep"

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  WINEPREFIX=$work/wine wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX=$work/wine HOME=$work/home WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps its server's socket under TMPDIR: inside the work folder too.
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"
export XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$HOME"
# Wine names the Windows user, and so the profile's folders, after USER.
export USER='Zoë-Łukasz-日本' LOGNAME='Zoë-Łukasz-日本' LANG=C.UTF-8 LC_ALL=C.UTF-8
profile=$WINEPREFIX/drive_c/users/$USER
failures=0
check() {  # name, then the command that must succeed
  local name=$1
  shift
  if "$@"; then
    echo "ok: $name"
  else
    echo "FAILED: $name"
    failures=$((failures + 1))
    [ ! -s "$work/window.log" ] || sed 's/^/  the window said: /' "$work/window.log"
  fi
}

# A desktop of its own, there before Wine starts: Wine's desktop process
# takes the display it finds at its start.
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done

wineboot -i >/dev/null 2>&1
wineserver -w
(cd "$work" && python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall("zip")' "$zip")
exe=$(ls "$work"/zip/*/velloria.exe)

version_text=$(wine "$exe" --version 2>/dev/null | tr -d '\r')
check "--version prints \"$version_text\"" grep -q "^velloria $version (code MIT, art and sound CC BY 4.0)$" <<<"$version_text"

if [ -f "$win/tests/CTestTestfile.cmake" ]; then
  # The test program finds the compiler's run-time DLLs where Debian keeps them.
  runtime=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-file-name=libstdc++-6.dll)")
  export WINEPATH="Z:${runtime//\//\\};Z:\\usr\\x86_64-w64-mingw32\\lib"
  check "the unit tests under Wine" bash -c "cd '$win' && ctest --output-on-failure -j 2 >'$work/ctest.log' 2>&1 || { cat '$work/ctest.log'; false; }"
  grep -E 'tests passed|tests failed' "$work/ctest.log" || true
fi

mkdir -p "$work/replays"
check "the recorded sessions, headless" python3 tools/windows/replays.py "$exe" "$work/replays"

run_window() { wine "$exe" --window --scale 1 --mute "$@" >"$work/window.log" 2>&1; }

# 4a. The logo: the frame the window showed is the Linux build's, and the
# screen holds it (the logo on white): screenshots are taken until one does,
# as the window may be black at first.
"$linux" --headless --frames 101 --shot "100:$work/logo-linux.png" >/dev/null 2>&1
whites() { convert "$1" -fill black +opaque white -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0; }
frame_white=$(whites "$work/logo-linux.png")
run_window --frames 200 --shot "100:Z:$work/logo-windows.png" &
window_pid=$!
white=0
for _ in $(seq 300); do
  kill -0 "$window_pid" 2>/dev/null || break
  if xdotool search --name '^Velloria$' >/dev/null 2>&1 && import -window root "$keep/window.png" 2>/dev/null; then
    white=$(whites "$keep/window.png")
    [ "$white" -lt $((frame_white * 9 / 10)) ] || break
  fi
  sleep 0.1
done
wait "$window_pid" || true
check "the window's picture is the logo, as on Linux" cmp -s "$work/logo-windows.png" "$work/logo-linux.png"
check "the screen shows the logo ($white white pixels, the frame has $frame_white)" \
  test "$white" -ge $((frame_white * 9 / 10)) -a "$white" -le $((frame_white * 11 / 10))

# 4b. A name entered after a lost game (the recorded session types AUTO)
# goes into the registry.
run_window --input "Z:$replays/continue-no/input.txt" $(head -n 1 "$replays/continue-no/args") || true
wine reg query 'HKCU\Software\KorvaGames\Velloria' >"$work/reg.txt" 2>/dev/null || true
tr -d '\r' <"$work/reg.txt" | grep Rank >"$keep/registry.txt" || true
check "the name entered is in the registry" grep -q 'REG_SZ *[0-9]*,AUTO$' "$keep/registry.txt"

# 4c. A ranking written by hand shows in the ranking scene: the picture is
# the Linux build's with the same table in its ranking file.
wine reg add 'HKCU\Software\KorvaGames\Velloria' /v Rank0 /t REG_SZ /d '9999,BY HAND' /f >/dev/null 2>&1
wine reg query 'HKCU\Software\KorvaGames\Velloria' 2>/dev/null | tr -d '\r' |
  awk 'BEGIN { print "[Software\\KorvaGames\\Velloria]" } $2 == "REG_SZ" { v = $0; sub(/^.*REG_SZ +/, "", v); print $1 "=" v }' \
    >"$work/ranking.ini"
run_window --input "Z:$replays/front-end/input.txt" --frames 361 --shot "360:Z:$work/ranking-windows.png" || true
"$linux" --headless --ranking "$work/ranking.ini" --input "$replays/front-end/input.txt" --frames 361 \
  --shot "360:$work/ranking-linux.png" >/dev/null 2>&1
check "a ranking written in the registry shows in the ranking scene" cmp -s "$work/ranking-windows.png" "$work/ranking-linux.png"
cp "$work/ranking-windows.png" "$keep/ranking.png" 2>/dev/null || true

# 4d. A second copy ends at once, saying why. The first is ended at the
# end of 4e (a message box in front pauses it).
wine "$exe" --window --scale 1 --mute >"$work/first.log" 2>&1 &
first_pid=$!
game_window=""
for _ in $(seq 300); do
  game_window=$(xdotool search --name '^Velloria$' 2>/dev/null | head -n 1 || true)
  [ -z "$game_window" ] || break
  sleep 0.1
done
start=$SECONDS
second=$(timeout 30 wine "$exe" --window --mute 2>&1 | tr -d '\r' || true)
took=$((SECONDS - start))
check "a second copy ends at once (${took} s) saying \"$second\"" \
  bash -c "[ $took -le 10 ] && grep -q 'Velloria is already running.' <<<'$second'"

# 4e. Started from the desktop (through Windows' start, without standard
# handles) the second copy says so in a message box, which Wine's trace of
# message boxes quotes, and ends once it is answered.
box_log=$work/already-running.log
(WINEDEBUG=trace+msgbox timeout 60 wine start /wait /unix "$exe" --window --mute >"$box_log" 2>&1) &
box_pid=$!
box=""
for _ in $(seq 150); do
  box=$(xdotool search --name '^Velloria$' 2>/dev/null | grep -vx "$game_window" | head -n 1 || true)
  [ -z "$box" ] || break
  sleep 0.2
done
[ -z "$box" ] || import -window root "$keep/already-running.png" 2>/dev/null || true
check "a second copy from the desktop shows its message box" \
  bash -c "[ -n '$box' ] && grep -q 'MSGBOX_OnInit L\"Velloria is already running.\"' '$box_log'"
[ -z "$box" ] || { xdotool windowfocus "$box" && xdotool key Return; } 2>/dev/null || true
check "the second copy ends once its box is answered" wait "$box_pid"
kill "$first_pid" 2>/dev/null || true
wait "$first_pid" 2>/dev/null || true
for _ in $(seq 50); do xdotool search --name '^Velloria' >/dev/null 2>&1 || break; sleep 0.2; done

# 5. The player's files under the accented profile: an input file read and a
# session recorded in a folder of such names, a screenshot (F12) in the
# Pictures folder; then in a window, the settings saved in %APPDATA% (a
# switch to full screen and back, the second save replacing the first's
# file) and a run kept in %LOCALAPPDATA% (a soak's first run ends before
# frame 2100).
named="$work/Zoë Łukasz 日本"
mkdir -p "$named"
printf 'seed 5\n10 +F12\n11 -F12\n' >"$named/shot.txt"
wine "$exe" --headless --frames 30 --input "Z:$named/shot.txt" --record "Z:$named/recorded.txt" 2>/dev/null |
  tr -d '\r' >"$work/shot.txt" || true
check "an input file read and a session recorded under accented names" grep -qx '10 +F12' "$named/recorded.txt"
check "a screenshot in the Pictures folder ($(cat "$work/shot.txt"))" \
  bash -c "grep -qxF 'C:\\users\\$USER\\Pictures\\velloria-0001.png' '$work/shot.txt' && [ -s '$profile/Pictures/velloria-0001.png' ]"
run_window --soak 7 --frames 2100 &
soak_pid=$!
for _ in $(seq 150); do
  soak_window=$(xdotool search --name '^Velloria' 2>/dev/null | head -n 1 || true)
  [ -z "$soak_window" ] || break
  sleep 0.2
done
{ xdotool windowfocus "$soak_window" && xdotool key alt+Return && sleep 1 && xdotool key alt+Return; } 2>/dev/null || true
wait "$soak_pid" || true
appdata=$profile/AppData/Roaming/KorvaGames/Velloria
replays_kept=$profile/AppData/Local/KorvaGames/Velloria/replays
check "the settings saved in %APPDATA%" grep -qx 'display=window' "$appdata/settings.ini"
check "a run kept in %LOCALAPPDATA%" \
  bash -c "run=\$(awk '/^run-/ { print \$1; exit }' '$replays_kept/index.txt') && [ -s '$replays_kept/'\"\$run\" ]"

echo "windows checks: $failures failed"
[ "$failures" -eq 0 ]
