#!/usr/bin/env bash
# Build everything and run every test. A throw-away PostgreSQL cluster serves the
# server-mode tests and is stopped whatever happens.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
vek_install_deps
vek_build

source scripts/pgcluster.sh
trap vek_pg_stop EXIT
vek_pg_start

export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j2 "$@"
