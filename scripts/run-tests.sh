#!/usr/bin/env bash
# Every test: unit and tool tests natively and under the sanitizers, the
# cross-check against an independent reader, the Windows build with its
# tests under Wine, a bounded fuzzing run, and the benchmark figures.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1
jobs=$(nproc)
. scripts/test-counts.sh

# The programs under Wine run two at a time where 32-bit Wine runs natively
# (each end-to-end test has its own Xvfb and prefix), one at a time under
# qemu-i386 (slow and timing-sensitive); a test that fails is run once more,
# and one that passes only then is named in the summary.
wine_ctest_options() {
  local wine_jobs=2
  (. tests/wine/winelib.sh && wine_arch_emulated win32) && wine_jobs=1
  echo "-j$wine_jobs --repeat until-pass:2"
}

build() {  # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs"
}

if stage "native build" build native; then
  stage "sample table" bash scripts/sample-table.sh build/native
  ctest_stage "native tests" --preset native -j"$jobs"
fi
stage "sanitizer build" build sanitize && ctest_stage "sanitizer tests" --preset sanitize -j"$jobs"
# The lookup page: its module against nvcodefind (built above), the page in
# headless Chromium (ctest --preset web -L web).
stage "web build" build web && ctest_stage "web tests" --preset web -j"$jobs"
# The whole-road test installs the distribution folder, demo set included.
if stage "windows build" build windows; then
  stage "distribution" cmake --build --preset windows --target distribution
  # shellcheck disable=SC2046
  ctest_stage "windows tests" --preset windows $(wine_ctest_options)
fi

fuzz() {
  build fuzz || return 1
  local corpus=build/fuzz/corpus
  mkdir -p "$corpus" && cp tests/fuzz/corpus/* "$corpus"/
  build/fuzz/tests/fuzz/navo_lookup_fuzzer -max_total_time="${NAVO_FUZZ_SECONDS:-60}" \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
  return "${PIPESTATUS[0]}"
}
stage "fuzzing (${NAVO_FUZZ_SECONDS:-60} s)" fuzz

# The figures; each fails when it cannot run (no table, no program, no page).
stage "benchmark" build/native/tests/bench/navo_lookup_benchmark --benchmark_min_time=1
stage "page benchmark" cmake --build --preset web --target page_benchmark

counts_summary
