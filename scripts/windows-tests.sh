#!/usr/bin/env bash
# Builds the core and its tests for 64-bit Windows (MinGW-w64) and runs them under Wine, in a
# Wine prefix of their own that is removed afterwards.
#   scripts/windows-tests.sh [--build-only | --run-only] [BUILD_DIR]   (default: build-windows in the checkout)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
steps=both
case "${1:-}" in
  --build-only) steps=build; shift ;;
  --run-only) steps=run; shift ;;
esac
build="${1:-$here/build-windows}"
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
if [ "$steps" != run ]; then
  # Under Wine nobody steps through the tests: line tables keep the build and its static link small.
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DPLUMET_BUILD_UI=OFF -DCMAKE_UNITY_BUILD=ON \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target core_tests
fi
[ "$steps" != build ] || exit 0

# Debian's wine64 package keeps its programs out of PATH.
PATH="$PATH:/usr/lib/wine"
wine="$(command -v wine64 || command -v wine)"
wineserver="$(command -v wineserver64 || command -v wineserver)"
WINEPREFIX="$(mktemp -d)"
# No Mono or Gecko installer, no debug channels, no window.
export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# Making the prefix is where Wine talks most; the tests then start without it.
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w
(cd "$build" && ctest --output-on-failure -j"$(nproc)")
