#!/usr/bin/env bash
# Builds the tests that run threads (exchange, polling, archive, application controllers,
# the desktop program's model and windows) with ThreadSanitizer and runs them. Any report
# fails the run; the only suppressions are Qt's own, in scripts/tsan.supp, each with its
# reason.
#   scripts/tsan.sh [GTEST-FILTER]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

BUILD=build/tsan
SUITES=(test_link test_exchange test_document test_archive test_calibration test_app test_cli test_ui)
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELMOT_TSAN=ON -DZELMOT_BENCH=OFF \
  -DZELMOT_WERROR=OFF >/dev/null
targets=()
known=$(cmake --build "$BUILD" --target help)
for suite in "${SUITES[@]}"; do
  # A suite folder that does not exist yet has no target.
  if grep -q "^$suite:" <<<"$known"; then targets+=("$suite"); fi
done
cmake --build "$BUILD" -j 2 --target "${targets[@]}" zelmot zelmot-cli zelmot-sim zelmot_model

# die_after_fork=0: the GUI tests start the simulator with fork and exec after Qt's threads
# run; the child only execs, which is safe.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 suppressions=$PWD/scripts/tsan.supp"
export QT_QPA_PLATFORM=offscreen
failed=()
for suite in "${targets[@]}"; do
  echo "== $suite"
  "$BUILD/bin/$suite" --gtest_brief=1 ${1:+--gtest_filter="$1"} || failed+=("$suite")
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "ThreadSanitizer or test failures in: ${failed[*]}"
  exit 1
fi
echo "ThreadSanitizer: clean (${targets[*]})"
