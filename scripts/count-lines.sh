#!/usr/bin/env bash
# Non-blank lines of the code and of its tests. Benchmarks and fuzz targets are neither, and
# golden files are data: each is counted apart.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$@" \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$'; }
code=$(count src tools)
tests=$(count tests -path tests/bench -prune -o -path tests/fuzz -prune -o -path tests/data -prune -o)
bench=$(count tests/bench)
fuzz=$(count tests/fuzz)
echo "code (src/, tools/):             $code"
echo "tests (tests/ but bench/, fuzz/): $tests ($((100 * tests / code)) % of the code)"
echo "benchmarks (tests/bench/):        $bench"
echo "fuzz targets (tests/fuzz/):       $fuzz"
