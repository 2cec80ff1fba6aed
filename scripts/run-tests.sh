#!/usr/bin/env bash
# Every test: unit and tool tests natively and under the sanitizers, the
# cross-check against an independent reader, the Windows build with its
# tests under Wine, a bounded fuzzing run, and the benchmark figures.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1
jobs=$(nproc)
total_passed=0 total_failed=0
failed_stages=()

# Runs ctest for a preset and adds its counts to the totals.
run_ctest() {
  local preset=$1 log options=(-j"$jobs")
  # The programs under Wine run two at a time where 32-bit Wine runs natively
  # (each end-to-end test has its own Xvfb and prefix), one at a time under
  # qemu-i386 (slow and timing-sensitive); a test that fails is run once more.
  if [ "$preset" = windows ]; then
    local wine_jobs=2
    (. tests/wine/winelib.sh && wine_arch_emulated win32) && wine_jobs=1
    options=(-j"$wine_jobs" --repeat until-pass:2)
  fi
  log=$(mktemp)
  ctest --preset "$preset" "${options[@]}" 2>&1 | tee "$log"
  local summary failed total
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  rm -f "$log"
  if [ -z "$summary" ]; then
    total_failed=$((total_failed + 1)); failed_stages+=("$preset: no test ran")
    return
  fi
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  total_passed=$((total_passed + total - failed))
  total_failed=$((total_failed + failed))
  [ "$failed" -eq 0 ] || failed_stages+=("$preset")
}

stage() {  # name command...: a step whose failure counts as one failed test
  local name=$1; shift
  echo "== $name"
  if "$@"; then
    total_passed=$((total_passed + 1))
  else
    total_failed=$((total_failed + 1)); failed_stages+=("$name")
  fi
}

build() {  # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs"
}

stage "native build" build native && {
  bash scripts/sample-table.sh build/native || failed_stages+=("sample table")
  run_ctest native
}
stage "sanitizer build" build sanitize && run_ctest sanitize
# The lookup page: its module against nvcodefind (built above), the page in
# headless Chromium (ctest --preset web -L web).
stage "web build" build web && run_ctest web
# The whole-road test installs the distribution folder, demo set included.
stage "windows build" build windows && {
  cmake --build --preset windows --target distribution || failed_stages+=("distribution")
  run_ctest windows
}

fuzz() {
  build fuzz || return 1
  local corpus=build/fuzz/corpus
  mkdir -p "$corpus" && cp tests/fuzz/corpus/* "$corpus"/
  build/fuzz/tests/fuzz/navo_lookup_fuzzer -max_total_time="${NAVO_FUZZ_SECONDS:-60}" \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
  return "${PIPESTATUS[0]}"
}
stage "fuzzing (${NAVO_FUZZ_SECONDS:-60} s)" fuzz

benchmark() {
  build/native/tests/bench/navo_lookup_benchmark --benchmark_min_time=1
}
[ -x build/native/tests/bench/navo_lookup_benchmark ] && stage "benchmark" benchmark
page_benchmark() {
  cmake --build --preset web --target page_benchmark
}
[ -f build/web/page/navo-lookup.html ] && stage "page benchmark" page_benchmark

echo
[ ${#failed_stages[@]} -eq 0 ] || echo "failed: ${failed_stages[*]}"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ] && [ ${#failed_stages[@]} -eq 0 ]
