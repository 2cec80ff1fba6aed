#!/usr/bin/env bash
# NvCodeFind.exe as a user meets it, under Wine on Xvfb: a driver program
# types into the input box as an input method does and checks what the
# result pane draws, pixel for pixel; screenshots go to OUTDIR.
#
#   [NAVO_WINE_CODEPAGE=936|1252|932] lookup_window_e2e.sh [--scenario NAME] NvCodeFind.exe lookup_driver.exe OUTDIR [CROSSCHECK_DIR]
#
# Scenarios, each in a fresh prefix (without --scenario, all in turn):
#   looks_up_typed_characters    the table in the system directory, characters typed
#   without_a_code_table         navo.mb missing from the system directory
#   agrees_with_an_independent_reader   (with CROSSCHECK_DIR, on 936) a table of
#                                unusual shape that the project's builder did not
#                                make: every line drawn is what the independent
#                                reference reader (tests/crosscheck) says
#   scales_to_144_dpi, scales_to_192_dpi   (936) the display at 150 % and 200 %:
#                                the label and the box whole, the pane's lines in
#                                its font at the scale
# On the Chinese code page (the default) every check runs. On another code
# page only what can differ between code pages does: the characters typed,
# the lines drawn for them, the messages and the program's end.
set -u
. "$(dirname "$0")/../../support/e2e.sh"
. "$(dirname "$0")/lookup_report.sh"
e2e_scenarios looks_up_typed_characters without_a_code_table agrees_with_an_independent_reader \
  scales_to_144_dpi scales_to_192_dpi
# Run without --scenario, the cross-check only with its folder, on 936.
scenario_applies() {  # NAME NvCodeFind.exe lookup_driver.exe OUTDIR [CROSSCHECK_DIR]
  [ "$1" != agrees_with_an_independent_reader ] || { [ -n "${5:-}" ] && chinese_system; }
}
e2e_choose "$@"; shift "$e2e_shift"
# A display at 200 % has twice the pixels of one at 100 %.
[ "$e2e_scenario" != scales_to_192_dpi ] || export NAVO_WINE_SCREEN=2048x1536x24
program=$(realpath "$1") driver=$(realpath "$2") out=$3 crosscheck=${4:-}
mkdir -p "$out"

driver() { run_gbk_driver "$driver" "$@"; }
# The pane shows exactly these lines (UTF-8; "heading" for the heading).
pane_shows() {
  local args=() line
  for line in "$@"; do
    if [ "$line" = heading ]; then args+=(heading); else args+=("$(gbk_hex "$line")"); fi
  done
  local report
  report=$(driver pane "${args[@]}")
  indented "$report"
  pane_matches "$report" $#
}
typed() {  # typed TEXT: what the driver reports (boxes answered, box text after)
  driver type "$(gbk_hex "$1")"
}
pasted() {  # pasted TEXT: the same, the text arriving in one change
  driver paste "$(gbk_hex "$1")"
}
start_lookup() { start_program --in "$(wine_sysdir)" "$program"; }

wine_begin || exit 1

if scenario looks_up_typed_characters; then
require "test table installed" driver install-table
start_lookup
start=$(driver wait-start 60000)
check "the dialog opens and no message is shown" equal dialog "$start"
check "before anything is typed the pane shows only the heading" pane_shows heading
# Dialog 141 as its resource script states it, in dialog units.
template_report() {
  driver template "$(windows_path "$program")"
}
expected_template='template-style: WS_POPUP|WS_VISIBLE|WS_CAPTION|WS_SYSMENU|WS_MINIMIZEBOX|DS_CENTER|DS_MODALFRAME|DS_SETFONT
template-exstyle: none
template-rect: 0,0 316x229
template-menu: none
template-class: default
template-title: "Navo码汉字编码查询"
template-font: 10 System
template-controls: 3
template-control-1: class Static id 65535 style 50020000 exstyle 00000000 at 21,10 169x8 text "请使用拼音等输入法输入待查询的汉字或词组："
template-control-2: class Edit id 1053 style 50810081 exstyle 00000000 at 196,7 37x12 text ""
template-control-3: class Static id 1005 style 50000000 exstyle 00000000 at 21,29 282x189 text "Static"
menus: 0
accelerator-tables: 0'
# The template's font, System, has Chinese glyphs only on a Chinese system;
# elsewhere (a raster font, on 1252 and 932 alike) the label is drawn in 宋体
# of the same height.
label_font=System
chinese_system || label_font=宋体
texts=$(driver texts)
indented "$texts"
check "the title is drawn in the caption font, no character a missing-glyph box" \
  eval 'grep -qx "title-shown: 11 of 11 characters" <<<"$texts" && grep -qx "title-boxes: 0" <<<"$texts"'
check "the label is drawn whole in $label_font, no character a box" \
  eval 'grep -qx "label-in-$label_font: yes" <<<"$texts" && grep -qx "label-boxes-in-$label_font: 0" <<<"$texts"'
check "no character of the heading is a box in the pane font" grep -qx "heading-boxes: 0" <<<"$texts"
if chinese_system; then
  # The controls' styles: WS_CHILD|WS_VISIBLE (50000000) with WS_GROUP (00020000)
  # for the label, WS_BORDER|WS_TABSTOP (00810000) and ES_CENTER|ES_AUTOHSCROLL
  # (00000081) for the box; a plain left-aligned static for the pane.
  check "the program's dialog template is the one written above, no menu or accelerators" \
    equal "$expected_template" "$(template_report)"
  wine_screenshot "$out/lookup-1-heading.png"
fi

check "one character is taken from the box at once" equal "box-text:" "$(typed 工)"
check "and drawn as its line on top" pane_shows "工: aaa  aaaa"
chinese_system && wine_screenshot "$out/lookup-2-one-line.png"
typed 童 >/dev/null
typed 中 >/dev/null
check "工 童 中 typed one after another are drawn with their codes, newest first" \
  pane_shows "中: kh  khk" "童: ujff" "工: aaa  aaaa"
wine_screenshot "$out/lookup-3-three-lines.png"

check "two characters in one change empty the box" equal "box-text:" "$(pasted 工人)"
check "and look nothing up" pane_shows "中: kh  khk" "童: ujff" "工: aaa  aaaa"
check "a single letter stays in the box" equal "box-text:61" "$(typed a)"
check "a character after it empties the box" equal "box-text:" "$(typed 工)"
check "without a lookup" pane_shows "中: kh  khk" "童: ujff" "工: aaa  aaaa"
# A character that GBK cannot hold reaches the lookup as "?", one byte, as
# on Chinese Windows: it stays, and the next character empties the box.
check "a character outside GBK (한) stays in the box" \
  equal "box-text:3F" "$(driver type-utf16 D55C)"
check "a character after it empties the box" equal "box-text:" "$(typed 工)"

if chinese_system; then
  for c in 一 二 三 四 五 六 七 八 九 十; do typed "$c" >/dev/null; done
  check "after fourteen lookups ten lines are drawn, newest first" pane_shows \
    "十: fgh" "九: vtn" "八: wty" "七: agn" "六: uygy" "五: gghg" "四: lhng" "三: dggg" "二: fgg" "一: ggll"
  wine_screenshot "$out/lookup-4-ten-lines.png"
fi

driver close >/dev/null
wait_program 30
check "the dialog's close box ends the program with exit code 0" [ $? -eq 0 ]
fi

if scenario without_a_code_table; then
require "navo.mb is not in the system directory" [ ! -e "$(wine_sysdir)/navo.mb" ]
start_lookup
start=$(driver wait-start 60000)
indented "$start"
check "打开文件失败 is shown once, then the dialog is there" \
  [ "$(grep -c '^box:打开文件失败/' <<<"$start")" -eq 1 -a "$(grep -c '^box:' <<<"$start")" -eq 1 ]
reports=$(typed 工)
indented "$reports"
check "a lookup reports the reading failures" equal "box:Error reading file/SetFilePointer
box:Error reading file/SetFilePointer
box:工童/读取造词代码错误
box-text:" "$reports"
check "and adds no line" pane_shows heading
wine_screenshot "$out/lookup-5-missing-table.png"
driver close >/dev/null
wait_program 30
check "closing still ends with exit code 0" [ $? -eq 0 ]
fi

if scenario agrees_with_an_independent_reader; then
  require "run with the cross-check's folder, on the Chinese code page" \
    eval '[ -n "$crosscheck" ] && chinese_system'
  tables=$out/independent-tables
  mkdir -p "$tables"
  python3 "$crosscheck/make_tables.py" "$tables" >/dev/null
  table=$tables/t02_big_blocks.mb
  python3 "$crosscheck/reference_reader.py" allhex |
    python3 "$crosscheck/reference_reader.py" batch "$table" > "$tables/reference.txt" 2>/dev/null
  # Eleven characters, as a user can type them (GBK characters outside the
  # private use area), that the reference finds without any report: those
  # with the longest codes strings (up to the 39-byte limit) and two with
  # none, in a shuffled but fixed order.
  mapfile -t chosen < <(python3 - "$tables/reference.txt" <<'PICK'
import sys
found = []
for line in open(sys.argv[1], encoding='utf-8'):
    hex_, verdict, codes, reports = line.rstrip('\n').split('\t')
    try:
        character = bytes.fromhex(hex_).decode('gbk')
    except UnicodeDecodeError:
        continue
    if verdict == 'ok' and not reports and not '\ue000' <= character <= '\uf8ff':
        found.append((hex_, codes))
longest = sorted((f for f in found if f[1]), key=lambda f: (-len(f[1]), f[0]))[:9]
empty = [f for f in found if not f[1]][:2]
for hex_, codes in sorted(longest + empty, key=lambda f: f[1]):
    print(hex_ + '\t' + codes)
PICK
)
  require "the reference finds eleven characters to type" [ ${#chosen[@]} -eq 11 ]
  cp "$table" "$(wine_sysdir)/navo.mb"
  start_lookup
  check "the dialog opens without message" equal dialog "$(driver wait-start 60000)"
  expected=()
  for entry in "${chosen[@]}"; do
    hex=${entry%%$'\t'*} codes=${entry#*$'\t'}
    driver type "$hex" >/dev/null
    expected=("$hex$(printf ': %s' "$codes" | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" "${expected[@]}")
  done
  report=$(driver pane "${expected[@]:0:10}")
  indented "$report"
  check "every line drawn is the reference's, newest first" pane_matches "$report" 10
  wine_screenshot "$out/lookup-6-independent-table.png"
  driver close >/dev/null
  wait_program 30
  check "and the program ends with exit code 0" [ $? -eq 0 ]
fi

for dpi in 144 192; do
  scenario "scales_to_${dpi}_dpi" || continue
  require "the display at $dpi DPI" e2e_display_dpi "$dpi"
  require "test table installed" driver install-table
  start_lookup
  check "the dialog opens and no message is shown" equal dialog "$(driver wait-start 60000)"
  texts=$(driver texts)
  indented "$texts"
  check "the label is drawn whole in System, no character a box" \
    eval 'grep -qx "label-in-System: yes" <<<"$texts" && grep -qx "label-boxes-in-System: 0" <<<"$texts"'
  check "the box holds a character of its font and lies inside the dialog" \
    eval 'grep -q "^box-holds-a-character: yes" <<<"$texts" && grep -qx "box-inside-dialog: yes" <<<"$texts"'
  typed 工 >/dev/null
  report=$(driver pane "$(gbk_hex "工: aaa  aaaa")")
  indented "$report"
  # 36 x 1.5 and 36 x 2.
  font_height=$((dpi == 144 ? 54 : 72))
  check "the pane draws in 宋体 $font_height, its line as drawn in that font" \
    eval 'grep -qx "pane font height: $font_height" <<<"$report" && pane_matches "$report" 1'
  for c in 童 中 一 二 三 四 五 六 七; do typed "$c" >/dev/null; done
  check "ten lines at that height fit the pane, newest first" pane_shows \
    "七: agn" "六: uygy" "五: gghg" "四: lhng" "三: dggg" "二: fgg" "一: ggll" "中: kh  khk" "童: ujff" "工: aaa  aaaa"
  wine_screenshot "$out/lookup-ten-lines-${dpi}dpi.png"
  driver close >/dev/null
  wait_program 30
  check "the dialog's close box ends the program with exit code 0" [ $? -eq 0 ]
done

echo "screenshots in $out"
e2e_finish
