#!/usr/bin/env bash
# The whole road as a user travels it, under Wine on the code page that
# NAVO_WINE_CODEPAGE names (936, Chinese, by default)
# on Xvfb, in one fresh prefix: NavoSetup.exe installs the distribution
# folder; NvCodeFind.exe, started from the system directory, looks characters
# up in the installed navo.mb; RtNavo.exe, started from there, shows its
# chart and is switched and ended by a driver acting as the outside program.
#
# One scenario (installs_and_runs_the_distribution): each step needs the one before.
#
#   whole_road_e2e.sh [--scenario installs_and_runs_the_distribution] DIST_DIR setup_driver.exe lookup_driver.exe root_driver.exe OUTDIR
#
# The lines the window must draw come from the distribution's own navo.mb,
# read by the independent reference reader (tests/crosscheck), which shares
# no code with the programs.
set -u
. "$(dirname "$0")/../support/e2e.sh"
. "$(dirname "$0")/../codefind/e2e/lookup_report.sh"
. "$(dirname "$0")/../rootwin/e2e/root_report.sh"
e2e_scenarios installs_and_runs_the_distribution
e2e_choose "$@"; shift "$e2e_shift"
dist=$(realpath "$1") setup_driver=$(realpath "$2") lookup_driver=$(realpath "$3")
root_driver=$(realpath "$4") out=$5
reference_reader=$(dirname "$0")/../crosscheck/reference_reader.py
mkdir -p "$out"
out=$(realpath "$out")
names=(navo.av navo.ime navo.mb navo.ud RtNavo.exe navo.hlp navo.cnt navoOp.chm DodaZor.chm
       NvCodeFind.exe)
run() { run_gbk_driver "$@"; }

for name in NavoSetup.exe "${names[@]}"; do
  require "the distribution holds $name (build the distribution target)" [ -f "$dist/$name" ]
done
require "the distribution holds no other files" [ "$(ls "$dist" | wc -l)" -eq 11 ]

wine_begin || exit 1
sys=$(wine_sysdir)

# The outside world's handler for .hlp files: it only writes the request down.
register_help_recorder "$setup_driver" 'C:\help-requests.txt'

scenario installs_and_runs_the_distribution
echo "== 1. NavoSetup.exe installs the distribution folder"
# Started from the distribution folder, its current directory, by a driver
# that reads and closes its final message as a user does.
report=$(run "$setup_driver" run "$(windows_path "$dist/NavoSetup.exe")" "$(windows_path "$dist")")
indented "$report"
check "the installation is reported complete" \
  eval 'grep -qx "message: 安装完毕，欢迎使用！" <<<"$report" && grep -qx "message-caption: Navo输入法2.0白金版" <<<"$report"'
check "the installer ends with exit code 0" grep -qx 'exit-code: 0' <<<"$report"
all_installed() {
  local name
  for name in "${names[@]}"; do cmp -s "$dist/$name" "$sys/$name" || { echo "    $name differs"; return 1; }; done
}
check "the ten files are in the system directory, byte for byte" all_installed
layouts=$(run "$setup_driver" layouts)
indented "$layouts"
check "the input method is registered with its module and layout text" \
  grep -q 'C:\\windows\\system32\\navo.ime.*Navo输入法2.0白金版' <<<"$layouts"

versions_shown() {  # what Windows shows of each program: its version resource
  local name report
  for name in NvCodeFind.exe RtNavo.exe; do
    report=$(run "$lookup_driver" version "$(windows_path "$sys/$name")")
    indented "$report"
    grep -qx 'ProductName: Navo输入法2.0白金版' <<<"$report" || return 1
  done
  report=$(run "$lookup_driver" version "$(windows_path "$dist/NavoSetup.exe")")
  indented "$report"
  grep -qx 'ProductName: Navo输入法2.0白金版' <<<"$report"
}
check "the three programs carry their version and product name" versions_shown

echo "== 2. NvCodeFind.exe from the system directory looks up in the installed table"
characters=(码 表 查 询 工 字)
# The reference's lookup: "HEX<TAB>ok<TAB>codes<TAB>" when nothing is reported.
reference_line() {  # character
  local hex verdict codes reports
  IFS=$'\t' read -r hex verdict codes reports < <(gbk_hex "$1" |
    python3 "$reference_reader" batch "$dist/navo.mb")
  [ "$verdict" = ok ] && [ -z "$reports" ] && [ -n "$codes" ] && echo "$1: $codes"
}
expected=()
for c in "${characters[@]}"; do
  line=$(reference_line "$c")
  require "the reference reader finds codes for $c in the distribution's table" [ -n "$line" ]
  expected=("$(gbk_hex "$line")" "${expected[@]}")
done
start_program --in "$sys" "$sys/NvCodeFind.exe"
check "its dialog opens without a message" [ "$(run "$lookup_driver" wait-start 60000)" = dialog ]
for c in "${characters[@]}"; do run "$lookup_driver" type "$(gbk_hex "$c")" >/dev/null; done
report=$(run "$lookup_driver" pane "${expected[@]}")
indented "$report"
check "each typed character's line is drawn, newest first" pane_matches "$report" ${#expected[@]}
wine_screenshot "$out/road-2-lookup.png"
run "$lookup_driver" close >/dev/null
wait_program 30
check "the lookup tool ends with exit code 0" [ $? -eq 0 ]

echo "== 3. RtNavo.exe from the system directory, controlled from outside"
start_program --in "$sys" "$sys/RtNavo.exe" 2
report=$(run "$root_driver" wait 60000 chart 2 'C:\windows\system32\RtNavo.exe' 5000)
indented "$report"
check "it shows chart 2 as its command line asks" chart_shown 2
wine_screenshot "$out/road-3-chart-2.png"
report=$(run "$root_driver" send 1 chart 1 'C:\windows\system32\RtNavo.exe' 5000)
indented "$report"
check "the control message switches it to chart 1" eval 'answered_zero 1 && chart_shown 1'
wine_screenshot "$out/road-3-chart-1.png"
report=$(run "$root_driver" send 3 gone 10000)
indented "$report"
check "control message 3 closes its window" eval 'answered_zero 3 && none_left'
wait_program 30
check "and ends it with exit code 0" [ $? -eq 0 ]

echo "screenshots in $out"
e2e_finish
