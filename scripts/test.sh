#!/usr/bin/env bash
# Installs everything, builds Tablescope and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"

# The independent reader the differential tests compare with.
if [ ! -d "$build/oracle/node_modules/mdb-reader" ]; then
  mkdir -p "$build/oracle"
  (cd "$build/oracle" && npm install --no-audit --no-fund --silent mdb-reader@3)
fi
# The benchmark database, unpacked next to the build.
if [ ! -f "$build/bench.mdb" ]; then
  xz -dc ../shared/bench/bench.mdb.xz > "$build/bench.mdb.part" && mv "$build/bench.mdb.part" "$build/bench.mdb"
fi

export QT_QPA_PLATFORM=offscreen
export TABLESCOPE_ORACLE_NODE_PATH="$PWD/$build/oracle/node_modules"
export TABLESCOPE_BENCH_MDB="$PWD/$build/bench.mdb"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
