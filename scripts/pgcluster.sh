# Sourced by test.sh: a throw-away PostgreSQL cluster on a local port.
# Exports VEK_PG_HOST, VEK_PG_PORT and VEK_PG_USER for the server-mode tests.

vek_pg_bindir() {
  local d
  for d in /usr/lib/postgresql/*/bin; do
    [ -x "$d/initdb" ] && { echo "$d"; return 0; }
  done
  command -v initdb >/dev/null 2>&1 && { dirname "$(command -v initdb)"; return 0; }
  return 1
}

vek_pg_as() {
  # initdb refuses to run as root: run the cluster as the postgres user then.
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

vek_pg_free_port() {
  local p
  for p in $(seq 55432 55532); do
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return 0; }
  done
  return 1
}

VEK_PG_DIR=""
vek_pg_start() {
  local bin
  if ! bin=$(vek_pg_bindir); then
    echo "*** PostgreSQL binaries not installed: server-mode tests will be skipped ***"
    return 0
  fi
  VEK_PG_DIR=$(mktemp -d /tmp/vek-pg.XXXXXX)
  chmod 755 "$VEK_PG_DIR"
  [ "$(id -u)" -eq 0 ] && chown postgres "$VEK_PG_DIR"
  local port
  port=$(vek_pg_free_port)
  vek_pg_as "$bin/initdb" -D "$VEK_PG_DIR/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >"$VEK_PG_DIR/initdb.log" 2>&1 \
    || { cat "$VEK_PG_DIR/initdb.log"; return 1; }
  vek_pg_as "$bin/pg_ctl" -D "$VEK_PG_DIR/data" -l "$VEK_PG_DIR/server.log" -w \
    -o "-p $port -k $VEK_PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null \
    || { cat "$VEK_PG_DIR/server.log"; return 1; }
  export VEK_PG_HOST=127.0.0.1 VEK_PG_PORT=$port VEK_PG_USER=postgres
  echo "PostgreSQL test cluster on 127.0.0.1:$port"
}

vek_pg_stop() {
  [ -n "$VEK_PG_DIR" ] || return 0
  local bin
  bin=$(vek_pg_bindir) && vek_pg_as "$bin/pg_ctl" -D "$VEK_PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$VEK_PG_DIR"
  VEK_PG_DIR=""
}
