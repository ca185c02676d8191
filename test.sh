#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then the core and end-to-end
# tests again under the address and undefined-behaviour sanitizers, a short fuzz pass, and the
# core tests built for Windows under Wine.
#   ./test.sh            every check (what CI runs)
#   ./test.sh --quick    the normal build and its tests only
# The Windows and fuzz programs are built beside the test runs, at a lower priority: those runs
# mostly wait on pseudo-terminals and the line's pace, and would leave the processors idle.
set -euo pipefail
quick=0
case "${1:-}" in
  "") ;;
  --quick) quick=1 ;;
  *) echo "usage: ./test.sh [--quick]" >&2; exit 2 ;;
esac
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/install-deps.sh"
# Paths relative to the checkout, so a fresh clone elsewhere reuses the compiler cache.
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
jobs="$(nproc)"
started=$SECONDS
times_file="$(mktemp)"
side="" # the side builds, stopped with all their compilers when a test stage fails
cleanup() {
  [ -z "$side" ] || kill -- -"$side" 2>/dev/null || true
  rm -f "$times_file"
}
trap cleanup EXIT
# Each stage says when it starts, and the processor time (user, system) of the steps ended so far:
# `CCACHE_DISABLE=1 ./test.sh` in a fresh clone gives the cold figures stage by stage.
stage() {
  times >"$times_file"
  echo "== $1 (after $((SECONDS - started)) s; CPU so far: $(tail -n1 "$times_file"))"
}

build="$here/build-test"
stage "normal build"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j"$jobs"

side_log="$build/side-builds.log"
if [ "$quick" -eq 0 ]; then
  stage "Windows and fuzz builds started beside the tests (log: $side_log)"
  # In a session of their own, so that one kill reaches every compiler they started.
  setsid bash -c 'nice -n 10 "$1/scripts/windows-tests.sh" --build-only &&
                  nice -n 10 "$1/tests/fuzz/run-fuzz.sh" --build-only' side "$here" >"$side_log" 2>&1 &
  side=$!
fi

stage "normal tests"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")
if [ "$quick" -eq 1 ]; then
  stage "done"
  exit 0
fi

# Line tables are all a sanitizer's report needs; full debug information only costs time here.
sanitize="$here/build-sanitize"
stage "sanitizer build"
cmake -S "$here" -B "$sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DPLUMET_SANITIZE=ON >/dev/null
cmake --build "$sanitize" -j"$jobs" --target core_tests e2e_tests
stage "sanitizer tests"
# Core test names start with their suite's capital; the end-to-end programs with e2e_.
(cd "$sanitize" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" -R '^(e2e_|[A-Z])')

stage "waiting for the Windows and fuzz builds"
if ! wait "$side"; then
  cat "$side_log" >&2
  exit 1
fi
side=""

stage "fuzz pass"
"$here/tests/fuzz/run-fuzz.sh" 5000

stage "core tests under Wine"
"$here/scripts/windows-tests.sh" --run-only
stage "done"
