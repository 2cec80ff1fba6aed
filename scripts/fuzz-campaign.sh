#!/usr/bin/env bash
# A long fuzzing campaign of every fuzz target, one after the other on one
# core, keeping what it finds outside the tree.
#
# Usage: scripts/fuzz-campaign.sh [MINUTES] [FOLDER] [TARGET...]
#   MINUTES  the whole campaign (default 60), shared out by the targets'
#            weights below: the fast readers get more, as they reach further
#            in the same time
#   FOLDER   where the grown corpora (FOLDER/corpus/<target>), the crash,
#            leak and timeout inputs (FOLDER/findings/) and the logs
#            (FOLDER/logs/) are kept (default /var/tmp/navo-fuzz-campaign);
#            a later campaign goes on from the corpora grown there
#   TARGET   only these targets (default all), sharing the time by weight
#
# Builds the fuzz preset first. Each target runs with -jobs=1 (one worker);
# after a finding it goes on for the rest of its time (at most 3 findings a
# target). Prints each target's executions and findings and the totals;
# exits 1 when anything was found or a target did not run.
set -uo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-60}
folder=$(realpath -m "${2:-/var/tmp/navo-fuzz-campaign}")
case "$folder/" in
  "$PWD"/*) echo "fuzz-campaign: keep the folder outside the tree: $folder" >&2; exit 2 ;;
esac
all_targets=(lookup text_table rime_dictionary fcitx5_table table_examine table_properties)
all_weights=(3 3 3 3 1 1)
wanted=" ${*:3} "
targets=() weights=()
for i in "${!all_targets[@]}"; do
  if [ $# -le 2 ] || [[ $wanted == *" ${all_targets[$i]} "* ]]; then
    targets+=("${all_targets[$i]}") weights+=("${all_weights[$i]}")
  fi
done
[ $((${#targets[@]} + 2)) -ge $# ] || { echo "fuzz-campaign: unknown target in: ${*:3}" >&2; exit 2; }
max_findings=3

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j2 || exit 1
mkdir -p "$folder/findings" "$folder/logs" || exit 1
echo "fuzz-campaign: $minutes min in all; corpora, findings and logs in $folder"

weight_sum=0
for w in "${weights[@]}"; do weight_sum=$((weight_sum + w)); done

total_runs=0 total_findings=0 broken=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  fuzzer=$PWD/build/fuzz/tests/fuzz/navo_${target}_fuzzer
  corpus=$folder/corpus/$target
  mkdir -p "$corpus" && cp -n tests/fuzz/corpus/"$target"/* "$corpus"/
  seconds=$((minutes * 60 * weights[i] / weight_sum))
  end=$((SECONDS + seconds))
  runs=0 findings=0 pass=0
  while [ $((end - SECONDS)) -gt 0 ] && [ "$findings" -lt "$max_findings" ]; do
    pass=$((pass + 1))
    log=$folder/logs/$target-$(date +%Y%m%d-%H%M%S)-$pass.log
    # -jobs=1 writes the worker's output to fuzz-0.log in the current folder.
    (cd "$folder/logs" && "$fuzzer" -jobs=1 -workers=1 -max_total_time=$((end - SECONDS)) \
       -print_final_stats=1 -artifact_prefix="$folder/findings/$target-" "$corpus" \
       >/dev/null 2>&1)
    status=$?
    mv "$folder/logs/fuzz-0.log" "$log" 2>/dev/null || { broken=1; echo "$target: no log"; break; }
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ -z "$executed" ]; then  # a crash ends the run before its final stats
      executed=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
    fi
    runs=$((runs + ${executed:-0}))
    if [ "$status" -ne 0 ]; then
      findings=$((findings + 1))
      echo "$target: finding, see $log:"
      grep -E 'ERROR|SUMMARY|artifact|^(text table|rime|table)' "$log" | head -n 6 | sed 's/^/  /'
    fi
  done
  [ "$pass" -gt 0 ] || broken=1
  echo "$target: $runs executions in $seconds s, $findings findings, corpus $(ls "$corpus" | wc -l) inputs"
  total_runs=$((total_runs + runs))
  total_findings=$((total_findings + findings))
done

echo "fuzz-campaign: $total_runs executions, $total_findings findings; kept in $folder"
[ "$total_findings" -eq 0 ] && [ "$broken" -eq 0 ]
