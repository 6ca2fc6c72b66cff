#!/usr/bin/env bash
# Runs the hall of fame server's package under a real systemd, on a machine
# (or container) whose own init is not systemd:
#   tools/hall-systemd-check.sh build-package/velloria-hall_VERSION_ARCH.deb build/velloria
# It installs the package, boots systemd as the first process of a private
# process and mount namespace (its own /run, /tmp and /var/tmp, so nothing of
# the machine's temporary files is touched) with only the hall's unit asked
# for, then checks that the unit's sandbox holds (its user, no capabilities,
# no new privileges, a read-only system, its state folder writable), that a
# run made by the game given (the same version) is verified and listed, and
# that `systemctl stop` ends it with status 0. Everything goes afterwards,
# the package too. As root only; not part of CI, since it boots an init.
set -euo pipefail

hall=$(readlink -f "${1:?usage: tools/hall-systemd-check.sh HALL.deb GAME_PROGRAM}")
game=$(readlink -f "${2:?usage: tools/hall-systemd-check.sh HALL.deb GAME_PROGRAM}")
[ "$(id -u)" -eq 0 ] || { echo "run it as root: it installs a package and boots systemd" >&2; exit 2; }
[ -x /lib/systemd/systemd ] || { echo "no /lib/systemd/systemd here" >&2; exit 2; }
if dpkg-query -W -f='${Status}' velloria-hall 2>/dev/null | grep -q "install ok installed"; then
  echo "velloria-hall is installed already: this check would purge it" >&2
  exit 2
fi
work=$(mktemp -d)
init=""
installed=0
cleanup() {
  # Killing the namespace's first process ends every process in it.
  set +e
  if [ -n "$init" ]; then
    kill -KILL "$(systemd_pid)" 2>/dev/null
    wait "$init" 2>/dev/null
  fi
  [ "$installed" -eq 1 ] && DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq velloria-hall >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
systemd_pid() { pgrep -P "$init" -f '^/lib/systemd/systemd' | head -n 1; }

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$hall" >"$work/apt.log" 2>&1 || {
  cat "$work/apt.log"
  fail "apt-get install"
}
installed=1

# A run to send: the game's random keys until one ends from a title EPISODE.
run=""
for seed in $(seq 1 20); do
  "$game" --headless --no-picture --soak "$seed" --frames 4000 --keep-runs "$work/kept" >/dev/null 2>&1 || true
  file=$(awk '$3 ~ /^episode-/ && $8 ~ /ended/ { print $1; exit }' "$work/kept/index.txt" 2>/dev/null || true)
  [ -n "$file" ] && { run="$work/kept/$file"; break; }
  rm -rf "$work/kept"
done
[ -n "$run" ] || fail "no run ended in 20 sessions"
python3 -c 'import json, sys; print(json.dumps({"name": "SYSTEMD", "replay": open(sys.argv[1]).read()}))' "$run" \
  >"$work/body.json"

# shellcheck disable=SC2016  # expanded by the namespace's shell
unshare --pid --fork --mount --mount-proc --propagation private sh -c \
  'for d in /run /tmp /var/tmp; do mount -t tmpfs tmpfs "$d"; done
   exec env container=velloria-check /lib/systemd/systemd --system --unit=velloria-hall.service --log-target=null' \
  2>"$work/init.log" &
init=$!
in_init() { nsenter -t "$(systemd_pid)" -m -p "$@"; }
for _ in $(seq 100); do
  [ -n "$(systemd_pid)" ] && [ "$(in_init systemctl is-active velloria-hall 2>/dev/null)" = active ] && break
  sleep 0.2
done
[ "$(in_init systemctl is-active velloria-hall 2>/dev/null)" = active ] || {
  in_init systemctl status velloria-hall --no-pager 2>&1 || true
  fail "systemd did not start the unit"
}
main=$(in_init systemctl show -P MainPID velloria-hall)
server=$(pgrep -f '^/usr/bin/velloria-hall' | head -n 1)
{ [ -n "$server" ] && [ "$main" -gt 0 ]; } || fail "no server process"
status=/proc/$server/status
[ "$(awk '/^Uid:/ { print $2 }' "$status")" = "$(id -u velloria-hall)" ] || fail "the server is not its user's"
grep -q '^CapBnd:[[:space:]]*0000000000000000' "$status" || fail "the server keeps capabilities"
grep -q '^NoNewPrivs:[[:space:]]*1' "$status" || fail "the server may gain privileges"
awk '$5 == "/" { print $6 }' "/proc/$server/mountinfo" | grep -q '^ro' || fail "the system is writable"
awk '$5 == "/var/lib/velloria-hall" { print $6 }' "/proc/$server/mountinfo" | grep -q '^rw' ||
  fail "the state folder is not writable"
echo "the unit runs as velloria-hall: no capabilities, no new privileges, / read-only, its state folder writable"

for _ in $(seq 50); do curl -fsS -o /dev/null http://127.0.0.1:8080/ 2>/dev/null && break; sleep 0.1; done
answer=$(curl -sS -w ' %{http_code}' -H 'Content-Type: application/json' --data-binary @"$work/body.json" \
  http://127.0.0.1:8080/api/runs)
[ "${answer##* }" = 201 ] || fail "the run was not verified: $answer"
curl -fsS "http://127.0.0.1:8080/api/runs?episode=$(awk '{ print $3 }' <<<"$(grep -F "$(basename "$run")" \
  "$work/kept/index.txt")" | cut -d- -f2)" | grep -q '"name":"SYSTEMD"' || fail "the verified run is not listed"
echo "a run verified inside the sandbox: ${answer% *}"

in_init systemctl stop velloria-hall
[ "$(in_init systemctl show -P ExecMainStatus velloria-hall)" = 0 ] || fail "the server did not stop cleanly"
[ "$(in_init systemctl show -P Result velloria-hall)" = success ] || fail "systemd reports a failed stop"
echo "systemctl stop: status 0"
