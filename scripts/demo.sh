#!/usr/bin/env bash
# Prepares the demo program folder (outside the source tree) and starts Plumet on it, with a
# simulated clock on a pseudo-terminal that ends with the program.
#   scripts/demo.sh BUILD_DIR    from a build tree
#   plumet-demo                  installed
set -euo pipefail

if [ $# -ge 1 ]; then
  build="$(cd "$1" && pwd)"
  PATH="$build/src/ui:$build/src/cli:$build/tools/clocksim:$build/tools/demofolder:$PATH"
  catalogue="$(cd "$(dirname "$0")/.." && pwd)/data/club.txt"
  again="./run.sh"
else
  catalogue="$(dirname "$(readlink -f "$0")")/../share/plumet/club.txt"
  again="plumet-demo"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Plumet is a desktop program and no display was found." >&2
  echo "Start it from a desktop session, or under a virtual display: xvfb-run -a $again" >&2
  exit 1
fi

demo="${PLUMET_DEMO_FOLDER:-${XDG_DATA_HOME:-$HOME/.local/share}/plumet/demo}"
# OPTIONS.PAR names this link, not the pseudo-terminal, so the folder stays the same from run to run.
line="$demo/clock-line"

if [ -f "$demo/plumet.lock" ]; then
  pid="$(head -n 1 "$demo/plumet.lock" 2>/dev/null || true)"
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    echo "Plumet is already running on the demo folder $demo." >&2
    exit 1
  fi
fi

plumet-demo-folder --port "$line" --catalogue "$catalogue" "$demo" | sed 's/^/Demo: /' >&2

# At the pace of the line the program sets, as a real clock answers.
coproc clock { exec plumet-clocksim --state "$demo/clock-state.txt" --line-speed port; }
clock_pid=$clock_PID
trap 'kill "$clock_pid" 2>/dev/null || true; wait "$clock_pid" 2>/dev/null || true; rm -f "$line"' EXIT
device=""
read -r -t 10 device <&"${clock[0]}" || true
if [ -z "$device" ]; then
  echo "The clock simulator did not start." >&2
  exit 1
fi
ln -sfn "$device" "$line"

cat >&2 <<EOF
Demo program folder: $demo
Simulated clock on $device (the folder's port $line).
Make the clock print its arrival list (for the print relay): kill -USR1 $clock_pid
Command line companion on this folder: plumet-cli --folder "$demo" --help
EOF

cd "$demo"
status=0
plumet || status=$?
exit "$status"
