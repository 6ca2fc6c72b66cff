#!/usr/bin/env bash
# Checks a built Debian package the way a user meets it, on this machine:
#   tools/deb-check.sh build-package/velloria_VERSION_ARCH.deb [build-package/velloria-hall_VERSION_ARCH.deb]
# 1. what is packed: no folder of the build machine in the program or its
#    debug symbols, every file dated at the release, no time in a gzip header;
# 2. lintian (when installed): no error and no warning;
# 3. apt installs it with what it needs; --version runs; a headless game asks
#    for its tune, and a live one (dummy video, audio into a file, effects
#    silent) plays it from the installed data folder;
# 4. apt purges it, and no file of the package is left.
# Given the hall of fame server's package too, the same for it, with a short
# run: the unit file verifies, the server answers as its user and stops on
# SIGTERM, and a purge takes its runs.
# It installs the packages for real (as root), so it refuses to run where
# either is installed already. Everything it makes goes, pass or fail.
set -euo pipefail

deb=$(readlink -f "${1:?usage: tools/deb-check.sh PACKAGE.deb [HALL.deb]}")
[ -f "$deb" ] || { echo "no such package: $1" >&2; exit 2; }
hall=""
if [ -n "${2:-}" ]; then
  hall=$(readlink -f "$2")
  [ -f "$hall" ] || { echo "no such package: $2" >&2; exit 2; }
fi
for name in velloria velloria-hall; do
  if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed"; then
    echo "$name is installed already: this check would purge it" >&2
    exit 2
  fi
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
work=$(mktemp -d)
installed=0
hall_installed=0
server=""
# A check that stops half way still takes the packages off again.
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  [ "$installed" -eq 1 ] && DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq velloria >/dev/null 2>&1
  [ "$hall_installed" -eq 1 ] && DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq velloria-hall >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $* =="; }

step "what is packed"
debs=()
for package in "$deb" $hall; do
  debs+=("$package")
  dbgsym=$(dirname "$package")/$(basename "$package" | sed 's/^\(velloria[^_]*\)_/\1-dbgsym_/')
  [ -f "$dbgsym" ] && debs+=("$dbgsym")
done
# The release's time: SOURCE_DATE_EPOCH, else the change log's last entry.
changelog="$(dirname "$0")/../debian/changelog"
epoch=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$changelog" -S Timestamp 2>/dev/null || true)}
for d in "${debs[@]}"; do
  mkdir -p "$work/unpacked"
  dpkg-deb -x "$d" "$work/unpacked"
  # The build ran in a folder beside the package: its name must not show.
  if grep -rlF "$(dirname "$deb")" "$work/unpacked"; then fail "$(basename "$d") names the build folder"; fi
  times=$(dpkg-deb --fsys-tarfile "$d" | tar -tv --full-time | awk '{print $4 " " $5}' | sort -u)
  [ "$(wc -l <<<"$times")" -eq 1 ] || fail "$(basename "$d") holds files of different times: $times"
  if [ -n "$epoch" ] && [ "$(date -u -d "$times" +%s)" != "$epoch" ]; then
    fail "$(basename "$d") is dated $times, not at the release"
  fi
  while IFS= read -r -d '' gz; do
    [ "$(od -An -tx1 -j4 -N4 "$gz" | tr -d ' ')" = 00000000 ] || fail "a time in the gzip header of $gz"
  done < <(find "$work/unpacked" -name '*.gz' -print0)
  rm -rf "$work/unpacked"
done
echo "no build folder, one time ($times), no gzip times"

if command -v lintian >/dev/null; then
  step "lintian"
  status=0
  lintian --fail-on error,warning -I --pedantic "$deb" $hall >"$work/lintian.txt" 2>&1 || status=$?
  grep -v "root privileges" "$work/lintian.txt" || true
  [ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
fi

step "install"
listing() {
  find /usr /etc /var/lib /opt -xdev \( -path /var/lib/dpkg -o -path /var/lib/apt -o -path /var/lib/ucf \) -prune \
    -o -print 2>/dev/null | sort
}
listing >"$work/before"
installed=1
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "apt-get install"
}
dpkg-query -L velloria | sort >"$work/owned"

step "run"
program=/usr/games/velloria
"$program" --version
mkdir -p "$work/home"
export XDG_RUNTIME_DIR="$work/home" XDG_CONFIG_HOME="$work/home" HOME="$work/home"
"$program" --headless --start 1-1 --frames 100 --sound-log "$work/sounds.log"
grep -q "music play Music01.mid" "$work/sounds.log" || fail "the headless game asked for no tune"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/mix.raw" \
  "$program" --window --start 1-1 --frames 50 --sound-volume 0 2>/dev/null
peak=$(od -An -v -td2 -w2 "$work/mix.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
echo "headless sound log: $(grep -c music "$work/sounds.log") music lines; live tune peak $peak of 32767"
[ "$peak" -gt 1000 ] || fail "the installed game played no tune (peak $peak)"

step "purge"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq velloria >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "apt-get purge"
}
installed=0
listing >"$work/after"
# What the package owned and is still there, unless it was there before
# (shared folders such as /usr/share/icons/hicolor).
left=$(comm -12 "$work/owned" "$work/after" | comm -23 - "$work/before")
new=$(comm -13 "$work/before" "$work/after" | grep -i velloria || true)
[ -z "$left$new" ] || fail "left behind: $left $new"
echo "nothing of the package is left ($(wc -l <"$work/owned") paths owned)"

[ -n "$hall" ] || exit 0

step "hall: install"
listing >"$work/before"
hall_installed=1
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$hall" >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "apt-get install of the hall"
}
dpkg-query -L velloria-hall | sort >"$work/owned"
[ "$(stat -c %U "/var/lib/velloria-hall")" = velloria-hall ] || fail "/var/lib/velloria-hall is not the server user's"

step "hall: run"
velloria-hall --help | grep -q -- "--db FILE" || fail "velloria-hall --help names no --db"
unit=$(systemctl show -P FragmentPath velloria-hall 2>/dev/null || true)
[ -n "$unit" ] || unit=/lib/systemd/system/velloria-hall.service
if command -v systemd-analyze >/dev/null; then
  systemd-analyze verify "$unit" || fail "systemd-analyze verify $unit"
fi
# As the service runs it, on a free port (setpriv execs, so SIGTERM reaches
# the server itself): the page and an empty table answer, SIGTERM stops it
# with status 0, and the database is where the unit keeps it.
$sudo setpriv --reuid velloria-hall --regid velloria-hall --init-groups /usr/bin/velloria-hall --db /var/lib/velloria-hall/hall.db --listen 127.0.0.1:0 \
  --page /usr/share/velloria-hall/page >"$work/hall.log" 2>&1 &
server=$!
for _ in $(seq 100); do grep -q "listening on port" "$work/hall.log" && break; sleep 0.1; done
port=$(sed -n 's/.*listening on port \([0-9]*\).*/\1/p' "$work/hall.log")
[ -n "$port" ] || { cat "$work/hall.log"; fail "the installed server did not start"; }
curl -fsS "http://127.0.0.1:$port/" | grep -qi "<html" || fail "the installed server gave no page"
curl -fsS "http://127.0.0.1:$port/api/runs?episode=1" | grep -qF '"runs":[]' || fail "a fresh hall lists runs"
kill -TERM "$server"
status=0
wait "$server" || status=$?
server=""
[ "$status" -eq 0 ] || { cat "$work/hall.log"; fail "the server exited $status on SIGTERM"; }
[ -f /var/lib/velloria-hall/hall.db ] || fail "no database in /var/lib/velloria-hall"
echo "served on port $port as velloria-hall, stopped on SIGTERM"

step "hall: purge"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq velloria-hall >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "apt-get purge of the hall"
}
hall_installed=0
listing >"$work/after"
left=$(comm -12 "$work/owned" "$work/after" | comm -23 - "$work/before")
new=$(comm -13 "$work/before" "$work/after" | grep -i velloria || true)
[ -z "$left$new" ] || fail "left behind: $left $new"
echo "nothing of the hall is left ($(wc -l <"$work/owned") paths owned, its runs gone)"
