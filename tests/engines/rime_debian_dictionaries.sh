#!/usr/bin/env bash
# Debian's shape-code dictionaries (rime-data-wubi, -cangjie5, -quick5,
# -array30, -stroke, -scj6; unpacked, never installed) read by navomb as
# librime reads them. Each that rime_deployer --compile compiles and whose
# every compiled code is 1 to 7 letters a-z must build with navomb, and for
# 500 of its codes (every so many of Rime's codes of texts GBK holds) Rime's menu and the
# built table list the same candidates in the same order, leaving out on
# Rime's side the texts GBK cannot hold (navomb --skip-unencodable drops
# them; the euro sign is GBK's byte 80, which the independent reader shows
# as U+F0080, as it shows every byte that is no pair). A navo.mb table keeps the dictionary's order, so the copies
# compiled say "sort: original". No preset vocabulary is installed in the
# folders used, so Rime adds no words from one.
#
# Usage: rime_debian_dictionaries.sh NAVOMB RIME_MENU WORKDIR [DEB_DIR]
# Skipped (status 77) when the packages cannot be downloaded.
set -u
navomb=$1 rime_menu=$2 work=$3 debs=${4:-$3/debs}
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work/unpacked" "$work/dict"
mkdir -p "$work/unpacked" "$debs"
. "$here/../support/checks.sh"
. "$here/parity_schema.sh"

packages="rime-data-wubi rime-data-cangjie5 rime-data-quick5 rime-data-array30 rime-data-stroke rime-data-scj6"
for package in $packages; do
  ls "$debs/${package}"_*.deb > /dev/null 2>&1 ||
    (cd "$debs" && apt-get download "$package" > /dev/null 2>&1)
  deb=$(ls "$debs/${package}"_*.deb 2> /dev/null | head -n 1)
  if [ -z "$deb" ]; then
    echo "SKIPPED: $package could not be downloaded (apt-get download $package)"
    exit 77
  fi
  dpkg-deb -x "$deb" "$work/unpacked"
done
data=$work/unpacked/usr/share/rime-data
compared=""

for schema in "$data"/*.schema.yaml; do
  # The dictionary of the schema's table translator.
  name=$(awk '/^translator:/ { t = 1; next } /^[^ ]/ { t = 0 }
              t && $1 == "dictionary:" { print $2; exit }' "$schema")
  [ -n "$name" ] && [ -e "$data/$name.dict.yaml" ] || continue
  [ -e "$work/dict/$name" ] && continue
  folder=$work/dict/$name
  mkdir -p "$folder"
  cp "$data"/*.dict.yaml "$folder/"
  sed -i 's/^sort:.*/sort: original/' "$folder/$name.dict.yaml"
  parity_schema "$folder/parity.schema.yaml" parity "$name"
  if ! timeout 120 rime_deployer --compile "$folder/parity.schema.yaml" "$folder" "$folder" \
      "$folder/build" > "$folder/deploy.log" 2>&1 || [ ! -s "$folder/build/$name.table.txt" ]; then
    echo "not compared: Rime does not compile $name"
    continue
  fi
  awk -F'\t' 'body { print $2 } /^$/ { body = 1 }' "$folder/build/$name.table.txt" |
    sort -u > "$folder/codes.txt"
  if grep -qvxE '[a-z]{1,7}' "$folder/codes.txt"; then
    echo "not compared: $name has codes that are not 1 to 7 letters a-z" \
      "($(grep -vxE '[a-z]{1,7}' "$folder/codes.txt" | head -n 3 | paste -sd' '))"
    continue
  fi
  "$navomb" build --from rime --skip-unencodable "$folder/$name.dict.yaml" "$folder/$name.mb" \
    > "$folder/navomb.out" 2>&1
  expect "$name: navomb builds what Rime compiles" 0 $?
  compared="$compared $name"
  # Sampled among the codes of texts GBK holds.
  awk -F'\t' 'body { print } /^$/ { body = 1 }' "$folder/build/$name.table.txt" | python3 -c '
import sys
codes = set()
for line in sys.stdin:
    text, code = line.split("\t")[:2]
    try:
        text.replace("\u20ac", "").encode("gbk")  # the euro sign is byte 80
        codes.add(code)
    except UnicodeEncodeError:
        pass
codes = sorted(codes)
step = len(codes) // 500 + 1
print("\n".join(codes[step - 1::step][:500]))
' > "$folder/sample.txt"
  timeout 120 "$rime_menu" "$folder" parity < "$folder/sample.txt" 2> /dev/null |
    python3 -c '
import sys
for line in sys.stdin:
    code, _, texts = line.rstrip("\n").partition("\t")
    def gbk(text):
        try:
            text.replace("\u20ac", "").encode("gbk")  # the euro sign is byte 80
            return True
        except UnicodeEncodeError:
            return False
    print(code + "\t" + " ".join(t for t in texts.split(" ") if t and gbk(t)))
' > "$folder/rime-menus.txt"
  mapfile -t codes < "$folder/sample.txt"
  python3 "$here/sample_codes.py" "$folder/$name.mb" --menu "${codes[@]}" |
    sed 's/\xf3\xb0\x80\xa3/#/g; s/\xf3\xb0\x82\x80/€/g' > "$folder/navomb-menus.txt"
  expect "$name: Rime's menus and the table's ($(wc -l < "$folder/sample.txt") codes)" "" \
    "$(diff "$folder/rime-menus.txt" "$folder/navomb-menus.txt" | head -n 20)"
done
# Those whose codes fit (array30's have punctuation keys, stroke's are longer).
expect "the dictionaries compared" " cangjie5 quick5 scj6 wubi86" "$compared"
checks_summary
