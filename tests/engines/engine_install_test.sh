#!/usr/bin/env bash
# navomb install and the phones' bundles, in the engines' own tools. In
# temporary homes: a person's default.custom.yaml listing other schemas keeps
# them, their comments and keys; without a file, the list of Debian's shared
# default.yaml is kept and ours added; rime_deployer --build deploys it and
# librime (rime_menu) types it; a second install changes no byte; a file
# navomb did not write is never replaced; XDG_CONFIG_HOME/XDG_DATA_HOME are
# followed; fcitx5's .conf and the table compiled by libime_tabledict, which
# libimetable types. The bundles hold the files their importers take, and
# the Rime zip unpacked into a user folder deploys and types.
# The expected candidates and lists are written here by hand.
#
# Usage: engine_install_test.sh NAVOMB RIME_MENU LIBIME_LOOKUP WORKDIR
set -u
navomb=$1 rime_menu=$2 libime_lookup=$3 work=$4
shared=/usr/share/rime-data  # Debian's shared folder, as its front ends use it
rm -rf "$work"
mkdir -p "$work"
. "$(dirname "$0")/../support/checks.sh"

printf '工\ta\n式\ta\n中\tk\n国\tkh\n' > "$work/table.txt"
"$navomb" build "$work/table.txt" "$work/navo.mb" 2>/dev/null
require "the small table builds" test -s "$work/navo.mb"
typed='a	工 式
k	中
kh	国'

install() {  # HOME COMMAND...: status and output in $work/out
  local home=$1
  shift
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" "$@" > "$work/out" 2>&1
}
snapshot() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
rime_types() {  # USER_DIR: librime's candidates for a, k, kh
  printf 'a\nk\nkh\n' | timeout 120 "$rime_menu" "$1" navo "$shared" 2> "$work/rime_menu.err"
}

# fcitx5-rime, with a list of the person's own, a comment and another key.
rime=$work/home1/.local/share/fcitx5/rime
mkdir -p "$rime"
printf '# mine\npatch:\n  schema_list:\n    - schema: stroke  # strokes\n  menu/page_size: 7\n' \
  > "$rime/default.custom.yaml"
install "$work/home1" "$navomb" install --to rime "$work/navo.mb"
expect "install into fcitx5-rime's folder" 0 $?
expect "the person's list kept, navo added, comments and keys as they were" "# mine
patch:
  schema_list:
    - schema: stroke  # strokes
    - schema: navo
  menu/page_size: 7" "$(cat "$rime/default.custom.yaml")"
expect "it says what it did" "written    $rime/navo.schema.yaml
written    $rime/navo.dict.yaml
list       $rime/default.custom.yaml: navo added to the list
edited     $rime/default.custom.yaml
deployed   rime_deployer --build $rime $shared" "$(grep -v '^ *note:' "$work/out" | sed -n 's/^  //p')"
check "rime_deployer built the table" test -s "$rime/build/navo.table.bin"
expect "librime types the installed schema" "$typed" "$(rime_types "$rime")"
# The pinyin dictionary it depends on was deployed with it: ` then pinyin
# shows 中 with its code in this table.
lookup=$(printf '`zhong\n' | timeout 120 "$rime_menu" --session "$rime" navo "$shared" 2>/dev/null |
  cut -f5)
check "\`zhong offers 中 with its code k" matches "$lookup" "中 (k) | *"
before=$(snapshot "$work/home1")
install "$work/home1" "$navomb" install --to rime "$work/navo.mb"
expect "a second install: status" 0 $?
expect "a second install changes no byte" "$before" "$(snapshot "$work/home1")"
check "and says so" grep -q "not deployed again: nothing changed" "$work/out"

# ibus-rime through XDG_CONFIG_HOME, with no default.custom.yaml: the list
# of the shared default.yaml, read here by its lines, then navo.
mkdir -p "$work/config/ibus/rime" "$work/home2/.config/ibus/rime"
XDG_CONFIG_HOME=$work/config HOME=$work/home2 XDG_DATA_HOME=$work/nowhere \
  "$navomb" install --to rime "$work/navo.mb" > "$work/out" 2>&1
expect "install into ibus-rime's folder under XDG_CONFIG_HOME" 0 $?
expect "HOME's .config left alone" "" "$(ls -A "$work/home2/.config/ibus/rime")"
expect "the list of default.yaml kept and navo added" \
  "$(printf 'patch:\n  schema_list:\n'
     sed -n '/^schema_list:/,/^[^ ]/s/^ *- schema: *\([a-z0-9_]*\).*/    - schema: \1/p' \
       "$shared/default.yaml"
     echo '    - schema: navo')" \
  "$(cat "$work/config/ibus/rime/default.custom.yaml")"
expect "librime types it there" "$typed" "$(rime_types "$work/config/ibus/rime")"

# A file navomb did not write is never replaced, and then nothing is written.
mine=$work/mine
mkdir -p "$mine"
echo 'schema: {schema_id: navo, name: my own}' > "$mine/navo.schema.yaml"
install "$work/home1" "$navomb" install --to rime --user-dir "$mine" "$work/navo.mb"
expect "someone else's navo.schema.yaml: refused" 1 $?
expect "it stays as it was, nothing else written" \
  "schema: {schema_id: navo, name: my own}|navo.schema.yaml" \
  "$(cat "$mine/navo.schema.yaml")|$(ls "$mine" | paste -sd' ')"
check "the refusal names the file" grep -q "refused .*$mine/navo.schema.yaml: not written by navomb" \
  "$work/out"
# One navomb wrote is replaced: --hints changes the schema.
install "$work/home1" "$navomb" install --to rime --hints "$work/navo.mb"
expect "an install with --hints replaces navomb's own schema" "0 enable_completion: true" \
  "$? $(grep -o 'enable_completion: true' "$rime/navo.schema.yaml")"

# No front end's folder: said, and status 1.
mkdir -p "$work/empty"
install "$work/empty" "$navomb" install --to rime "$work/navo.mb"
expect "no Rime folder: status 1" 1 $?
check "and says where it looked" grep -q "no Rime user folder found (looked for fcitx5-rime: $work/empty/.local/share/fcitx5/rime, ibus-rime: $work/empty/.config/ibus/rime)" "$work/out"
install "$work/empty" "$navomb" install --to fcitx5 "$work/navo.mb"
expect "no fcitx5 folder: status 1" 1 $?

# fcitx5: found by its configuration folder, the table into the data folder.
data=$work/home3/.local/share/fcitx5
mkdir -p "$work/home3/.config/fcitx5"
install "$work/home3" "$navomb" install --to fcitx5 "$work/navo.mb"
expect "install into fcitx5's folders" 0 $?
expect "its .conf, marked and naming the compiled table" \
  "# fcitx5 input method navo, written by navomb.|File=table/navo.main.dict" \
  "$(head -n 1 "$data/inputmethod/navo.conf")|$(grep '^File=' "$data/inputmethod/navo.conf")"
expect "libimetable types the installed table" "$typed" \
  "$(printf 'a\nk\nkh\n' | "$libime_lookup" "$data/table/navo.main.dict" 2>&1)"
before=$(snapshot "$work/home3")
install "$work/home3" "$navomb" install --to fcitx5 "$work/navo.mb"
expect "a second fcitx5 install changes no byte" "0 $before" "$? $(snapshot "$work/home3")"
# The compiled table is the person's when the .conf beside it is.
printf '[InputMethod]\nName=Mine\n' > "$data/inputmethod/navo.conf"
install "$work/home3" "$navomb" install --to fcitx5 --hints "$work/navo.mb"
expect "a .conf navomb did not write: refused, left as it was" "1 [InputMethod] Name=Mine" \
  "$? $(paste -sd' ' "$data/inputmethod/navo.conf")"

# The bundles, as their importers take them.
listing() { python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$1"; }
"$navomb" export --to rime-zip "$work/navo.mb" "$work/navo-rime.zip" 2>/dev/null
expect "rime-zip: the schema, the dictionary and a README, no default.custom.yaml" \
  "0 navo.schema.yaml navo.dict.yaml README.txt" "$? $(listing "$work/navo-rime.zip")"
"$navomb" export --to rime-zip "$work/navo.mb" "$work/again.zip" 2>/dev/null
check "the same table gives the same zip, byte for byte" cmp "$work/navo-rime.zip" "$work/again.zip"
phone=$work/phone-rime
mkdir -p "$phone"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
  "$work/navo-rime.zip" "$phone"
# As its README says: the schema added to the person's list, then deploy.
check "the README says how the schema joins the list" grep -q '^    - schema: navo$' "$phone/README.txt"
rm "$phone/README.txt"
printf 'patch:\n  schema_list:\n    - schema: navo\n' > "$phone/default.custom.yaml"
timeout 120 rime_deployer --build "$phone" "$shared" > "$work/phone-deploy.log" 2>&1
expect "the unpacked bundle deploys" 0 $?
expect "and librime types it" "$typed" "$(rime_types "$phone")"

"$navomb" export --to fcitx5-android "$work/navo.mb" "$work/navo-android.zip" 2>/dev/null
expect "fcitx5-android: the .conf and the compiled table only" "0 navo.conf navo.main.dict" \
  "$? $(listing "$work/navo-android.zip")"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
  "$work/navo-android.zip" "$work/android"
expect "its table types in libimetable" "$typed" \
  "$(printf 'a\nk\nkh\n' | "$libime_lookup" "$work/android/navo.main.dict" 2>&1)"
expect "its .conf names table/navo.main.dict" "File=table/navo.main.dict" \
  "$(grep '^File=' "$work/android/navo.conf")"

checks_summary
