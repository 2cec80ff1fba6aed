#!/usr/bin/env bash
# The exported tables in the engines themselves. For the sample table and a
# small table with codes of 1 to 7 letters: rime_deployer --compile compiles
# the exported schema, and librime (rime_menu, through its C API) shows for
# a code from every block exactly the candidates the table holds under it,
# in the table's order; libime_tabledict compiles the fcitx5 text and
# libimetable (libime_lookup) finds the same. New words of 2 to 5
# characters get from each engine's rule the code nvcodefind gives them.
# Both exports of the sample build back to it byte for byte.
# A librime session on the exported sample, with the presets and the pinyin
# dictionary Debian's front ends share (rime-prelude, rime-data-pinyin-simp
# in /usr/share/rime-data): Chinese punctuation, Shift to Latin, paging,
# the pinyin reverse lookup with each character's codes, and with --hints
# longer codes' candidates with the letters still to type.
# The expected candidates and codes come from the independent reader.
#
# Usage: engine_test.sh NAVOMB NVCODEFIND RIME_MENU LIBIME_LOOKUP SAMPLE_TABLE WORKDIR
# Skipped (status 77) when the sample table has not been built
# (scripts/sample-table.sh BUILD_DIR builds it).
set -u
navomb=$1 nvcodefind=$2 rime_menu=$3 libime_lookup=$4 sample=$5 work=$6
shared=/usr/share/rime-data  # Debian's shared folder, as its front ends use it
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -s "$sample" ]; then
  echo "SKIPPED: no sample table at $sample (bash scripts/sample-table.sh BUILD_DIR builds it)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
. "$(dirname "$0")/../support/checks.sh"

compile_rime() {  # FOLDER NAME
  timeout 120 rime_deployer --compile "$1/$2.schema.yaml" "$1" "$shared" "$1/build"
}

# Exports TABLE.mb as NAME into $work/NAME-rime (a Rime user folder, staging
# in build/) and $work/NAME.txt, compiled for both engines.
export_and_compile() {  # TABLE NAME [EXPORT OPTION]
  local table=$1 name=$2 folder=$work/$2-rime
  cp "$table" "$work/$name.mb"
  "$navomb" export --to rime ${3:-} "$work/$name.mb" "$folder" 2>/dev/null
  expect "$name: rime export" 0 $?
  compile_rime "$folder" "$name" > "$work/$name-deploy.log" 2>&1
  expect "$name: rime_deployer --compile status" 0 $?
  [ -s "$folder/build/$name.table.bin" ] && [ -s "$folder/build/$name.prism.bin" ]
  expect "$name: rime_deployer wrote the table and prism" 0 $?
  "$navomb" export --to fcitx5 "$work/$name.mb" "$work/$name.txt" 2>/dev/null
  expect "$name: fcitx5 export" 0 $?
  timeout 120 libime_tabledict "$work/$name.txt" "$work/$name.main.dict" > "$work/$name-tabledict.log" 2>&1
  expect "$name: libime_tabledict status" 0 $?
}

menus() {  # TABLE NAME: both engines' candidates for the sampled codes
  local name=$2
  python3 "$here/sample_codes.py" "$1" > "$work/$name-expected.txt" || {
    expect "$name: codes sampled" 0 1
    return
  }
  cut -f1 "$work/$name-expected.txt" > "$work/$name-codes.txt"
  timeout 120 "$rime_menu" "$work/$name-rime" "$name" "$shared" < "$work/$name-codes.txt" \
    > "$work/$name-rime.out" 2> "$work/$name-rime.err"
  expect "$name: rime_menu status" 0 $?
  expect "$name: Rime's menus ($(wc -l < "$work/$name-codes.txt") codes)" "" \
    "$(diff "$work/$name-expected.txt" "$work/$name-rime.out" | head -n 20)"
  timeout 120 "$libime_lookup" "$work/$name.main.dict" < "$work/$name-codes.txt" \
    > "$work/$name-libime.out" 2> "$work/$name-libime.err"
  expect "$name: libime_lookup status" 0 $?
  expect "$name: libime's candidates ($(wc -l < "$work/$name-codes.txt") codes)" "" \
    "$(diff "$work/$name-expected.txt" "$work/$name-libime.out" | head -n 20)"
}

# Codes of 1 to 7 letters, words, and a one-letter code sharing its first
# letter with longer ones. Sampled (first, last, longest, first word of each
# block): a, k, z; aaaaaaa, aaww; kh, khkhkhk, khlgwnn.
printf '工\ta\n工\taaaaaaa\n式\taaaaaab\n工人\taaww\n中\tkhkhkhk\n国\tk\n国\tkh\n中国人\tkhlgwnn\n式\tz\n' \
  > "$work/seven.txt"
"$navomb" build "$work/seven.txt" "$work/seven-built.mb" 2>/dev/null
expect "seven: built" 0 $?
export_and_compile "$work/seven-built.mb" seven
menus "$work/seven.mb" seven
expect "seven: codes of 1 and 7 letters sampled" "a k z aaaaaaa khkhkhk khlgwnn" \
  "$(cut -f1 "$work/seven-expected.txt" | grep -xE '[a-z]|[a-z]{7}' | tr '\n' ' ' | sed 's/ $//')"

export_and_compile "$sample" navo
menus "$sample" navo
# A person's session. Lines of rime_menu --session: KEYS, committed text,
# ascii_mode, page number, the page ("text (comment) | ...").
reader() { python3 "$here/sample_codes.py" "$sample" "$@"; }
session() {  # NAME KEYS...: $work/NAME-session.out
  printf '%s\n' "${@:2}" | timeout 120 "$rime_menu" --session "$work/$1-rime" "$1" "$shared" \
    > "$work/$1-session.out" 2> "$work/$1-session.err"
  expect "$1: rime_menu --session status" 0 $?
}
field() {  # NAME KEYS FIELD
  awk -F'\t' -v keys="$2" -v f="$3" '$1 == keys { print $f }' "$work/$1-session.out"
}
shift_keys='{Shift_L}{Release+Shift_L}'
session navo , "$shift_keys," "$shift_keys" zzjp zzjp= zzjp=- '`zhong'
expect "punctuation: , commits the Chinese comma" "，" "$(field navo , 2)"
expect "Shift: Latin mode, the comma left to the application" "1:" \
  "$(field navo "$shift_keys," 3):$(field navo "$shift_keys," 2)"
expect "Shift alone switches" 1 "$(field navo "$shift_keys" 3)"
# Pages of zzjp (89 candidates) as the reader lists them.
read -r -a listed <<< "$(reader --menu zzjp | cut -f2)"
first=$(field navo zzjp 5)
size=$(awk -F' [|] ' '{ print NF }' <<< "$first")
expect "zzjp: a page of 5, Rime's size" 5 "$size"
page() { local IFS='|'; local joined="${listed[*]:$1:$size}"; echo "${joined//|/ | }"; }
expect "zzjp: the first page" "0 $(page 0)" "$(field navo zzjp 4) $first"
expect "=: the second page" "1 $(page "$size")" "$(field navo zzjp= 4) $(field navo zzjp= 5)"
expect "-: the first page again" "0 $(page 0)" "$(field navo zzjp=- 4) $(field navo zzjp=- 5)"
# ` then pinyin: every candidate with all its codes in the table.
lookup=$(field navo '`zhong' 5)
check "\`zhong offers 中" matches "$lookup" "中 (*"
mapfile -t texts < <(sed 's/ ([^)]*)//g; s/ | /\n/g' <<< "$lookup")
expected=$(reader --codes "${texts[@]}" | sed 's/\t\(..*\)/ (\1)/; s/\t$//' | paste -sd'|' |
  sed 's/|/ | /g')
expect "\`zhong: each candidate's codes in the table" "$expected" "$lookup"
# The comment teaches what the lookup tells: 中's codes as nvcodefind --all lists them.
expect "\`zhong: 中's comment is its codes by nvcodefind --all" \
  "$("$nvcodefind" --table "$sample" --all 中 | sed 's/^中: \(.*\) (best .*)$/中 (\1)/; s/  / /g')" \
  "$(sed 's/ | /\n/g' <<< "$lookup" | grep '^中 ')"
# With --hints, the one-letter code k: 中 (k), then longer codes'
# candidates, each with the letters after k that type it.
export_and_compile "$sample" hints --hints
session hints k
hinted=$(field hints k 5)
check "hints: k lists 中 first, then longer codes' candidates" matches "$hinted" "中 | ?* (~?*"
unlisted=$(sed 's/^中 | //; s/ | /\n/g' <<< "$hinted" | while read -r text rest; do
  rest=${rest#(~}
  reader --menu "k${rest%)}" | grep -qP "\t(.* )?$text( |\$)" || echo "$text $rest"
done)
expect "hints: each under k and its letters still to type" "" "$unlisted"

# fcitx5 reads the input method file's keys as ` before pinyin (no code
# begins with it) and - and = for the pages.
expect "fcitx5: the keys of navo.conf" "grave	\`
minus	-
equal	=" "$(sed -n 's/^PinyinKey=//p; s/^1=//p' "$work/navo.conf" | "$libime_lookup" --key-names)"

# What the engines were given builds back the same table, byte for byte.
"$navomb" build --from rime "$work/navo-rime/navo.dict.yaml" "$work/navo-from-rime.mb" 2>/dev/null &&
  cmp -s "$sample" "$work/navo-from-rime.mb"
expect "navo: built again from its Rime dictionary, byte for byte" 0 $?
"$navomb" build --from fcitx5 "$work/navo.txt" "$work/navo-from-fcitx5.mb" 2>/dev/null &&
  cmp -s "$sample" "$work/navo-from-fcitx5.mb"
expect "navo: built again from its fcitx5 text, byte for byte" 0 $?

# New words: every character with a word-making code, none in the table.
python3 "$here/sample_codes.py" "$sample" --words 24 > "$work/words.txt"
while read -r word; do
  "$nvcodefind" --table "$sample" "$word" 2>/dev/null |
    sed -n 's/^\(.*\): .*(word code \([a-z]*\))$/\1\t\2/p'
done < "$work/words.txt" > "$work/words-expected.txt"
expect "words: nvcodefind gives every word a code" "$(wc -l < "$work/words.txt")" \
  "$(grep -c $'\t[a-z]' "$work/words-expected.txt")"
"$libime_lookup" "$work/navo.main.dict" --generate < "$work/words.txt" > "$work/words-libime.txt"
expect "words: libime's rule gives nvcodefind's codes" "" \
  "$(diff "$work/words-expected.txt" "$work/words-libime.txt")"
# Rime makes a word's code when it compiles an entry without code.
folder=$work/words-rime
mkdir -p "$folder"
cp "$work/navo-rime/navo.schema.yaml" "$work/navo-rime/navo.dict.yaml" "$folder/"
cat "$work/words.txt" >> "$folder/navo.dict.yaml"
compile_rime "$folder" navo > "$work/words-deploy.log" 2>&1
expect "words: rime_deployer --compile status" 0 $?
cut -f2 "$work/words-expected.txt" | timeout 120 "$rime_menu" "$folder" navo "$shared" 2>/dev/null \
  > "$work/words-rime.out"
found=$(paste "$work/words-expected.txt" "$work/words-rime.out" |
  awk -F'\t' '{ n = split($4, menu, " "); hit = 0
               for (i = 1; i <= n; i++) if (menu[i] == $1) hit = 1
               if (!hit) print "not under " $2 ": " $1 }')
expect "words: Rime's encoder files each word under nvcodefind's code" "" "$found"

# A character without a word-making code (人: typed w and wwww): nvcodefind
# leaves its letters out, Rime takes each code it is typed with instead,
# libime gives the word no code. As the README says.
printf '人\tw\n人\twwww\n@人\t\n工\taaaa\n' > "$work/none.txt"
"$navomb" build "$work/none.txt" "$work/none-built.mb" 2>/dev/null
export_and_compile "$work/none-built.mb" none
expect "no word-making code: nvcodefind" "人工:  (word code aa)" \
  "$("$nvcodefind" --table "$work/none.mb" 人工 2>/dev/null)"
echo 人工 >> "$work/none-rime/none.dict.yaml"
compile_rime "$work/none-rime" none > "$work/none-deploy.log" 2>&1
expect "no word-making code: Rime" "waa	人工
wwwaa	人工
aa	" "$(printf 'waa\nwwwaa\naa\n' | timeout 120 "$rime_menu" "$work/none-rime" none "$shared" 2>/dev/null)"
expect "no word-making code: libime" "人工	" \
  "$(echo 人工 | "$libime_lookup" "$work/none.main.dict" --generate)"

checks_summary
