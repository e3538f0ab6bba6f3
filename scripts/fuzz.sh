#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the whole code under test instrumented, with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60)
# over a copy of its seed corpus. Prints per target: executions, coverage, crashes.
# The crashing inputs of the last run are kept in build/fuzz/crashes/<target>/; add it to fuzz/corpus/<name>/
# once the fault is fixed. Exits non-zero when any target crashed.
#
#   scripts/fuzz.sh [SECONDS]          FUZZ_TARGETS="fuzz_tree fuzz_settings" to pick some
set -euo pipefail

SECONDS_PER_TARGET="${1:-60}"
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build/fuzz"
WORK="$BUILD/runs"
CRASHES="$BUILD/crashes"

if ! command -v clang++ >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: clang"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends clang
fi

if [ -n "${FUZZ_TARGETS:-}" ]; then
  read -r -a targets <<<"$FUZZ_TARGETS"
else
  targets=()
  for src in "$ROOT"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELMOT_FUZZ=ON -DZELMOT_TESTS=OFF -DZELMOT_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$(nproc)" --target "${targets[@]}"

# One stat of libFuzzer's final report, or of its last status line.
final_stat() { sed -n "s/^stat::$1: *//p" "$2" | tail -n 1; }
last_field() { grep -o "$1: [0-9]*" "$2" | tail -n 1 | sed 's/.*: //'; }

failed=0
printf '%-22s %10s %8s %8s %8s\n' target seconds execs cov crashes
for target in "${targets[@]}"; do
  corpus="$WORK/$target/corpus"
  rm -rf "$WORK/$target" "$CRASHES/$target"
  mkdir -p "$corpus" "$CRASHES/$target"
  cp -r "$ROOT/fuzz/corpus/${target#fuzz_}/." "$corpus/" 2>/dev/null || true
  log="$WORK/$target/log"
  status=0
  "$BUILD/bin/$target" "$corpus" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$CRASHES/$target/" >"$log" 2>&1 || status=$?
  crashes=$(find "$CRASHES/$target" -type f \( -name 'crash-*' -o -name 'timeout-*' \
    -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
  [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ] && crashes=1
  [ "$crashes" -ne 0 ] && failed=1
  printf '%-22s %10s %8s %8s %8s\n' "$target" "$SECONDS_PER_TARGET" \
    "$(final_stat number_of_executed_units "$log")" "$(last_field cov "$log")" "$crashes"
  [ "$status" -ne 0 ] && echo "  log: $log"
done
exit "$failed"
