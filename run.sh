#!/usr/bin/env bash
# Builds Plumet and starts it on FOLDER, or on a ready demo folder with a simulated clock.
#   ./run.sh [FOLDER]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps.sh"
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
cmake -S "$here" -B "$here/build-run" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLUMET_BUILD_TESTS=OFF >/dev/null
cmake --build "$here/build-run" -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Plumet is a desktop program and no display was found." >&2
  echo "Start it from a desktop session, or under a virtual display: xvfb-run -a ./run.sh${1:+ $1}" >&2
  exit 1
fi

if [ $# -ge 1 ]; then
  mkdir -p "$1"
  cd "$1"
  exec "$here/build-run/src/ui/plumet"
fi
exec "$here/scripts/demo.sh" "$here/build-run"
