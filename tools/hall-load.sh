#!/usr/bin/env bash
# Loads a velloria-hall on a loopback port with real runs, then kills it
# mid-load and checks that no acknowledged run was lost.
#   tools/hall-load.sh [BUILD_DIR] [CLIENTS] [RUNS_EACH] [LISTS]
# Defaults: build 8 50 2000. It makes CLIENTS x RUNS_EACH distinct runs with
# the game (the soak's random keys, one short session each, kept alone),
# starts the hall with a scratch SQLite file in a temporary folder, and has
# the clients send them while LISTS list requests go on beside; it prints
# requests a second, p50 and p99 latency, and runs and frames verified a
# second. Then, on a fresh file, the same sending is cut by SIGKILL once half
# the runs are acknowledged; the hall is started again and every run that
# was answered 201 must be there, once. Only 127.0.0.1 is ever contacted;
# every request has a 60 s bound and the whole a 20 minute one.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
clients=${2:-8}
each=${3:-50}
lists=${4:-2000}
for program in velloria velloria-hall; do
  [ -x "$build/$program" ] || { echo "no $build/$program: build it first" >&2; exit 2; }
done
work=$(mktemp -d)
hall_pid=""
cleanup() {
  [ -n "$hall_pid" ] && kill -KILL "$hall_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "making $((clients * each)) runs..."
mkdir -p "$work/runs"
seed=0
count=0
while [ "$count" -lt $((clients * each)) ]; do
  seed=$((seed + 1))
  [ "$seed" -le $((clients * each * 4)) ] || { echo "too few runs ended" >&2; exit 1; }
  kept="$work/kept-$seed"
  "$build/velloria" --headless --no-picture --soak "$seed" --frames 4000 --keep-runs "$kept" >/dev/null 2>&1 || true
  # Runs that ended: "file date start potions furthest frames continues flags".
  while read -r file _ start _ _ _ _ flags _; do
    case "$file" in '#'* | '') continue ;; esac
    [[ "$start" == episode-* && "$flags" == *ended* ]] || continue
    [ "$count" -lt $((clients * each)) ] || break
    cp "$kept/$file" "$work/runs/$count.txt"
    count=$((count + 1))
  done <"$kept/index.txt"
  rm -rf "$kept"
done

# Waits for the hall to end without the shell's note that it was killed.
quiet_wait() {
  exec 3>&2 2>/dev/null
  wait "$1" || true
  exec 2>&3 3>&-
}

start_hall() {  # DB: starts the hall, sets hall_pid and port
  "$build/velloria-hall" --db "$1" --listen 127.0.0.1:0 --rate 1000000 --burst 1000000 --queue 10000 \
    >"$work/hall.out" 2>"$work/hall.err" &
  hall_pid=$!
  for _ in $(seq 100); do
    port=$(sed -n 's/^velloria-hall: listening on port \([0-9]*\).*/\1/p' "$work/hall.out")
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "the hall did not start" >&2
  cat "$work/hall.err" >&2
  exit 1
}

start_hall "$work/load.db"
timeout 1200 python3 - "$port" "$work/runs" "$clients" "$each" "$lists" load <<'PY'
import http.client, json, os, sys, threading, time
port, runs, clients, each, lists, mode = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]), sys.argv[6]
lock = threading.Lock()
posts, gets, frames, statuses = [], [], [0], {}

def request(method, path, body=None):
    c = http.client.HTTPConnection('127.0.0.1', port, timeout=60)
    t = time.monotonic()
    headers = {'Content-Type': 'application/json'} if body else {}
    c.request(method, path, body, headers)
    r = c.getresponse()
    data = r.read()
    c.close()
    return r.status, data, time.monotonic() - t

def client(k):
    for i in range(each):
        name = 'LOAD %d-%d' % (k, i)
        file = open(os.path.join(runs, '%d.txt' % (k * each + i))).read()
        status, data, took = request('POST', '/api/runs', json.dumps({'name': name, 'replay': file}))
        with lock:
            posts.append(took)
            statuses[status] = statuses.get(status, 0) + 1
            if status == 201: frames[0] += json.loads(data)['frames']

def lister(n):
    for i in range(n):
        status, _, took = request('GET', '/api/runs?episode=%d&limit=8&offset=%d' % (1 + i % 3, i % 20))
        with lock: gets.append(took)

def pct(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(len(values) * p))] * 1000 if values else 0

start = time.monotonic()
threads = [threading.Thread(target=client, args=(k,)) for k in range(clients)]
threads += [threading.Thread(target=lister, args=(lists // 2,)) for _ in range(2)]
for t in threads: t.start()
for t in threads: t.join()
took = time.monotonic() - start
print('sent %d runs from %d clients and %d list requests in %.1f s: %.0f requests a second' %
      (len(posts), clients, len(gets), took, (len(posts) + len(gets)) / took))
print('answers to runs: %s' % ', '.join('%d x %d' % (n, s) for s, n in sorted(statuses.items())))
print('runs: p50 %.0f ms, p99 %.0f ms; lists: p50 %.1f ms, p99 %.1f ms' % (pct(posts, .5), pct(posts, .99), pct(gets, .5), pct(gets, .99)))
print('verified %.1f runs and %.0f frames a second' % (statuses.get(201, 0) / took, frames[0] / took))
sys.exit(0 if statuses.get(201, 0) == len(posts) else 1)
PY
kill -TERM "$hall_pid"
quiet_wait "$hall_pid"
hall_pid=""

echo "the same again on a fresh file, killed with SIGKILL once half are acknowledged..."
start_hall "$work/kill.db"
timeout 1200 python3 - "$port" "$work/runs" "$clients" "$each" "$hall_pid" "$work/acknowledged" <<'PY'
import http.client, json, os, signal, sys, threading
port, runs, clients, each, pid, out = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]), sys.argv[6]
lock = threading.Lock()
acknowledged = []
killed = threading.Event()

def client(k):
    for i in range(each):
        if killed.is_set(): return
        file = open(os.path.join(runs, '%d.txt' % (k * each + i))).read()
        try:
            c = http.client.HTTPConnection('127.0.0.1', port, timeout=60)
            c.request('POST', '/api/runs', json.dumps({'name': 'KILL %d-%d' % (k, i), 'replay': file}),
                      {'Content-Type': 'application/json'})
            r = c.getresponse()
            data = r.read()
        except OSError:
            return
        if r.status == 201:
            with lock:
                acknowledged.append(json.loads(data)['id'])
                if len(acknowledged) >= clients * each // 2 and not killed.is_set():
                    killed.set()
                    os.kill(pid, signal.SIGKILL)

threads = [threading.Thread(target=client, args=(k,)) for k in range(clients)]
for t in threads: t.start()
for t in threads: t.join()
open(out, 'w').write('\n'.join(map(str, acknowledged)) + '\n')
print('%d runs acknowledged before the kill' % len(acknowledged))
PY
quiet_wait "$hall_pid"
start_hall "$work/kill.db"
timeout 300 python3 - "$port" "$work/acknowledged" <<'PY'
import http.client, json, sys
port, acknowledged = int(sys.argv[1]), [int(x) for x in open(sys.argv[2]).read().split()]
def get(path):
    c = http.client.HTTPConnection('127.0.0.1', port, timeout=60)
    c.request('GET', path)
    r = c.getresponse()
    return r.status, r.read()
listed = []
for episode in (1, 2, 3):
    offset = 0
    while True:
        status, data = get('/api/runs?episode=%d&limit=100&offset=%d' % (episode, offset))
        rows = json.loads(data)['runs']
        listed += [row['id'] for row in rows]
        if len(rows) < 100: break
        offset += 100
missing = [i for i in acknowledged if get('/api/runs/%d' % i)[0] != 200]
twice = len(listed) - len(set(listed))
print('after the restart: %d of %d acknowledged runs present, %d listed twice, %d runs listed in all' %
      (len(acknowledged) - len(missing), len(acknowledged), twice, len(listed)))
sys.exit(1 if missing or twice or not set(acknowledged) <= set(listed) else 0)
PY
status=$?
kill -TERM "$hall_pid"
quiet_wait "$hall_pid"
hall_pid=""
exit "$status"
