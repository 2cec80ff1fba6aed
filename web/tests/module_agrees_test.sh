#!/usr/bin/env bash
# The lookup module in node against `nvcodefind --batch` for all 24,192
# double-byte values and for the words of each table's blocks (with a few
# byte strings that are no word), on every table the cross-check writes
# (damaged and cut-short ones included), on a path that does not exist and
# on the tables named after OUTDIR: codes, word codes, reports and message
# texts line for line, and the reports of opening the same.
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
# A word under more codes than the core lists (中国: 41 of seven letters) and
# one under exactly as many as fit (国中: 40), in a table of their own.
python3 - "$crosscheck" "$out/word-codes-cut.mb" <<'TABLE' || exit 2
import sys
sys.path.insert(0, sys.argv[1])
from make_tables import Table
from table_layout import RECORD_ARRAY_SIZE
zhong, guo = b"\xd6\xd0", b"\xb9\xfa"
t = Table()
for ch, code in ((zhong, b"kh"), (guo, b"lg")):
    array = t.alloc(RECORD_ARRAY_SIZE)
    t.write_array(array, {(ch[0], ch[1]): code}, ch[0])
    t.set_lead(ch[0], array)
suffixes = [b"lgx" + bytes([97 + i // 26, 97 + i % 26]) for i in range(41)]
t.add_pair_block(b"kh", [(zhong + guo, s) for s in suffixes])
t.add_pair_block(b"lg", [(guo + zhong, s) for s in suffixes[:40]])
open(sys.argv[2], "wb").write(t.bytes())
TABLE
# 工A, 工童A, ASCII, five characters, a NUL inside, a trail byte below 0x40.
printf '%s\n' B9A441 B9A4CDAF41 4142434445464748 B9A4B9A4B9A4B9A4B9A4 B9A400CDAF 813F8140 \
  > "$out/nowords.txt"

# agrees TABLE NAME: the module's lines and opening reports on TABLE, for every
# double-byte value, the byte strings that are no word and the table's own
# words, are the tool's; otherwise says how they differ.
agrees() {
  local table=$1 name=$2 words
  : > "$out/$name.words"
  if [ -f "$table" ]; then
    python3 "$crosscheck/reference_reader.py" words "$table" > "$out/$name.words" ||
      { echo "    the reference reader failed"; return 1; }
  fi
  words=$(wc -l < "$out/$name.words")
  all_words=$((all_words + words))
  cat "$out/allhex.txt" "$out/nowords.txt" "$out/$name.words" > "$out/$name.in"
  "$nvcodefind" --table "$table" --batch < "$out/$name.in" > "$out/$name.tool.out" \
    2> "$out/$name.tool.err"
  [ $? -le 1 ] || { echo "    nvcodefind failed"; return 1; }
  node "$here/batch_lines.js" "$module" "$table" < "$out/$name.in" > "$out/$name.module.out" \
    2> "$out/$name.module.err" || { echo "    node failed"; indented "$(cat "$out/$name.module.err")"
                                    return 1; }
  # The tool prints its opening reports as "box:TEXT/CAPTION" lines too.
  if diff "$out/$name.tool.out" "$out/$name.module.out" > "$out/$name.diff" &&
     diff "$out/$name.tool.err" "$out/$name.module.err" >> "$out/$name.diff"; then
    echo "    $(wc -l < "$out/$name.module.out") lines, $words of them the table's words"
    return 0
  fi
  echo "    $(grep -c '^[<>]' "$out/$name.diff") differing lines (tool <, module >)"
  indented "$(head -4 "$out/$name.diff")"
  return 1
}

all_words=0
for table in "$out"/*.mb "$out/no-such-dir/navo.mb" "$@"; do
  name=$(basename "$(dirname "$table")")-$(basename "$table" .mb)
  check "$name: the module's lines are the tool's" agrees "$table" "$name"
done
check "the tables' words were compared ($all_words)" [ "$all_words" -gt 0 ]
checks_summary
