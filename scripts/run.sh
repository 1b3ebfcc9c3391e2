#!/usr/bin/env bash
# Installs what is needed, builds, and starts the desktop program. Without a display
# it starts under a virtual one (Xvfb).
#
# Without arguments the program starts on the demo document with a simulated CV61
# machine tester on port 1 (pelvoro-sim on a pseudo terminal, holding the tests of three
# machines): Instrument > DownLoad works at once. The simulator ends with the program.
# With arguments (a document, options) the program starts as named, on the real ports.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

run_program() {
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    echo "No display: starting under Xvfb (xvfb-run)."
    xvfb-run -a build/bin/pelvoro "$@"
  else
    build/bin/pelvoro "$@"
  fi
}

if [ $# -gt 0 ]; then
  run_program "$@"
  exit $?
fi

# The simulated tester: its first output line is the device it plays on.
simlog="$(mktemp -t pelvoro-sim-XXXXXX.log)"
simout="$(mktemp -t pelvoro-sim-XXXXXX.out)"
build/bin/pelvoro-sim --model CV61 --scenario tools/sim/scenarios/demo_cv61.sim \
  --ignore-stdin --log "$simlog" > "$simout" < /dev/null &
simpid=$!
stop_sim() {
  kill "$simpid" 2>/dev/null || true
  wait "$simpid" 2>/dev/null || true
  rm -f "$simout"
}
trap stop_sim EXIT
device=""
for _ in $(seq 50); do
  device="$(head -n 1 "$simout" 2>/dev/null || true)"
  [ -n "$device" ] && break
  sleep 0.1
done
if [ -z "$device" ]; then
  echo "The simulated tester did not start (see $simlog)." >&2
  exit 1
fi
echo "Simulated CV61 tester on $device (port 1); its log: $simlog"
export PELVORO_PORT_1="$device"
run_program build/bin/Demo.TMV
