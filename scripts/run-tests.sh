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

native_built=no web_built=no
if stage "native build" build native; then
  native_built=yes
  stage "sample table" bash scripts/sample-table.sh build/native
fi
# The lookup page: its module against nvcodefind (built above), the page in
# headless Chromium (ctest --preset web -L web).
stage "web build" build web && web_built=yes
# The whole-road test installs the distribution folder, demo set and page
# included. The programs under Wine mostly wait on their windows, so their
# build and tests run beside the stages that follow, up to the benchmarks.
windows_stages() {
  if stage "windows build" build windows; then
    stage "distribution" cmake --build --preset windows --target distribution
    # shellcheck disable=SC2046
    ctest_stage "windows tests" --preset windows $(wine_ctest_options)
  fi
}
stages_beside windows_stages
[ "$native_built" = yes ] && ctest_stage "native tests" --preset native -j"$jobs"
stage "sanitizer build" build sanitize && ctest_stage "sanitizer tests" --preset sanitize -j"$jobs"
[ "$web_built" = yes ] && ctest_stage "web tests" --preset web -j"$jobs"

# Each fuzz target for its share of the fuzzing time, from its starting
# corpus grown in build/fuzz/corpus; a target that fails or is missing is a
# failed test of its own. Long runs: scripts/fuzz-campaign.sh.
# One target per folder of starting inputs.
mapfile -t fuzz_targets < <(ls tests/fuzz/corpus)
fuzz() {  # target seconds
  local fuzzer=build/fuzz/tests/fuzz/navo_$1_fuzzer corpus=build/fuzz/corpus/$1
  [ "$fuzz_built" = yes ] && [ -x "$fuzzer" ] || { echo "fuzz target $1 not built"; return 1; }
  mkdir -p "$corpus" build/fuzz/findings && cp tests/fuzz/corpus/"$1"/* "$corpus"/
  # An input that takes more than 10 s is a finding (a hang), not a wait
  # of libFuzzer's default 20 minutes.
  "$fuzzer" -max_total_time="$2" -timeout=10 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/findings/"$1"- "$corpus" 2>&1 | tail -n 12
  return "${PIPESTATUS[0]}"
}
fuzz_seconds=$(( (${NAVO_FUZZ_SECONDS:-60} + ${#fuzz_targets[@]} - 1) / ${#fuzz_targets[@]} ))
echo "== fuzz build"
fuzz_built=yes
build fuzz || fuzz_built=no
# What the clang build checks besides the fuzzing: the programs' texts.
if [ "$fuzz_built" = yes ]; then ctest_stage "clang tests" --preset fuzz; else count_failed "clang tests: not built"; fi
# The targets run $jobs at a time (each fuzzer is one process on one core),
# their output shown and counted in turn once each is done.
fuzz_logs=$(mktemp -d)
fuzz_kept() {  # target seconds: its output and exit status kept for fuzz_shown
  fuzz "$1" "$2" > "$fuzz_logs/$1.log" 2>&1
  echo $? > "$fuzz_logs/$1.status"
}
fuzz_shown() {  # target
  cat "$fuzz_logs/$1.log"
  return "$(cat "$fuzz_logs/$1.status" 2>/dev/null || echo 1)"
}
fuzzing=()
for target in "${fuzz_targets[@]}"; do
  fuzz_kept "$target" "$fuzz_seconds" &
  fuzzing+=($!)
  if [ ${#fuzzing[@]} -ge "$jobs" ]; then wait "${fuzzing[@]}"; fuzzing=(); fi
done
[ ${#fuzzing[@]} -eq 0 ] || wait "${fuzzing[@]}"
for target in "${fuzz_targets[@]}"; do
  stage "fuzzing $target ($fuzz_seconds s)" fuzz_shown "$target"
done
rm -rf "$fuzz_logs"

stages_join

# The figures; each fails when it cannot run (no table, no program, no page).
stage "benchmark" build/native/tests/bench/navo_lookup_benchmark --benchmark_min_time=1
# Lighthouse's scores are left to the target itself (its download and two
# runs would cost the test command a minute).
stage "page benchmark" env NAVO_PAGE_LIGHTHOUSE=off cmake --build --preset web --target page_benchmark

counts_summary
