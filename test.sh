#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then the core and end-to-end
# tests again under the address and undefined-behaviour sanitizers, a short fuzz pass, and the
# core tests built for Windows under Wine.
#   ./test.sh
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps.sh"
# Paths relative to the checkout, so a fresh clone elsewhere reuses the compiler cache.
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
build="$here/build-test"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

sanitize="$here/build-sanitize"
cmake -S "$here" -B "$sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLUMET_SANITIZE=ON >/dev/null
cmake --build "$sanitize" -j"$(nproc)" --target core_tests e2e_tests
# Core test names start with their suite's capital; the end-to-end programs with e2e_.
(cd "$sanitize" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -R '^(e2e_|[A-Z])')

"$here/tests/fuzz/run-fuzz.sh" 5000

"$here/scripts/windows-tests.sh"
