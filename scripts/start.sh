#!/usr/bin/env bash
# Installs the build dependencies, builds Tablescope and starts it on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target tablescope
exec build/app/tablescope "${1:-samples/shop.mdb}"
