#!/usr/bin/env bash
# Installs what is needed, builds a release and runs the main job.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

BUILD=build/release
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELMOT_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j 2
exec "$BUILD/bin/bench_link_exchange" "$@"
