#!/usr/bin/env bash
# navomb's roads to and from the engines' text formats, without the engines:
# Rime's import_tables followed (in order, not those of an imported table,
# a missing table, a cycle), no table built without candidates, a table exported to Rime and to
# fcitx5 and built again byte for byte the same, and the cross-check tables
# carried through both formats.
#
# Usage: engine_formats_test.sh NAVOMB NVCODEFIND CROSSCHECK_DIR
set -u
navomb=$1 nvcodefind=$2 crosscheck=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../support/checks.sh"

dictionary() {  # NAME "IMPORT..." ENTRY-LINES: writes $work/NAME.dict.yaml
  {
    printf -- '---\nname: %s\nversion: "1"\nimport_tables:\n' "$1"
    for name in $2; do printf '  - %s\n' "$name"; done
    printf '...\n%s' "$3"
  } > "$work/$1.dict.yaml"
}

# Three levels: top's own entries, then mid's, then side's; mid's own
# import is not read, as Rime reads only the dictionary's own imports.
dictionary top "mid side" $'工\taaaa\n'
dictionary mid "low" $'式\taad\n'
dictionary low "" $'工人\taaww\n'
dictionary side "" $'节\taab\n'
printf '工\taaaa\n式\taad\n节\taab\n' > "$work/merged.txt"
"$navomb" build "$work/merged.txt" "$work/merged.mb" 2>/dev/null
out=$("$navomb" build --from rime "$work/top.dict.yaml" "$work/top.mb" 2>&1 >/dev/null)
expect "three levels status" 0 $?
cmp -s "$work/merged.mb" "$work/top.mb"
expect "three levels in Rime's order" 0 $?
expect "an import's own imports named as not read" \
  "$work/mid.dict.yaml:5: warning: import_tables: low not read: Rime reads only the dictionary's own imports" \
  "$(grep -v '^navomb:' <<< "$out")"

dictionary lost "low nowhere" $'工\taaaa\n'
out=$("$navomb" build --from rime "$work/lost.dict.yaml" "$work/lost.mb" 2>&1)
expect "missing table status" 1 $?
expect "missing table named" "$work/lost.dict.yaml:6: import_tables: no table nowhere ($work/nowhere.dict.yaml)
navomb: $work/lost.mb not built" "$out"
[ ! -e "$work/lost.mb" ]
expect "missing table writes nothing" 0 $?

# Its own name is passed over, as Rime passes it over; the same file under
# another name is a cycle.
dictionary ring1 "ring1 ring2" $'工\taaaa\n'
ln -s ring1.dict.yaml "$work/ring2.dict.yaml"
out=$("$navomb" build --from rime "$work/ring1.dict.yaml" "$work/ring.mb" 2>&1)
expect "cycle status" 1 $?
expect "cycle named" "$work/ring1.dict.yaml:6: import_tables: ring2 imports itself ($work/ring2.dict.yaml is already being read)
navomb: $work/ring.mb not built" "$out"

# Nothing to build: a dictionary of imports that hold no entry, a text
# table of comments, a table whose every entry is skipped.
dictionary hollow "emptied" ""
dictionary emptied "" ""
printf '# nothing\n' > "$work/comments.txt"
printf '\xf0\xa0\x80\x80\tab\n' > "$work/unencodable.txt"
for source in "rime hollow.dict.yaml" "text comments.txt" "text unencodable.txt --skip-unencodable"; do
  set -- $source
  out=$("$navomb" build --from "$1" ${3:-} "$work/$2" "$work/none.mb" 2>&1)
  expect "no candidate from $2: status" 1 $?
  check "no candidate from $2" matches "$out" "*no candidate at all*navomb: $work/none.mb not built"
  [ ! -e "$work/none.mb" ]
  expect "no candidate from $2 writes nothing" 0 $?
done

# A small table with an explicit, an empty and a candidate-less word-making code.
printf '工\taaaa\n工\ta\n式\taad\n工人\taaww\n童\tujff\n@中\tkh\n国\tlgyi\n中\tkhk\n中国\tkhlg\n@人\t\n人\tw\n@乙\tnn\n' \
  > "$work/small.txt"
"$navomb" build "$work/small.txt" "$work/small.mb" 2>/dev/null
"$navomb" export --to fcitx5 "$work/small.mb" "$work/small-fcitx5.txt" 2>/dev/null
expect "fcitx5 export status" 0 $?
# Word-making codes in GBK order (工 B9A4, 国 B9FA, 式 CABD, 童 CDAF, 乙 D2D2,
# 中 D6D0; 人 has none), then blocks a..z and aa..zz, each in file order.
expect "fcitx5 text" "KeyCode=abcdefghijklmnopqrstuvwxyz
Length=7
ConstructPhrase=^
[Rule]
e2=p11+p12+p13+p21+p22+p23
e3=p11+p21+p31+p32+p33
a4=p11+p21+p31+n11
[Data]
^aa 工
^lg 国
^aa 式
^uj 童
^nn 乙
^kh 中
a 工
w 人
aaaa 工
aad 式
aaww 工人
khk 中
khlg 中国
lgyi 国
ujff 童" "$(cat "$work/small-fcitx5.txt")"
# As fcitx5's own table files: a readable name, the table's order and only
# the typed code's entries, hints, pinyin after the grave accent, -/= pages.
expect "fcitx5 input method file" "# fcitx5 input method small-fcitx5, written by navomb.
[InputMethod]
Name=Navo 码表（small-fcitx5）
Icon=fcitx-table
Label=small-fcitx5
LangCode=zh_CN
Addon=table
Configurable=True

[Table]
File=table/small-fcitx5.main.dict
OrderPolicy=No
ExactMatch=True
Hint=True
PinyinKey=grave

[Table/PrevPage]
0=Up
1=minus

[Table/NextPage]
0=Down
1=equal" "$(cat "$work/small-fcitx5.conf")"
# Names: the output file's up to its first dot, or --name; with --hints the
# longer codes' entries too.
mkdir -p "$work/names"
while read -r options output conf name exact; do
  rm -f "$work/names"/*
  [ "$options" = - ] && options=
  "$navomb" export --to fcitx5 ${options//,/ } "$work/small.mb" "$work/names/$output" 2>/dev/null
  expect "fcitx5 export $options $output: status and files" \
    "0 $(printf '%s\n' "$output" "$conf" | sort | paste -sd' ')" "$? $(ls "$work/names" | paste -sd' ')"
  expect "fcitx5 export $options $output: the input method file" \
    "Name=Navo 码表（$name） File=table/$name.main.dict ExactMatch=$exact" \
    "$(grep -E '^(Name|File|ExactMatch)=' "$work/names/$conf" 2>&1 | tr '\n' ' ' | sed 's/ $//')"
done <<'CASES'
- cj.libime.txt cj.conf cj True
- cj.txt cj.conf cj True
--name,mine cj.libime.txt mine.conf mine True
--hints x.y.z x.conf x False
--hints,--name,wb wb.txt wb.conf wb False
CASES
"$navomb" export --to rime "$work/small.mb" "$work/rime" 2>/dev/null
expect "rime export status" 0 $?
expect "rime entries with stems on each character's first entry" "工	a	aa
人	w
工	aaaa
式	aad	aa
工人	aaww
中	khk	kh
中国	khlg
国	lgyi	lg
童	ujff	uj" "$(sed '1,/^\.\.\.$/d;/^$/d' "$work/rime/small.dict.yaml")"
grep -q '^sort: original$' "$work/rime/small.dict.yaml"
expect "rime keeps the order" 0 $?

round_trip() {  # TABLE.mb: exported to both formats and built again, byte for byte
  local table=$1 name
  name=$(basename "$1" .mb)
  "$navomb" export --to rime "$table" "$work/rt" 2>/dev/null &&
    "$navomb" build --from rime "$work/rt/$name.dict.yaml" "$work/rt/$name-rime.mb" 2>/dev/null
  expect "$name: rime round trip status" 0 $?
  "$navomb" export --to fcitx5 "$table" "$work/rt/$name.txt" 2>/dev/null &&
    "$navomb" build --from fcitx5 "$work/rt/$name.txt" "$work/rt/$name-fcitx5.mb" 2>/dev/null
  expect "$name: fcitx5 round trip status" 0 $?
}
round_trip "$work/small.mb"
cmp -s "$work/small.mb" "$work/rt/small-rime.mb"
expect "rime round trip byte for byte" 0 $?
cmp -s "$work/small.mb" "$work/rt/small-fcitx5.mb"
expect "fcitx5 round trip byte for byte" 0 $?

out=$("$navomb" export --to rime "$work/nowhere.mb" "$work/x" 2>&1)
expect "export of a missing table" "1 navomb: cannot read $work/nowhere.mb" "$? $out"
head -c $(($(stat -c %s "$work/small.mb") - 3)) "$work/small.mb" > "$work/cut.mb"
out=$("$navomb" export --to fcitx5 "$work/cut.mb" "$work/cut.txt" 2>&1)
expect "export of a damaged table" "1 navomb: $work/cut.mb is damaged (navomb check names where); not exported" "$? $out"
cp "$work/small.mb" "$work/my.table.mb"
"$navomb" export --to rime "$work/my.table.mb" "$work/x" 2>/dev/null
expect "export under a name the engines refuse" 1 $?
"$navomb" export --to fcitx5 "$work/small.mb" "$work/x/.txt" 2>/dev/null
expect "fcitx5 export to a file name without a name" 1 $?
"$navomb" export --to rime --name 'my table' "$work/small.mb" "$work/x" 2>/dev/null
expect "export under a --name the engines refuse" 1 $?
# Rime: --name names the schema and its dictionary; --hints turns completion on.
"$navomb" export --to rime --name mine --hints "$work/my.table.mb" "$work/named" 2>/dev/null
expect "rime export --name mine --hints" \
  "0 mine.dict.yaml mine.schema.yaml|  schema_id: mine|  dictionary: mine|  enable_completion: true" \
  "$? $(ls "$work/named" | tr '\n' ' ' | sed 's/ $//')|$(grep -E '^  (schema_id|dictionary: mine|enable_completion)' "$work/named/mine.schema.yaml" | paste -sd'|')"
expect "rime export without --hints: no completion" "  enable_completion: false" \
  "$(grep '^  enable_completion' "$work/rime/small.schema.yaml")"

# The cross-check tables, whose texts include byte pairs and lone bytes that
# are no GBK character: exported through both formats they come back as the
# same table, and once more the same again. Beside the original, the
# lookups may differ only where the navo.mb layout holds what no table text
# can say: blocks without a candidate, codes longer than one letter in a
# one-letter block. t00_tiny, checked by hand, has one such: CDB1's prefix
# "ae" names an empty block, so its lookup succeeds with no code, and in the
# table built again, which has no block "ae", it beeps.
python3 "$here/../crosscheck/make_tables.py" "$crosscheck" >/dev/null &&
  python3 "$here/../crosscheck/reference_reader.py" allhex > "$work/allhex.txt"
exported=0
for table in "$crosscheck"/t*.mb; do
  name=$(basename "$table" .mb)
  "$navomb" export --to rime "$table" "$work/cc" 2>/dev/null || continue
  exported=$((exported + 1))
  round_trip "$table"
  cmp -s "$work/rt/$name-rime.mb" "$work/rt/$name-fcitx5.mb"
  expect "$name: both formats give the same table" 0 $?
  cp "$work/rt/$name-rime.mb" "$work/again.mb"
  round_trip "$work/again.mb"
  cmp -s "$work/again.mb" "$work/rt/again-rime.mb"
  expect "$name: the table built again round trips byte for byte" 0 $?
done
# t03 (empty texts) and the damaged tables are refused.
expect "cross-check tables exported" 5 "$exported"
# Every value looked up in the original and in the table carried through
# fcitx5: where they differ, the original found an empty block (ok, no
# code) and the table built again has none (a beep), or, in t04 only,
# the original's one-letter block "t" held codes longer than "t", which
# come back in their two-letter blocks (still ok, fewer codes).
for name in t00_tiny t01_general t02_big_blocks t04_sample_one_letter t09_cut_record; do
  "$nvcodefind" --table "$crosscheck/$name.mb" --batch < "$work/allhex.txt" > "$work/before" 2>/dev/null
  "$navomb" export --to fcitx5 "$crosscheck/$name.mb" "$work/$name.txt" 2>/dev/null
  "$navomb" build --from fcitx5 "$work/$name.txt" "$work/$name.mb" 2>/dev/null
  "$nvcodefind" --table "$work/$name.mb" --batch < "$work/allhex.txt" > "$work/after" 2>/dev/null
  expect "$name: 24192 values looked up" "24192 24192" "$(wc -l < "$work/before") $(wc -l < "$work/after")"
  unexplained=$(paste "$work/before" "$work/after" | awk -F'\t' -v name="$name" '
    $1 != $5 { print "misaligned " $1; exit }
    $2 == $6 && $3 == $7 && $4 == $8 { next }
    $2 == "ok" && $3 == "" && $4 == "" && $6 == "fail" && $7 == "" && $8 == "beep" { next }
    name == "t04_sample_one_letter" && $2 == "ok" && $6 == "ok" && $4 == $8 { next }
    { print }' | head -n 5)
  expect "$name: every differing lookup explained" "" "$unexplained"
done
"$nvcodefind" --table "$crosscheck/t00_tiny.mb" --batch < "$work/allhex.txt" > "$work/before" 2>/dev/null
"$nvcodefind" --table "$work/t00_tiny.mb" --batch < "$work/allhex.txt" > "$work/after" 2>/dev/null
expect "t00_tiny: lookups of all 24192 values" "< CDB1	ok		
---
> CDB1	fail		beep" "$(diff "$work/before" "$work/after" | sed 1d)"

checks_summary
