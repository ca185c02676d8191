#!/usr/bin/env bash
# Builds the fuzz targets (clang, address and undefined-behaviour sanitizers, core only) and
# runs each for a fixed number of inputs, starting from its seeds.
#   tests/fuzz/run-fuzz.sh [RUNS] [TARGET...]     RUNS per target, default 2000; all targets by default
#   tests/fuzz/run-fuzz.sh --build-only            builds every target, runs none
# Targets run side by side, one on each processor (PLUMET_FUZZ_JOBS sets how many).
# PLUMET_FUZZ_MAX_LEN bounds the length of an input (default 4096 bytes: longer ones only slow
# each run; the readers treat every line alike).
# The corpus each run grows is kept in build-fuzz/corpus/<target>, findings go to build-fuzz/findings.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${PLUMET_FUZZ_BUILD:-$root/build-fuzz}"
build_only=0
if [ "${1:-}" = --build-only ]; then
  build_only=1
  shift
fi
runs="${1:-2000}"
shift || true

# Seeds relative to tests/: the golden files of each format, and recorded clock streams.
declare -A seeds=(
  [catalogue]="../data/club.txt ../data/club.de.txt"
  [clockstate]="data/clock/state.txt"
  [clubs]="data/clubs/club.dat data/exchange/installation/club/club.dat"
  [combined]="data/race/combined/*.cmb"
  [defaultrace]="data/race/RaceCalcDef.dat"
  [distances]="data/race/dist007.dat"
  [fancierexchange]="data/exchange/S007003.d00"
  [fanciers]="data/fanciers/f007.DAT data/exchange/installation/fancier/*.DAT"
  [firmware]="fuzz/seeds/firmware.bin"
  [handshake]="fuzz/seeds/handshake.bin"
  [loftexchange]="data/exchange/T007003.d00"
  [loftget]="fuzz/seeds/loftget.bin"
  [manualtimes]="data/race/*.man"
  [options]="fuzz/seeds/OPTIONS.PAR"
  [pigeons]="data/pigeons/*.dat data/race/p007012.dat"
  [printrelay]="fuzz/seeds/printrelay.bin"
  [racedata]="fuzz/seeds/racedata.bin"
  [racelog]="data/race/*.log"
  [races]="data/race/races.dat"
  [readout]="data/readout/* data/xmlexport/*.d0?"
  [releasepoints]="data/releasepoints/racepo.dat"
  [results]="data/race/*.flt data/export/*.flt data/season/*.flt"
  [season]="data/season/*.season"
)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && mapfile -t targets < <(printf '%s\n' "${!seeds[@]}" | sort)

# Line tables are all a finding's stack needs.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" -DPLUMET_FUZZ=ON -DPLUMET_SANITIZE=ON -DPLUMET_BUILD_UI=OFF -DCMAKE_UNITY_BUILD=ON \
  -DPLUMET_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
[ "$build_only" -eq 0 ] || exit 0

# Each target writes its inputs as files; a memory-backed folder keeps that quick.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
mkdir -p "$build/findings" "$build/logs"
status="$(mktemp -d)"
trap 'rm -rf "$status"' EXIT
fuzz() {
  local target=$1 corpus="$build/corpus/$1" start=$SECONDS pattern seed
  mkdir -p "$corpus"
  for pattern in ${seeds[$target]}; do
    for seed in "$root"/tests/$pattern; do cp -n "$seed" "$corpus/"; done
  done
  if "$build/tests/fuzz/fuzz_$target" -runs="$runs" -max_len="${PLUMET_FUZZ_MAX_LEN:-4096}" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$build/findings/$target-" "$corpus" >"$build/logs/$target.log" 2>&1; then
    echo "$target: $runs runs, no finding ($((SECONDS - start)) s)"
  else
    # One write, so that the lines of targets ending together do not mix.
    echo "$target: FINDING, see $build/logs/$target.log and $build/findings/
$(tail -n 30 "$build/logs/$target.log")" >&2
    touch "$status/$target"
  fi
}
for target in "${targets[@]}"; do
  [ -n "${seeds[$target]:-}" ] || { echo "unknown fuzz target: $target" >&2; exit 2; }
done
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "${PLUMET_FUZZ_JOBS:-$(nproc)}" ]; do wait -n || true; done
  fuzz "$target" &
done
wait
failed=("$status"/*)
[ -e "${failed[0]}" ] || exit 0
echo "fuzz findings: $(basename -a "${failed[@]}" | tr '\n' ' ')" >&2
exit 1
