#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL cluster: made in a temporary
# folder, reached only through a socket in it (no TCP port), stopped and
# removed at the end, whatever the command did. The command finds the
# connection string in VELLORIA_TEST_POSTGRES. PostgreSQL refuses to run as
# root, so under root the cluster belongs to nobody.
#   tests/hall/with_postgres.sh COMMAND [ARGS...]
set -euo pipefail
bin=${VELLORIA_PG_BIN:-/usr/lib/postgresql/15/bin}
if [ ! -x "$bin/initdb" ]; then
  echo "no PostgreSQL in $bin (Debian's postgresql): skipped" >&2
  exit 0
fi
as=()
owner=$(id -un)
if [ "$(id -u)" -ne 0 ]; then
  dir=$(mktemp -d)
else
  # nobody must reach the folder: /tmp is open to all, a private TMPDIR is not.
  dir=$(mktemp -d -p /tmp velloria-pg-XXXXXX)
  owner=nobody
  chown nobody "$dir"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
stop() {
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap stop EXIT
(cd "$dir" && "${as[@]}" "$bin/initdb" -D "$dir/data" -A trust -U "$owner" --no-sync >"$dir/initdb.log" 2>&1) || {
  cat "$dir/initdb.log" >&2
  exit 1
}
"${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
  -o "-c listen_addresses='' -k $dir -c fsync=off" start >/dev/null || {
  cat "$dir/server.log" >&2
  exit 1
}
"${as[@]}" "$bin/createdb" -h "$dir" -U "$owner" hall
VELLORIA_TEST_POSTGRES="host=$dir user=$owner dbname=hall" "$@"
