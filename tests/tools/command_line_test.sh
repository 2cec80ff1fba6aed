#!/usr/bin/env bash
# navomb and nvcodefind as a user runs them: build a table from text, look
# characters and words up, batch lines, dump and check.
set -u
navomb=$1 nvcodefind=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../support/checks.sh"

cat > "$work/table.txt" <<'TABLE'
# a small table
工	aaaa
工	a
式	aad
工人	aaww
童	ujff
@中	kh
国	lgyi
中	khk
中国	khlg
TABLE

"$navomb" build "$work/table.txt" "$work/navo.mb" 2>/dev/null
expect "build" 0 $?
expect "check sound" "$work/navo.mb: sound" "$("$navomb" check "$work/navo.mb")"

out=$("$nvcodefind" --table "$work/navo.mb" 工 中 中国 2>&1)
expect "lookup status" 0 $?
expect "lookup" "工: aaaa
中: khk
中国: khlg (word code khlg)" "$out"

out=$(printf 'B9A4\ncdaf\n4142\n' | "$nvcodefind" --table "$work/navo.mb" --batch)
expect "batch status" 1 $?
expect "batch" "B9A4	ok	aaaa	
CDAF	ok	ujff	
4142	fail		" "$out"

# A longer line of hex digits is a word: its line ends with its word code.
out=$(printf 'D6D0B9FA\nb9a4cdaf\n' | "$nvcodefind" --table "$work/navo.mb" --batch)
expect "batch words" "D6D0B9FA	ok	khlg		khlg
B9A4CDAF	ok			aauj" "$out"
for line in B9A4C B9 B9A4X1; do
  printf '%s\n' "$line" | "$nvcodefind" --table "$work/navo.mb" --batch >/dev/null 2>&1
  expect "batch line $line refused" 2 $?
done

# A word under more codes than the core lists: the first forty, whole, and
# the mark of a cut list after them, alike in every form of output.
letters=abcdefghijklmnopqrstuvwxyz codes=()
for i in $(seq 0 40); do codes+=("khlgx${letters:i / 26:1}${letters:i % 26:1}"); done
{ printf '@中\tkh\n@国\tlg\n'; printf '中国\t%s\n' "${codes[@]:0:40}"; } > "$work/forty.txt"
{ cat "$work/forty.txt"; printf '中国\t%s\n' "${codes[40]}"; } > "$work/many.txt"
forty=$(printf '%s  ' "${codes[@]:0:40}")
forty=${forty%  }
# Set-up, not checks: the two tables, and forty codes just filling 358 bytes.
"$navomb" build "$work/forty.txt" "$work/forty.mb" 2>/dev/null &&
  "$navomb" build "$work/many.txt" "$work/many.mb" 2>/dev/null && [ "${#forty}" -eq 358 ] ||
  { echo "set-up failed: the tables of forty and forty-one codes"; exit 2; }
expect "forty codes are not cut" "中国: $forty (word code khlg)" \
  "$("$nvcodefind" --table "$work/forty.mb" 中国)"
expect "cut list" "中国: $forty  … (word code khlg)" "$("$nvcodefind" --table "$work/many.mb" 中国)"
expect "cut list batch" "D6D0B9FA	ok	$forty  …		khlg" \
  "$(echo D6D0B9FA | "$nvcodefind" --table "$work/many.mb" --batch)"
json_codes=$(printf '"%s",' "${codes[@]:0:40}")
expect "cut list json" \
  "{\"text\":\"中国\",\"ok\":true,\"codes\":[${json_codes%,}],\"wordCode\":\"khlg\",\"cut\":true,\"reports\":[]}" \
  "$("$nvcodefind" --table "$work/many.mb" --json 中国)"

out=$(printf 'B9A4\n' | "$nvcodefind" --table "$work/missing.mb" --batch 2>"$work/err")
expect "missing table line" "B9A4	fail		box:Error reading file/SetFilePointer|box:Error reading file/SetFilePointer|box:工童/读取造词代码错误" "$out"
expect "missing table open" "box:打开文件失败/" "$(cat "$work/err")"

# Report texts of a batch line hold no bare separator: 0x7C and 0x5C after
# a byte that leads no GBK character, and 0x2F, which no lookup accepts.
out=$(printf 'A17C\nA12F\nA15C\n' | "$nvcodefind" --table "$work/missing.mb" --batch 2>/dev/null)
box="box:Error reading file/SetFilePointer"
expect "separators escaped" "A17C	fail		$box|$box|box:\\xA1\\x7C童/读取造词代码错误
A12F	fail		
A15C	fail		$box|$box|box:\\xA1\\x5C童/读取造词代码错误" "$out"

# The text at hand: each Chinese character once, ASCII passed over, a
# character outside GBK named.
out=$("$nvcodefind" --table "$work/navo.mb" --text 'See 中国, 工人 中 and 𠀀!' 2>"$work/err")
expect "text status" 1 $?
expect "text lines" "中: khk
国: lgyi
工: aaaa
人: " "$out"
expect "text outside GBK" "nvcodefind: 𠀀: not in GBK" "$(cat "$work/err")"
out=$(printf 'See 中国,\n工人 中 and 𠀀!\n' | "$nvcodefind" --table "$work/navo.mb" --text --json)
expect "json lines" '{"text":"中","ok":true,"codes":["khk"],"reports":[]}
{"text":"国","ok":true,"codes":["lgyi"],"reports":[]}
{"text":"工","ok":true,"codes":["aaaa"],"reports":[]}
{"text":"人","ok":true,"codes":[],"reports":[]}
{"text":"𠀀","ok":false,"codes":[],"reports":[],"error":"not in GBK"}' "$out"
out=$(printf 'CDAF\n' | "$nvcodefind" --table "$work/missing.mb" --batch --json 2>/dev/null)
expect "json batch" '{"hex":"CDAF","text":"童","ok":false,"codes":[],"reports":["box:Error reading file/SetFilePointer","box:Error reading file/SetFilePointer","box:童童/读取造词代码错误"]}' "$out"
if command -v python3 >/dev/null; then
  out=$("$nvcodefind" --table "$work/navo.mb" --json 中国 '\"' 2>/dev/null |
        while read -r line; do printf '%s\n' "$line" | python3 -m json.tool >/dev/null || echo "$line"; done)
  expect "json parses" "" "$out"
fi

# A file that is no code table: the lookups run as the window's would, but
# the terminal says so and the status is 1.
echo "just notes" > "$work/notes.txt"
out=$("$nvcodefind" --table "$work/notes.txt" 工 2>&1)
expect "not a table status" 1 $?
expect "not a table" "nvcodefind: warning: $work/notes.txt is not a code table: 11 bytes, shorter than the 256354 bytes of its fixed regions
工: " "$out"

"$nvcodefind" --table "$work/navo.mb" --batch 工 >/dev/null 2>&1
expect "bad usage" 2 $?

# Every code of a text, short codes too, the best marked; and the entries of
# a typed code, then those of the longer codes it begins.
out=$("$nvcodefind" --table "$work/navo.mb" --all 工 中 中国 童)
expect "every code status" 0 $?
expect "every code" "工: a  aaaa (best a)
中: khk (best khk)
中国: khlg (best khlg)
童: ujff (best ujff)" "$out"
out=$("$nvcodefind" --table "$work/navo.mb" --code a aa aad kh x)
expect "candidates status" 0 $?
expect "candidates" "a: 工 | 工+aaa  式+ad  工人+aww
aa: | 工+aa  式+d  工人+ww
aad: 式
kh: | 中+k  中国+lg
x: " "$out"
expect "candidates json" '{"code":"kh","ok":true,"candidates":[],"hints":[{"text":"中","rest":"k"},{"text":"中国","rest":"lg"}],"reports":[]}' \
  "$("$nvcodefind" --table "$work/navo.mb" --json --code kh)"
expect "every code json" '{"text":"工","ok":true,"codes":["a","aaaa"],"best":"a","reports":[]}' \
  "$("$nvcodefind" --table "$work/navo.mb" --json --all 工)"
out=$(printf 'kh\nA1\n' | "$nvcodefind" --table "$work/navo.mb" --code --batch)
expect "candidates batch status" 1 $?
expect "candidates batch" "kh	ok	| 中+k  中国+lg	
A1	fail		" "$out"
out=$(printf 'B9A4\nD6D0B9FA\n4142\n' | "$nvcodefind" --table "$work/navo.mb" --all --batch)
expect "every code batch" "B9A4	ok	a  aaaa		a
D6D0B9FA	ok	khlg		khlg
4142	fail			" "$out"
out=$(echo ab | "$nvcodefind" --table "$work/missing.mb" --code --batch 2>/dev/null)
expect "candidates without a table" "ab	fail		box:Error reading file/SetFilePointer" "$out"
out=$("$nvcodefind" --table "$work/navo.mb" --code abcdefgh 2>&1)
expect "no code status" 1 $?
expect "no code" "nvcodefind: abcdefgh: not a code of 1 to 7 letters a-z" "$out"
for usage in "--code --all aa" "--code --text aa" "--code"; do
  "$nvcodefind" --table "$work/navo.mb" $usage >/dev/null 2>&1
  expect "bad usage $usage" 2 $?
done

"$navomb" dump "$work/navo.mb" > "$work/dumped.txt"
"$navomb" build "$work/dumped.txt" "$work/again.mb" 2>/dev/null
cmp -s "$work/navo.mb" "$work/again.mb"
expect "dump builds the same file" 0 $?

# Texts the text form cannot hold as they are: bytes that are no GBK
# character (9E 30; 81 7F, with a word-making code), a first "#" or "@", a
# tab; and a backslash, which is only itself. The dump writes them as the
# reader takes them, U+F0000 plus their value, and builds the same file.
printf '%b\n' '\xF3\xB9\xB8\xB0\taa' '@\xF3\xB8\x85\xBF\tab' '\xF3\xB8\x85\xBF\tabcd' \
  '\\x41\tba' '\xF3\xB0\x80\xA3a\tbb' '\xF3\xB0\x81\x80x\tbc' 'a\xF3\xB0\x80\x89b\tbd' \
  > "$work/bytes.txt"
"$navomb" build "$work/bytes.txt" "$work/bytes.mb" 2>/dev/null
expect "bytes table build" 0 $?
expect "bytes table dump" "$(printf '%b\n' \
  '# navo.mb code table: text<TAB>code; @character<TAB>word-making code' \
  '@\xF3\xB8\x85\xBF\tab' '\xF3\xB9\xB8\xB0\taa' '\xF3\xB8\x85\xBF\tabcd' '\\x41\tba' \
  '\xF3\xB0\x80\xA3a\tbb' '\xF3\xB0\x81\x80x\tbc' 'a\xF3\xB0\x80\x89b\tbd')" \
  "$("$navomb" dump "$work/bytes.mb")"
"$navomb" dump "$work/bytes.mb" > "$work/bytes-dumped.txt"
"$navomb" build "$work/bytes-dumped.txt" "$work/bytes-again.mb" 2>/dev/null
cmp -s "$work/bytes.mb" "$work/bytes-again.mb"
expect "bytes table dump builds the same file" 0 $?

# A text made empty (its first byte, at the end of the file, a NUL): sound
# for the lookup, but no text table holds it, and the dump says so.
printf '工\taaaa\n' > "$work/one.txt"
"$navomb" build "$work/one.txt" "$work/empty-text.mb" 2>/dev/null
printf '\0' | dd of="$work/empty-text.mb" bs=1 seek=$(($(stat -c %s "$work/empty-text.mb") - 3)) \
  conv=notrunc 2>/dev/null
expect "empty text: check" "$work/empty-text.mb: sound" "$("$navomb" check "$work/empty-text.mb")"
out=$("$navomb" dump "$work/empty-text.mb" 2>&1)
expect "empty text: dump status" 1 $?
expect "empty text: dump" "# navo.mb code table: text<TAB>code; @character<TAB>word-making code
@工	aa
	aaaa
navomb: $work/empty-text.mb: the dump does not build back: empty text for code aaaa" "$out"

# The same table as Notepad saves it: UTF-8 with a mark and CRLF, and UTF-16.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$work/table.txt"; } > "$work/notepad-utf8.txt"
{ printf '\xFF\xFE'; sed 's/$/\r/' "$work/table.txt" | iconv -f UTF-8 -t UTF-16LE; } > "$work/utf16le.txt"
{ printf '\xFE\xFF'; iconv -f UTF-8 -t UTF-16BE "$work/table.txt"; } > "$work/utf16be.txt"
for encoding in notepad-utf8 utf16le utf16be; do
  "$navomb" build "$work/$encoding.txt" "$work/$encoding.mb" 2>/dev/null
  cmp -s "$work/navo.mb" "$work/$encoding.mb"
  expect "$encoding builds the same file" 0 $?
done

truncate -s -2 "$work/navo.mb"
out=$("$navomb" check "$work/navo.mb")
expect "check damaged status" 1 $?
check "check damaged" matches "$out" "*block uj: file ends inside its texts*"

printf '工\taaaa\nno tab here\n𠀀\tab\n工\tAAAA\n' > "$work/bad.txt"
out=$("$navomb" build "$work/bad.txt" "$work/bad.mb" 2>&1)
expect "bad table status" 1 $?
expect "bad table errors" "$work/bad.txt:2: expected text<TAB>code
$work/bad.txt:3: text \"𠀀\" is not in GBK
$work/bad.txt:4: code \"AAAA\" of \"工\" is not 1 to 7 letters a-z
navomb: $work/bad.mb not built" "$out"
[ ! -e "$work/bad.mb" ]
expect "bad table writes nothing" 0 $?

# A Rime dictionary whose columns put the code first.
cat > "$work/mine.dict.yaml" <<'RIME'
# Rime dictionary
---
name: mine
version: "1"
columns:
  - code
  - text
  - weight
...
# code, text, weight
aaaa	工	100
a	工	90
aad	式	0
aaww	工人	1
ujff	童	5
kh	中	7
lgyi	国	1
khk	中	1
khlg	中国	1
RIME
printf '工\taaaa\n工\ta\n式\taad\n工人\taaww\n童\tujff\n中\tkh\n国\tlgyi\n中\tkhk\n中国\tkhlg\n' \
  > "$work/mine.txt"
"$navomb" build "$work/mine.txt" "$work/mine-text.mb" 2>/dev/null
out=$("$navomb" build --from rime "$work/mine.dict.yaml" "$work/mine-rime.mb" 2>&1)
expect "rime status" 0 $?
expect "rime report" "navomb: 9 candidates, $(stat -c %s "$work/mine-text.mb") bytes" "$out"
cmp -s "$work/mine-text.mb" "$work/mine-rime.mb"
expect "rime builds what its text table builds" 0 $?

for tool in "$navomb" "$nvcodefind"; do
  name=$(basename "$tool")
  out=$("$tool" --help)
  expect "$name --help status" 0 $?
  check "$name --help" matches "$out" "usage: $name*"
  expect "$name --version" "$name 2.0" "$("$tool" --version)"
  out=$("$tool" --no-such-option 2>&1 >/dev/null)
  expect "$name usage error status" 2 $?
  check "$name usage on stderr" matches "$out" "usage: $name*"
done
"$navomb" build --from yaml "$work/mine.dict.yaml" "$work/x.mb" 2>/dev/null
expect "unknown source format" 2 $?

out=$("$nvcodefind" --table "$work/navo.mb" 工 2>&1 >/dev/null)
expect "damaged table status" 1 $?
expect "damaged table" "nvcodefind: warning: $work/navo.mb is damaged at offset 256456: block uj: file ends inside its texts" "$out"

checks_summary
