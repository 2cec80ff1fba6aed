#!/usr/bin/env bash
# The lookup module in node against `nvcodefind --batch` for all 24,192
# double-byte values and for the words of each table's blocks (with a few
# byte strings that are no word), on every table the cross-check writes
# (damaged and cut-short ones included), on a path that does not exist and
# on the tables named after OUTDIR: codes, word codes, reports and message
# texts line for line, and the reports of opening the same. And every code
# of a few hundred of each table's texts (those of its one- and two-letter
# codes first) as `nvcodefind --all --batch` gives it, and the pane's line of
# each of its characters: the window's codes, then "(简码 ...)" with the codes
# of `--all` that they do not hold.
# With --part K/N, only that part of the checks (tests/support/parts.sh).
# Usage: module_agrees_test.sh [--part K/N] MODULE.wasm NVCODEFIND OUTDIR [TABLE...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tests/support/parts.sh"
parts_take_option "$@" || exit 2
shift "$parts_shift"
module=$1 nvcodefind=$2 out=$3
shift 3
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

# every_agrees TABLE NAME: the module's every code and pane lines on TABLE
# are what nvcodefind's lines make of them; otherwise says how they differ.
every_agrees() {
  local table=$1 name=$2
  python3 "$crosscheck/reference_reader.py" textlist "$table" 200 20 > "$out/$name.texts" ||
    { echo "    the reference reader failed"; return 1; }
  awk 'length($0) == 4' "$out/$name.texts" > "$out/$name.characters"
  "$nvcodefind" --table "$table" --all --batch < "$out/$name.texts" > "$out/$name.every.tool" 2>&1
  "$nvcodefind" --table "$table" --batch < "$out/$name.characters" > "$out/$name.window.tool" \
    2>/dev/null
  node "$here/batch_lines.js" --all "$module" "$table" < "$out/$name.texts" \
    > "$out/$name.every.module" 2>&1 || { echo "    node failed"; return 1; }
  # (its reports of opening are compared with --all's)
  node "$here/batch_lines.js" --pane "$module" "$table" < "$out/$name.characters" \
    > "$out/$name.pane.module" 2>/dev/null || { echo "    node failed"; return 1; }
  # The window's codes, then those of every code they do not hold.
  awk -F'\t' 'FNR == NR { every[$1] = $2 == "ok" ? $3 : ""; next }
    {
      if ($2 != "ok") { print $1 "\t"; next }
      codes = every[$1]; sub(/  …$/, "", codes)
      n = split(codes, all, "  "); held = "  " $3 "  "; left = ""
      for (i = 1; i <= n; i++)
        if (all[i] != "" && index(held, "  " all[i] "  ") == 0)
          left = left (left == "" ? "" : "  ") all[i]
      line = $3
      if (left != "") line = line (line == "" ? "" : "  ") "(简码 " left ")"
      print $1 "\t" line
    }' "$out/$name.every.tool" "$out/$name.window.tool" > "$out/$name.pane.tool"
  if diff "$out/$name.every.tool" "$out/$name.every.module" > "$out/$name.every.diff" &&
     diff "$out/$name.pane.tool" "$out/$name.pane.module" >> "$out/$name.every.diff"; then
    echo "    $(wc -l < "$out/$name.texts") texts, $(grep -c '简码' "$out/$name.pane.module") lines with codes left out"
    return 0
  fi
  echo "    $(grep -c '^[<>]' "$out/$name.every.diff") differing lines (tool <, module >)"
  indented "$(head -4 "$out/$name.every.diff")"
  return 1
}

all_words=0
for table in "$out"/*.mb "$out/no-such-dir/navo.mb" "$@"; do
  name=$(basename "$(dirname "$table")")-$(basename "$table" .mb)
  in_part && check "$name: the module's lines are the tool's" agrees "$table" "$name"
  in_part && check "$name: its every code and pane lines are the tool's" every_agrees "$table" "$name"
done
check "this part's tables' words were compared ($all_words)" [ "$all_words" -gt 0 ]
checks_summary
