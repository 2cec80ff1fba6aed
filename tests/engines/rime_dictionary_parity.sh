#!/usr/bin/env bash
# Rime dictionaries read as librime reads them, with librime as the referee:
# crafted dictionaries, one entry line for each of librime's line rules and
# entries without a code under encoder rules, are compiled by
# rime_deployer --compile and built by navomb. Rime's compiled entries
# (build/NAME.table.txt) and the built table's hold the same texts under
# the same codes, nvcodefind finds each code-less word under a code Rime
# gave it, and for every code Rime's menu (rime_menu, through librime's C
# API) and the built table (the independent reader) list the same
# candidates in the same order.
#
# (nvcodefind looks a word up by navo's own word-code rule, not by the
# dictionary's encoder, so the table's codes of a word are read with the
# independent reader.)
#
# Usage: rime_dictionary_parity.sh NAVOMB RIME_MENU WORKDIR
set -u
navomb=$1 rime_menu=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
. "$here/../support/checks.sh"
. "$here/parity_schema.sh"

# A schema that shows exactly a code's entries, in the dictionary's order.
schema() {  # FOLDER NAME
  parity_schema "$1/$2.schema.yaml" "$2" "$2"
}

# Compiles FOLDER/NAME.dict.yaml with Rime and navomb, then compares.
# CODELESS: the code-less words, which Rime must have given codes.
compare() {  # NAME CODELESS...
  local name=$1 folder=$work/$1
  shift
  schema "$folder" "$name"
  timeout 120 rime_deployer --compile "$folder/$name.schema.yaml" "$folder" "$folder" \
    "$folder/build" > "$folder/deploy.log" 2>&1
  expect "$name: rime_deployer --compile status" 0 $?
  "$navomb" build --from rime "$folder/$name.dict.yaml" "$folder/$name.mb" 2> "$folder/navomb.err"
  expect "$name: navomb build status" 0 $?
  # Rime's entries (after its syllables and an empty line): "text<TAB>code"
  # in Rime's order; those of several syllables, which are typed only with
  # separators, apart (their letters typed too, to see that they give nothing).
  awk -F'\t' -v several="$folder/syllables.txt" '
    body && $2 ~ / / { gsub(/ /, "", $2); print "\t" $2 > several; next }
    body { print $1 "\t" $2 }
    /^$/ { body = 1 }' "$folder/build/$name.table.txt" > "$folder/rime-entries.txt"
  # The dump writes a text's leading # (and any byte that is no character) as
  # U+F0000 plus its value, so that it is not read as a comment: back to the
  # ASCII byte here, as Rime lists it.
  "$navomb" dump "$folder/$name.mb" | awk -F'\t' 'NR > 1 && $1 !~ /^@/' |
    python3 -c 'import re, sys
sys.stdout.write(re.sub("[\U000F0000-\U000F007F]", lambda m: chr(ord(m.group()) - 0xF0000), sys.stdin.read()))' |
    sort -u > "$folder/navomb-entries.txt"
  expect "$name: the same texts under the same codes" "" \
    "$(sort -u "$folder/rime-entries.txt" | diff - "$folder/navomb-entries.txt")"
  local word
  for word in "$@"; do
    expect "$name: $word has Rime's codes, in Rime's order" \
      "$word	$(awk -F'\t' -v w="$word" '$1 == w { print $2 }' "$folder/rime-entries.txt" | paste -sd' ')" \
      "$(python3 "$here/sample_codes.py" "$folder/$name.mb" --codes "$word")"
  done
  cat "$folder/rime-entries.txt" "$folder/syllables.txt" 2>/dev/null | cut -f2 | sort -u \
    > "$folder/codes.txt"
  timeout 120 "$rime_menu" "$folder" "$name" < "$folder/codes.txt" > "$folder/rime-menus.txt" \
    2> "$folder/rime-menu.err"
  expect "$name: rime_menu status" 0 $?
  mapfile -t codes < "$folder/codes.txt"
  # The reader shows a leading "#" as U+F0023, as navomb writes it.
  python3 "$here/sample_codes.py" "$folder/$name.mb" --menu "${codes[@]}" |
    sed 's/\xf3\xb0\x80\xa3/#/g' > "$folder/navomb-menus.txt"
  expect "$name: Rime's menus and the table's ($(wc -l < "$folder/codes.txt") codes)" "" \
    "$(diff "$folder/rime-menus.txt" "$folder/navomb-menus.txt")"
}

dictionary() {  # NAME HEADER BODY: FOLDER/NAME.dict.yaml
  mkdir -p "$work/$1"
  printf -- '---\nname: %s\nversion: "1"\nsort: original\n%s...\n%s' "$1" "$2" "$3" \
    > "$work/$1/$1.dict.yaml"
}

wubi_rules='encoder:
  exclude_patterns: ["^z.*$"]
  rules:
    - length_equal: 2
      formula: "AaAbBaBb"
    - length_in_range: [3, 10]
      formula: "AaBaCaZa"
'
# Each line rule: "# no comment" matched whole, trailing blanks, a line of
# blanks, an entry without text, a trailing tab, an empty code column, a
# weight under 5% of the character's, an excluded code, a character
# without code, repeated entries, a code of two syllables.
dictionary lines "$wubi_rules" "# comment
# no comment here
#x	khk
中	khk	10
中	k	100
中	zzzz	100
国	lgyi	10
国	lgy  
 	 
	aaaa
华	wxfj	1
人	w	1
人	wwww	1
民	nav	1
民	na	1000
工	aaaa	
工	aaaa
式	aa aa	1
中国
人民		5
中国人
中华人民
华人民中国
人丁
# no comment
#	a
"
compare lines 中国 人民 中国人 中华人民 华人民中国

# Cangjie's rules, and stems standing for a character's codes.
cat > "$work/cangjie-header" <<'HEADER'
columns: [text, code, weight, stem]
encoder:
  rules:
    - length_equal: 2
      formula: "AaAzBaBbBz"
    - length_equal: 3
      formula: "AaAzBaBzCz"
    - length_in_range: [4, 10]
      formula: "AaBzCaYzZz"
HEADER
dictionary cangjie "$(cat "$work/cangjie-header")
" "日	a
月	b	1	bb
明	ab
木	d
林	dd
森	ddd
山	u
日月
明月
日月山
山明林森
日月山木林
"
compare cangjie 日月 明月 日月山 山明林森 日月山木林

# Without encoder rules: Rime's script encoder, the codes of the parts.
dictionary parts "" "中	kh
国	lgyi
中国
"
compare parts 中国

checks_summary
