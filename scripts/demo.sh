#!/usr/bin/env bash
# Prepares the demo program folder (outside the source tree) and starts Plumet on it.
#   scripts/demo.sh BUILD_DIR
set -euo pipefail
build="$1"
demo="${PLUMET_DEMO_FOLDER:-${XDG_DATA_HOME:-$HOME/.local/share}/plumet/demo}"
mkdir -p "$demo"
echo "Demo program folder: $demo" >&2
cd "$demo"
exec "$build/src/ui/plumet"
