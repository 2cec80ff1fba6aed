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
# The whole-road test installs the distribution folder, demo set included.
stage "windows build" build windows && {
  cmake --build --preset windows --target distribution || failed_stages+=("distribution")
  run_ctest windows
}

# Each fuzz target for its share of the fuzzing time, from its starting
# corpus grown in build/fuzz/corpus; a target that fails or is missing is a
# failed test of its own. Long runs: scripts/fuzz-campaign.sh.
fuzz_targets=(lookup text_table rime_dictionary table_examine table_properties)
fuzz() {  # target seconds
  local fuzzer=build/fuzz/tests/fuzz/navo_$1_fuzzer corpus=build/fuzz/corpus/$1
  [ "$fuzz_built" = yes ] && [ -x "$fuzzer" ] || { echo "fuzz target $1 not built"; return 1; }
  mkdir -p "$corpus" build/fuzz/findings && cp tests/fuzz/corpus/"$1"/* "$corpus"/
  "$fuzzer" -max_total_time="$2" -print_final_stats=1 \
    -artifact_prefix=build/fuzz/findings/"$1"- "$corpus" 2>&1 | tail -n 12
  return "${PIPESTATUS[0]}"
}
fuzz_seconds=$(( (${NAVO_FUZZ_SECONDS:-60} + ${#fuzz_targets[@]} - 1) / ${#fuzz_targets[@]} ))
echo "== fuzz build"
fuzz_built=yes
build fuzz || fuzz_built=no
for target in "${fuzz_targets[@]}"; do
  stage "fuzzing $target ($fuzz_seconds s)" fuzz "$target" "$fuzz_seconds"
done

benchmark() {
  build/native/tests/bench/navo_lookup_benchmark --benchmark_min_time=1
}
[ -x build/native/tests/bench/navo_lookup_benchmark ] && stage "benchmark" benchmark

echo
[ ${#failed_stages[@]} -eq 0 ] || echo "failed: ${failed_stages[*]}"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ] && [ ${#failed_stages[@]} -eq 0 ]
