#!/usr/bin/env bash
# Takes the README's screenshots (docs/screenshots/*.png) on a fresh demo folder with the
# simulated clock, under a virtual display of its own.
#   scripts/screenshots.sh [BUILD_DIR]    (default: build-run, the tree ./run.sh builds)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build-run}" && pwd)"
cmake --build "$build" -j2 --target plumet-screenshots plumet-demo-folder plumet-clocksim >/dev/null
PATH="$build/tools/screenshots:$build/tools/demofolder:$build/tools/clocksim:$PATH"

# A fixed place: the pictures show the folder's port.
work="${TMPDIR:-/tmp}/plumet-screenshots"
rm -rf "$work"
mkdir -p "$work"
xvfb_pid=""
wm_pid=""
clock_pid=""
cleanup() {
  [ -n "$clock_pid" ] && kill "$clock_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=""
for n in $(seq 90 98); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "No free display between :90 and :98." >&2; exit 1; }
# A laptop's screen, with a window manager that frames the windows and keeps them on it.
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
if command -v openbox >/dev/null; then
  DISPLAY="$display" openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
fi

demo="$work/demo"
plumet-demo-folder --port "$demo/clock-line" --catalogue "$here/data/club.txt" "$demo" >/dev/null
coproc clock { exec plumet-clocksim --state "$demo/clock-state.txt" 2>/dev/null; }
clock_pid=$clock_PID
read -r -t 10 device <&"${clock[0]}"
ln -sfn "$device" "$demo/clock-line"

mkdir -p "$here/docs/screenshots"
cd "$demo"
DISPLAY="$display" QT_QPA_PLATFORM=xcb plumet-screenshots "$here/docs/screenshots" "$clock_pid"

# The same evening in German at the larger window size.
demo_de="$work/demo-de"
plumet-demo-folder --port "$demo_de/clock-line" --catalogue "$here/data/club.de.txt" "$demo_de" >/dev/null
ln -sfn "$device" "$demo_de/clock-line"
sed -i '4s/^1/2/' "$demo_de/OPTIONS.PAR"
cd "$demo_de"
DISPLAY="$display" QT_QPA_PLATFORM=xcb plumet-screenshots "$here/docs/screenshots" "$clock_pid" -de-size2
