#!/usr/bin/env bash
# Installs what is missing, builds everything once with the address and undefined-behaviour
# sanitizers and runs every test there; then a short fuzz pass and the core tests built for
# Windows under Wine.
#   ./test.sh            every check (what CI runs)
#   ./test.sh --quick    the build and its tests only
# The Windows and fuzz programs are built beside the rest, at a lower priority: they take what
# the build leaves of the processors, and the end-to-end tests, which mostly wait on
# pseudo-terminals and the line's pace, leave much.
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
mkdir -p "$build"
side_log="$build/side-builds.log"
if [ "$quick" -eq 0 ]; then
  stage "Windows and fuzz builds started beside the rest (log: $side_log)"
  # In a session of their own, so that one kill reaches every compiler they started. Where the
  # kernel shares the processors out by session, the session itself is put at the lower priority.
  setsid bash -c '{ echo 10 >/proc/self/autogroup; } 2>/dev/null || true
                  nice -n 10 "$1/scripts/windows-tests.sh" --build-only &&
                  nice -n 10 "$1/tests/fuzz/run-fuzz.sh" --build-only' side "$here" >"$side_log" 2>&1 &
  side=$!
fi

# One build for every test: the sanitizers are on, and line tables are all their reports need.
# Unity builds parse the Qt, GoogleTest and standard headers once for several sources.
stage "build"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
  -DPLUMET_SANITIZE=ON -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build "$build" -j"$jobs"

stage "tests"
# Twice as many at once as there are processors: the end-to-end tests, started first, wait on
# the line most of their time.
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$((2 * jobs))")
if [ "$quick" -eq 1 ]; then
  stage "done"
  exit 0
fi

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
