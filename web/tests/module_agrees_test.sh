#!/usr/bin/env bash
# The lookup module in node against `nvcodefind --batch` for all 24,192
# double-byte values, on every table the cross-check writes (damaged and
# cut-short ones included), on a path that does not exist and on the tables
# named after OUTDIR: codes, reports and message texts line for line, and
# the reports of opening the same.
# Usage: module_agrees_test.sh MODULE.wasm NVCODEFIND OUTDIR [TABLE...]
set -u
module=$1 nvcodefind=$2 out=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
crosscheck=$here/../../tests/crosscheck
. "$here/../../tests/support/checks.sh"
mkdir -p "$out"
python3 "$crosscheck/make_tables.py" "$out" || exit 2
python3 "$crosscheck/reference_reader.py" allhex > "$out/allhex.txt" || exit 2
[ "$(wc -l < "$out/allhex.txt")" -eq 24192 ] || { echo "allhex is not 24192 values"; exit 2; }

# agrees TABLE NAME: the module's lines and opening reports on TABLE are the
# tool's; otherwise says how they differ.
agrees() {
  local table=$1 name=$2
  "$nvcodefind" --table "$table" --batch < "$out/allhex.txt" > "$out/$name.tool.out" \
    2> "$out/$name.tool.err"
  [ $? -le 1 ] || { echo "    nvcodefind failed"; return 1; }
  node "$here/batch_lines.js" "$module" "$table" < "$out/allhex.txt" > "$out/$name.module.out" \
    2> "$out/$name.module.err" || { echo "    node failed"; indented "$(cat "$out/$name.module.err")"
                                    return 1; }
  # The tool prints its opening reports as "box:TEXT/CAPTION" lines too.
  if diff "$out/$name.tool.out" "$out/$name.module.out" > "$out/$name.diff" &&
     diff "$out/$name.tool.err" "$out/$name.module.err" >> "$out/$name.diff"; then
    echo "    $(wc -l < "$out/$name.module.out") lines"
    return 0
  fi
  echo "    $(grep -c '^[<>]' "$out/$name.diff") differing lines (tool <, module >)"
  indented "$(head -4 "$out/$name.diff")"
  return 1
}

for table in "$out"/*.mb "$out/no-such-dir/navo.mb" "$@"; do
  name=$(basename "$(dirname "$table")")-$(basename "$table" .mb)
  check "$name: the module's lines are the tool's" agrees "$table" "$name"
done
checks_summary
