#!/usr/bin/env bash
# NavoSetup.exe as a user meets it, under Wine on Xvfb: run from a
# distribution folder (its current directory) named in Chinese, Japanese and
# Cyrillic characters and holding the ten files, watched and answered by a
# driver program in the same prefix. Screenshots go to OUTDIR.
#
#   [NAVO_WINE_CODEPAGE=936|1252|932] setup_e2e.sh [--scenario NAME] NavoSetup.exe setup_driver.exe NvCodeFind.exe RtNavo.exe|stand-in OUTDIR
#
# On the Chinese code page (the default) every check runs. On another code
# page only what can differ between code pages does: the texts the user
# sees, the paths of the folder, the files installed and the registry, in a
# first installation and an incomplete one.
#
# Scenarios, each in a fresh prefix (without --scenario, all in turn); all
# but the first two start from a first installation (checked, not counted):
#   has_its_strings_icon_dialog_and_manifest  (936) as built: strings, icon, dialog template, manifest
#   installs_into_an_empty_system_directory   the first installation
#   replaces_an_earlier_installation     (936) the ten deletions, the ten copies
#   stops_at_escape_before_the_first_tick     (936)
#   keeps_the_earlier_copy_of_a_missing_file  a file missing from the folder
#   keeps_files_it_cannot_replace        (936) navo.ud held open by another program
#   runs_from_the_system_directory       (936) minimised, and under another name
#   names_files_whose_paths_do_not_fit   (936) folders of 247 and 258 characters
#   installs_at_144_dpi, installs_at_192_dpi  (936) the first installation with the
#                                        display at 150 % and 200 %: the backdrop over
#                                        the whole screen, the dialog and its text whole
#
# The distribution folder holds the project's own NvCodeFind.exe (and
# RtNavo.exe when it is built), a code table made by the driver, and
# stand-ins for the files supplied beside the installer.
set -u
. "$(dirname "$0")/../../support/e2e.sh"
. "$(dirname "$0")/setup_report.sh"
e2e_scenarios has_its_strings_icon_dialog_and_manifest installs_into_an_empty_system_directory \
  replaces_an_earlier_installation stops_at_escape_before_the_first_tick \
  keeps_the_earlier_copy_of_a_missing_file keeps_files_it_cannot_replace \
  runs_from_the_system_directory names_files_whose_paths_do_not_fit \
  installs_at_144_dpi installs_at_192_dpi
# Run without --scenario, off 936 only the two that can differ between code pages.
scenario_applies() {  # NAME ARGS...
  chinese_system || [ "$1" = installs_into_an_empty_system_directory ] ||
    [ "$1" = keeps_the_earlier_copy_of_a_missing_file ]
}
e2e_choose "$@"; shift "$e2e_shift"
# A display at 200 % has twice the pixels of one at 100 %.
[ "$e2e_scenario" != installs_at_192_dpi ] || export NAVO_WINE_SCREEN=2048x1536x24
setup=$(realpath "$1") driver=$(realpath "$2") codefind=$(realpath "$3") rtnavo=$4 out=$5
[ "$rtnavo" = stand-in ] || rtnavo=$(realpath "$rtnavo")
mkdir -p "$out"
out=$(realpath "$out")

names=(navo.av navo.ime navo.mb navo.ud RtNavo.exe navo.hlp navo.cnt navoOp.chm DodaZor.chm
       NvCodeFind.exe)
system_directory_windows='C:\windows\system32'

driver() { run_gbk_driver "$driver" "$@"; }

# Runs NavoSetup.exe through the driver with FOLDER (a Windows path) as its
# current directory; sets report, the driver's account of the run.
run_setup() {
  local started
  started=$(wine_now)
  help_seen=$(help_requests)
  report=$(driver run "$(windows_path "$setup")" "$@")
  indented "$report"
  echo "    (run took $(wine_elapsed "$started") s)"
}
# Converts the driver's capture NAME.bmp (in the test's own folder) into OUTDIR/PNG.
keep_capture() {
  rm -f "$out/$2"
  if [ -f "$base/$1.bmp" ]; then
    /usr/bin/convert "$base/$1.bmp" "$out/$2" && rm -f "$base/$1.bmp"
  fi
  [ -f "$out/$2" ]
}

# A distribution folder: the project's programs, a code table, stand-ins.
make_distribution() {  # folder version
  local folder=$1 version=$2 name
  rm -rf "$folder" && mkdir -p "$folder"
  cp "$codefind" "$folder/NvCodeFind.exe"
  if [ "$rtnavo" = stand-in ]; then
    printf 'stand-in for RtNavo.exe (not built here), version %s\n' "$version" >"$folder/RtNavo.exe"
  else
    cp "$rtnavo" "$folder/RtNavo.exe"
  fi
  # Made in a short path and moved: the folder's may be too long for the driver.
  driver make-table "$(windows_path "$base/navo.mb")" "$version" >/dev/null
  mv "$base/navo.mb" "$folder/navo.mb"
  for name in navo.av navo.ime navo.ud navo.hlp navo.cnt navoOp.chm DodaZor.chm; do
    { printf 'stand-in for %s, version %s\n' "$name" "$version"; head -c 4096 /dev/urandom; } \
      >"$folder/$name"
  done
}
installed_from() {  # folder name...: each file in the system directory equals the folder's
  local folder=$1 name bad=0; shift
  for name in "$@"; do
    cmp -s "$folder/$name" "$sys/$name" || { echo "    $name differs or is missing"; bad=1; }
  done
  return $bad
}
absent() {  # name...: not in the system directory
  local name bad=0
  for name in "$@"; do [ -e "$sys/$name" ] && { echo "    $name is there"; bad=1; }; done
  return $bad
}
help_requests() { [ -f "$help_log" ] && tr -d '\r' <"$help_log" | wc -l || echo 0; }
help_seen=0  # the requests before the last run
wait_help_request() {  # waits up to 60 s for the last run's request
  local i
  for ((i = 0; i < 600; i++)); do
    [ "$(help_requests)" -ge $((help_seen + 1)) ] && return 0
    sleep 0.1
  done
  return 1
}
layouts() { driver layouts; }
# The layout's values as regedit exports them, in UTF-16, read as UTF-8.
exported_layout() {  # key
  local file=$base/layout.reg
  wine_exec regedit /E "$(windows_path "$file")" \
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Keyboard Layouts\\$1" \
    </dev/null >/dev/null 2>&1
  iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r'
}
layout_count() { sed -n 's/^layouts with an input method: //p' <<<"$1"; }

wine_begin || exit 1
sys=$(wine_sysdir)
base=$NAVO_WINE_TMP_PREFIX
dist="$base/dist 安装 ファイル Папка"
help_log=$WINEPREFIX/drive_c/help-requests.txt

# The test's observer for .hlp files: the driver writes down the file that
# the shell was asked to open.
register_help_recorder "$driver" 'C:\help-requests.txt'

# At another scale: set before any program runs; its screenshots apart.
if [[ "$e2e_scenario" =~ ^installs_at_([0-9]+)_dpi$ ]]; then
  dpi=${BASH_REMATCH[1]}
  require "the display at $dpi DPI, on the Chinese code page" \
    eval 'chinese_system && e2e_display_dpi $dpi'
  out=$out/${dpi}dpi
  mkdir -p "$out"
fi

if scenario has_its_strings_icon_dialog_and_manifest; then
require "the resources are checked on the Chinese code page" chinese_system
report=$(driver resources "$(windows_path "$setup")")
indented "$report"
check "string 1 is the window class NAVOSETUP" saw string-1 NAVOSETUP
check "string 2 is the title" saw string-2 "Navo输入法2.0白金版"
check "strings, icon and dialog are Chinese (PRC)" \
  eval 'saw strings-language "Chinese (PRC)" && saw icon-language "Chinese (PRC)" && saw dialog-language "Chinese (PRC)"'
check "the icon LOADBMP is one 32x32 image in 16 colours" \
  saw icon-LOADBMP "1 image: 32x32 colours 16 bits 4"
check "SETUPDLG: WS_POPUP, DS_SETFONT and DS_CENTER alone, no extended style" \
  eval 'saw template-style "WS_POPUP|DS_CENTER|DS_SETFONT" && saw template-exstyle none'
check "SETUPDLG: at 0,0, 115 x 31 units, no menu, default class, empty title" \
  eval 'saw template-rect "0,0 115x31" && saw template-menu none && saw template-class default && saw template-title "\"\""'
check "SETUPDLG: font 华文新魏 16" saw template-font "16 华文新魏"
check "SETUPDLG: the text control as its template says" saw template-control-1 \
  "class Static id 65535 style 50020000 exstyle 00000000 at 31,12 73x8 text \"正在安装，请稍候……\""
check "SETUPDLG: the icon control as its template says" saw template-control-2 \
  "class Static id 65535 style 50000203 exstyle 00000000 at 5,6 20x20 text \"LOADBMP\""
check "SETUPDLG: two controls and no button" saw template-controls 2
check "the manifest asks Windows for administrator rights" \
  saw manifest-execution-level requireAdministrator
fi

# The first installation, from a folder named 安装 ファイル Папка; where it
# is not the scenario, a step that the scenario needs, without screenshots.
first_installation() {
make_distribution "$dist" 1
cp -a "$dist" "$base/dist-1"
require "none of the ten files is in the system directory before" absent "${names[@]}"
if [ "$checks_given" = 1 ]; then
  run_setup "$(windows_path "$dist")"
else
  run_setup "$(windows_path "$dist")" --capture "$(windows_path "$base")"
fi
check "the backdrop: class NAVOSETUP, the title" \
  eval 'saw backdrop-class NAVOSETUP && saw backdrop-title "Navo输入法2.0白金版"'
if chinese_system; then
  check "the backdrop: a topmost visible popup" \
    eval 'saw backdrop-style "WS_POPUP|WS_VISIBLE" && saw backdrop-exstyle WS_EX_TOPMOST'
  check "the backdrop covers the primary screen from 0,0" \
    saw backdrop-rect "0,0 $(value screen)"
  check "the backdrop is shown normally, the screen in the desktop colour" \
    eval 'saw backdrop-shown normal && saw backdrop-desktop-coloured "8 of 8 places"'
  check "the progress dialog is modal: owned by the backdrop, which it disables" \
    eval 'saw dialog-owner backdrop && saw backdrop-enabled no'
  check "the dialog's style" saw dialog-style "WS_POPUP|WS_VISIBLE|DS_CENTER|DS_SETFONT"
fi
# Where the template puts the dialog's parts, in the units of 华文新魏 16.
# The template sizes the text's control for that font; where the text is
# wider in the font actually selected, the program widens the control, and
# the dialog by as much.
base_units=$(value dialog-base-units)
base_units=${base_units:-0x0}
text_control=$(in_pixels 31 12 73 8)
text_control_width=${text_control#* } text_width=$(value dialog-text-width)
text_control_width=${text_control_width%x*}
wider=$((${text_width:-0} > text_control_width ? ${text_width:-0} - text_control_width : 0))
echo "    the text's control: $text_control as the template sizes it, $wider pixels wider for the text"
chinese_system && check "its icon where the template puts it" saw dialog-control-2 \
  "Static id 65535 style 50000203 at $(in_pixels 5 6 20 20) with icon"
check "the dialog is untitled, without menu, centred, 115 x 31 units in 华文新魏 16 (wider as its text needs)" \
  eval 'saw dialog-title "\"\"" && saw dialog-menu none && dialog_centred && saw dialog-client "$(in_pixels 0 0 115 31 $wider)"'
check "its text 正在安装，请稍候…… where the template puts it, as much wider" saw dialog-control-1 \
  "Static id 65535 style 50020000 at $(in_pixels 31 12 73 8 $wider) text 正在安装，请稍候……"
check "the dialog's text was drawn" saw dialog-text-drawn yes
check "the waiting text is drawn whole" text_drawn_whole
check "  in 华文新魏 as the template names it (a font that holds it here), no character a box" \
  eval 'saw dialog-text-in-华文新魏 yes && saw dialog-text-boxes-in-华文新魏 0'
[ "$checks_given" = 1 ] ||
  check "screenshot of the backdrop with the dialog" keep_capture dialog setup-1-backdrop-dialog.png
check "the installation step comes about one second after the dialog" \
  between step-after-dialog-ms 300 3000
check "the completion message 安装完毕，欢迎使用！ with caption string 2, owned by the backdrop" \
  eval 'saw message "安装完毕，欢迎使用！" && saw message-caption "Navo输入法2.0白金版" && saw message-owner backdrop'
check "  its text drawn in the message font and its caption in the caption font, no character a box" \
  message_readable
check "the message has one OK button and no icon" \
  eval 'saw message-buttons OK && { ! chinese_system || saw message-icon none; }'
[ "$checks_given" = 1 ] ||
  check "screenshot of the completion message" keep_capture message setup-2-completion-message.png
check "no other dialog came up" saw other-dialog none
check "exit code 0" saw exit-code 0
check "all ten files are in the system directory, byte for byte" installed_from "$dist" "${names[@]}"
check "the help file navo.hlp was asked to be opened from the system directory" wait_help_request
check "  exactly C:\\windows\\system32\\navo.hlp" \
  [ "$(tr -d '\r' <"$help_log")" = "$system_directory_windows\\navo.hlp" ]
layout_report=$(layouts)
indented "$layout_report"
check "one layout registered with the module path and the layout text" \
  [ "$(grep -c '^layout e0[0-9a-f]\{6\}: Ime File=C:\\windows\\system32\\navo.ime Layout Text=Navo输入法2.0白金版$' <<<"$layout_report")" -eq 1 ]
key=$(sed -n 's/^layout \(e0[0-9a-f]\{6\}\): Ime File=C:\\windows\\system32\\navo.ime .*/\1/p' <<<"$layout_report" | head -n 1)
# The layout's language is the system's keyboard's: Chinese (PRC) here.
chinese_system && check "  under a Chinese (PRC) layout" eval '[[ $key == e0??0804 ]]'
registry=$(exported_layout "$key")
indented "$registry"
check "exported by regedit in UTF-16: Ime File and Layout Text" \
  eval 'grep -qxF "\"Ime File\"=\"C:\\\\windows\\\\system32\\\\navo.ime\"" <<<"$registry" && grep -qxF "\"Layout Text\"=\"Navo输入法2.0白金版\"" <<<"$registry"'
}
if scenario installs_into_an_empty_system_directory || scenario installs_at_144_dpi ||
  scenario installs_at_192_dpi; then
  first_installation
elif [ "$e2e_scenario" != has_its_strings_icon_dialog_and_manifest ]; then
  given first_installation
fi
previous=$base/dist-1  # what the system directory holds

if scenario replaces_an_earlier_installation; then
require "reinstalled on the Chinese code page" chinese_system
make_distribution "$dist" 2
cp -a "$dist" "$base/dist-2"
require "the new files differ from the installed ones" eval '! installed_from "$dist" navo.av navo.mb >/dev/null'
# The system directory as the kernel sees it change: every deletion and
# every file created there, in order.
: >"$base/watch.txt"
rm -f "$base/watch-stop"
python3 "$(dirname "$0")/watch_directory.py" "$sys" "$base/changes.txt" "$base/watch-stop" \
  >"$base/watch.txt" 2>&1 &
watcher=$!
for ((i = 0; i < 100; i++)); do grep -q watching "$base/watch.txt" && break; sleep 0.1; done
before=$(layouts)
run_setup "$(windows_path "$dist")"
touch "$base/watch-stop"
wait "$watcher"
expected_changes=$(printf 'delete %s\n' navo.av navo.ime navo.mb navo.ud RtNavo.exe navo.hlp navo.cnt \
  navoOp.chm DodaZor.chm NvCodeFind.exe; printf 'create %s\n' navo.hlp navo.cnt navo.av navo.ime \
  navo.mb navo.ud RtNavo.exe navoOp.chm DodaZor.chm NvCodeFind.exe)
check "the ten deletions, then the ten copies, each list in its order" \
  eval '[ "$(cat "$base/changes.txt")" = "$expected_changes" ] || { sed "s/^/    saw: /" "$base/changes.txt"; false; }'
after=$(layouts)
check "and the registration" [ "$(layout_count "$after")" -eq $(($(layout_count "$before") + 1)) ]
check "no confirmation or any other dialog came up" saw other-dialog none
check "the completion message" saw message "安装完毕，欢迎使用！"
check "exit code 0" saw exit-code 0
check "the new files replaced the old ones, all ten byte for byte" installed_from "$dist" "${names[@]}"
check "the help file was asked to be opened again" wait_help_request
fi

if scenario stops_at_escape_before_the_first_tick; then
require "stopped on the Chinese code page" chinese_system
before=$(layouts)
make_distribution "$dist" 3
run_setup "$(windows_path "$dist")" --esc
check "Esc reached the dialog before its first tick" \
  eval 'saw dialog shown && [ -n "$(value escape-pressed-after-ms)" ]'
check "the dialog ended at once, before the step" between dialog-shown-ms 0 900
check "no message at all" saw message none
check "exit code 2: nothing installed" saw exit-code 2
check "nothing was deleted or copied: the earlier installation is untouched" \
  installed_from "$previous" "${names[@]}"
after=$(layouts)
check "nothing was registered" [ "$(layout_count "$after")" = "$(layout_count "$before")" ]
sleep 8
check "the help file was not asked to be opened" [ "$(help_requests)" -eq "$help_seen" ]
fi

if scenario keeps_the_earlier_copy_of_a_missing_file; then
make_distribution "$dist" 4
rm "$dist/navo.mb"
before=$(layouts)
run_setup "$(windows_path "$dist")" --capture "$(windows_path "$base")"
check "the final message says the installation is incomplete and keeps the old navo.mb" \
  saw message "安装未完成，以下文件未能安装：\\nnavo.mb（保留原有文件）"
check "  its text drawn in the message font and its caption in the caption font, no character a box" \
  message_readable
check "  with a warning icon, one OK button and the caption" \
  eval '{ ! chinese_system || saw message-icon warning; } && saw message-buttons OK && saw message-caption "Navo输入法2.0白金版"'
check "screenshot of the incomplete message" keep_capture message setup-3-incomplete-message.png
check "exit code 1: some files not installed" saw exit-code 1
check "the earlier navo.mb is still there, byte for byte" installed_from "$previous" navo.mb
check "the other nine files are installed" installed_from "$dist" \
  navo.av navo.ime navo.ud RtNavo.exe navo.hlp navo.cnt navoOp.chm DodaZor.chm NvCodeFind.exe
after=$(layouts)
check "the module was registered" [ "$(layout_count "$after")" -eq $(($(layout_count "$before") + 1)) ]
check "the help file was asked to be opened" wait_help_request
fi

if scenario keeps_files_it_cannot_replace; then
require "held on the Chinese code page" chinese_system
make_distribution "$dist" 5
release=$base/release-hold
: >"$base/hold.txt"
rm -f "$release"
wine_exec "$driver" hold "$(windows_path "$sys/navo.ud")" "$(windows_path "$release")" \
  </dev/null >"$base/hold.txt" 2>/dev/null &
holder=$!
for ((i = 0; i < 300; i++)); do grep -q holding "$base/hold.txt" && break; sleep 0.1; done
require "the other program holds navo.ud" grep -q holding "$base/hold.txt"
run_setup "$(windows_path "$dist")"
touch "$release"
wait "$holder"
# Wine's own question, drawn by itself (no text control): known by its caption.
check "the platform asked whether to replace it (确认覆盖文件), and was answered yes" \
  saw other-dialog '"确认覆盖文件"'
check "no completion message: navo.ud is named as not installed, its earlier copy kept" \
  saw message "安装未完成，以下文件未能安装：\\nnavo.ud（保留原有文件）"
check "exit code 1" saw exit-code 1
check "the earlier navo.ud is still there, byte for byte" installed_from "$previous" navo.ud
check "the other nine files are installed" installed_from "$dist" \
  navo.av navo.ime navo.mb RtNavo.exe navo.hlp navo.cnt navoOp.chm DodaZor.chm NvCodeFind.exe
fi

if scenario runs_from_the_system_directory; then
require "run on the Chinese code page" chinese_system
echo "== run from the system directory itself, started minimised"
before=$(layouts)
run_setup "$system_directory_windows" --show 7  # SW_SHOWMINNOACTIVE
check "the backdrop is shown normally all the same" saw backdrop-shown normal
check "nothing was deleted or copied" installed_from "$previous" "${names[@]}"
check "the ten files are there: the completion message" saw message "安装完毕，欢迎使用！"
after=$(layouts)
check "the registration still ran" [ "$(layout_count "$after")" -eq $(($(layout_count "$before") + 1)) ]
check "exit code 0" saw exit-code 0
check "the help file was asked to be opened" wait_help_request

echo "== run from the system directory under another name, navo.mb missing there"
# The same directory through drive Z:, the root of the Unix file system.
rm "$sys/navo.mb"
run_setup "$(windows_path "$sys")"
check "nothing was deleted or copied" installed_from "$previous" \
  navo.av navo.ime navo.ud RtNavo.exe navo.hlp navo.cnt navoOp.chm DodaZor.chm NvCodeFind.exe
check "the file missing there is named as not installed, none left" \
  saw message "安装未完成，以下文件未能安装：\\nnavo.mb（无）"
check "exit code 1" saw exit-code 1
fi

# A distribution folder whose path (drive Z:, the root of the Unix file
# system, without its trailing backslash) is LENGTH characters long.
long_folder() {  # length
  local deep=$base/long-$1
  while [ ${#deep} -lt 200 ]; do deep=$deep/$(printf 'd%.0s' {1..40}); done
  printf '%s/%s' "$deep" "$(head -c $(($1 - 2 - ${#deep} - 1)) /dev/zero | tr '\0' f)"
}
if scenario names_files_whose_paths_do_not_fit; then
require "run on the Chinese code page" chinese_system
echo "== a distribution folder of 247 characters: NvCodeFind.exe's source path does not fit"
deep=$(long_folder 247)
make_distribution "$deep" 6
echo "    folder: $(windows_path "$deep") ($(windows_path "$deep" | wc -c) characters)"
run_setup "$(windows_path "$deep")"
check "the message names NvCodeFind.exe, its earlier copy kept" \
  saw message "安装未完成，以下文件未能安装：\\nNvCodeFind.exe（保留原有文件）"
check "the earlier NvCodeFind.exe is still there, byte for byte" \
  installed_from "$previous" NvCodeFind.exe
check "the nine others are installed" installed_from "$deep" \
  navo.av navo.ime navo.mb navo.ud RtNavo.exe navo.hlp navo.cnt navoOp.chm DodaZor.chm
check "exit code 1" saw exit-code 1
cp -a "$deep" "$base/dist-6"
cp "$previous/NvCodeFind.exe" "$base/dist-6/NvCodeFind.exe"

echo "== a distribution folder of 258 characters: no source path fits"
deep=$(long_folder 258)
make_distribution "$deep" 7
echo "    folder: $(windows_path "$deep") ($(windows_path "$deep" | wc -c) characters)"
before=$(layouts)
run_setup "$(windows_path "$deep")"
all_kept="安装未完成，以下文件未能安装："
for name in navo.hlp navo.cnt navo.av navo.ime navo.mb navo.ud RtNavo.exe navoOp.chm DodaZor.chm \
  NvCodeFind.exe; do all_kept="$all_kept\\n$name（保留原有文件）"; done
check "the message names all ten, each earlier copy kept" saw message "$all_kept"
check "nothing of the earlier installation is lost: all ten byte for byte" \
  installed_from "$base/dist-6" "${names[@]}"
check "exit code 2: nothing installed" saw exit-code 2
after=$(layouts)
check "the kept module is registered" [ "$(layout_count "$after")" -eq $(($(layout_count "$before") + 1)) ]
check "the kept help file is opened" wait_help_request
fi

echo "screenshots in $out"
e2e_finish
