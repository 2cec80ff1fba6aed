#!/usr/bin/env bash
# navomb and nvcodefind as a user runs them: build a table from text, look
# characters and words up, batch lines, dump and check.
set -u
navomb=$1 nvcodefind=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0

expect() {  # name expected actual
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    printf 'FAILED %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
  fi
}

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

out=$(printf 'B9A4\n' | "$nvcodefind" --table "$work/missing.mb" --batch 2>"$work/err")
expect "missing table line" "B9A4	fail		box:Error reading file/SetFilePointer|box:Error reading file/SetFilePointer|box:工童/读取造词代码错误" "$out"
expect "missing table open" "box:打开文件失败/" "$(cat "$work/err")"

"$nvcodefind" --table "$work/navo.mb" --batch 工 >/dev/null 2>&1
expect "bad usage" 2 $?

"$navomb" dump "$work/navo.mb" > "$work/dumped.txt"
"$navomb" build "$work/dumped.txt" "$work/again.mb" 2>/dev/null
cmp -s "$work/navo.mb" "$work/again.mb"
expect "dump builds the same file" 0 $?

truncate -s -2 "$work/navo.mb"
out=$("$navomb" check "$work/navo.mb")
expect "check damaged status" 1 $?
case "$out" in *"block uj: file ends inside its texts"*) passes=$((passes + 1)) ;;
  *) failures=$((failures + 1)); echo "FAILED check damaged: $out" ;; esac

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
