#!/usr/bin/env bash
# Installs what is needed, builds a release and runs the main job: reads every parameter
# of a ZELMOT and saves the configuration. Without a port it starts the simulator and
# reads that instead.
#
#   ./run.sh                      # against the simulator
#   ./run.sh /dev/ttyUSB0 [opts]  # against a real device (extra zelmot-cli options follow)
#
# With a display (DISPLAY or WAYLAND_DISPLAY) the desktop program opens instead of the
# headless read; ZELMOT_HEADLESS=1 forces the headless read.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

BUILD=build/release
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELMOT_TESTS=OFF -DZELMOT_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j 2
BIN="$BUILD/bin"

OUT_DIR="${ZELMOT_RUN_DIR:-$PWD/build/run}"
mkdir -p "$OUT_DIR"
OUT="$OUT_DIR/device.zel"

SIM_PID=""
cleanup() { [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null || true; }
trap cleanup EXIT

if [ $# -gt 0 ]; then
  PORT="$1"
  shift
  OPTIONS=("$@")
else
  # The simulator prints its pseudo-terminal on the first line of its output.
  coproc SIM { exec "$BIN/zelmot-sim" --data-dir "$BIN"; }
  SIM_PID=$SIM_PID
  read -r PORT <&"${SIM[0]}"
  OPTIONS=(--baud 115200 --converter auto)
  echo "Simulator on $PORT"
  # The simulated line needs no RTS switching: the demo keeps its own program settings
  # (automatic converter, 115200 baud) instead of touching the user's.
  export ZELMOT_CONFIG_DIR="$OUT_DIR/config" ZELMOT_HOME="$OUT_DIR/home"
  mkdir -p "$ZELMOT_CONFIG_DIR"
  if [ ! -f "$ZELMOT_CONFIG_DIR/zelmot.ini" ]; then
    printf '[Software/Kavrel/ZELMOT]\nbaud_rate=115200\nRS485type=1\n' > "$ZELMOT_CONFIG_DIR/zelmot.ini"
  fi
fi

# With a display the desktop program opens connected to the line; otherwise the
# headless demo reads the whole device.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${ZELMOT_HEADLESS:-}" ]; then
  "$BIN/zelmot" --port "$PORT" --data-dir "$BIN"
  exit $?
fi

"$BIN/zelmot-cli" --port "$PORT" --data-dir "$BIN" "${OPTIONS[@]}" check
status=0
"$BIN/zelmot-cli" --port "$PORT" --data-dir "$BIN" "${OPTIONS[@]}" --quiet read -o "$OUT" || status=$?
if [ -f "$OUT" ]; then
  echo "Configuration saved to $OUT; first rows:"
  "$BIN/zelmot-cli" --data-dir "$BIN" show "$OUT" | head -20 || true
fi
exit "$status"
