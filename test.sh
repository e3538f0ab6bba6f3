#!/usr/bin/env bash
# Installs what is needed, builds with sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

BUILD=build/debug
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELMOT_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j 2
cd "$BUILD"
ctest --output-on-failure -j 2 --timeout 600
