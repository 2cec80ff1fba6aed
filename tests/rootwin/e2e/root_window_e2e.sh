#!/usr/bin/env bash
# RtNavo.exe as the program that controls it and as a user meet it, under
# Wine on Xvfb with the system code page NAVO_WINE_CODEPAGE (936, the
# default, 1252 or 932): a
# driver program finds the window by its class name, reads its geometry and
# the pixels it shows and sends it the control message; xdotool is the
# mouse; reg reads the saved position. Screenshots go to OUTDIR.
#
# Every code page: the window, its class and title, the chart chosen by the
# command line and switched by the control message, the position saved
# where HKLM\Software\Kvel was not there and restored, a corner wholly off
# the screen, a start from a folder named in three scripts. On 936 only (the
# drag draws the same pixels whatever the code page, and takes most of the
# time): the resources, the drags with their frames, the table of saved
# values.
#
# Scenarios, each in a fresh prefix (without --scenario, all in turn):
#   shows_its_window_where_nothing_was_saved   first start, class, chart, control message
#   remembers_where_it_was_moved               dragged (936) or moved, quit, started again
#   starts_at_a_saved_position                 saved values of each kind
#   starts_from_a_folder_in_three_scripts      started by another program, quoted
#   scales_to_144_dpi, scales_to_192_dpi       (936) the display at 150 % and 200 %: the
#                                              window, its charts and its drag frame at
#                                              the scale, its position in pixels
#
#   root_window_e2e.sh [--scenario NAME] RtNavo.exe root_driver.exe OUTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../support/e2e.sh"
. "$here/root_report.sh"
e2e_scenarios shows_its_window_where_nothing_was_saved remembers_where_it_was_moved \
  starts_at_a_saved_position starts_from_a_folder_in_three_scripts \
  scales_to_144_dpi scales_to_192_dpi
e2e_choose "$@"; shift "$e2e_shift"
# The window's outer size: 594 x 246 at 96 DPI.
win_w=594 win_h=246
# A display at 200 % has twice the pixels of one at 100 %.
[ "$e2e_scenario" != scales_to_192_dpi ] || export NAVO_WINE_SCREEN=2048x1536x24
program=$(realpath "$1") driver=$(realpath "$2") out=$3
mkdir -p "$out"
codepage=${NAVO_WINE_CODEPAGE:-936}
full=0
[ "$codepage" = 936 ] && full=1
shot() { wine_screenshot "$out/$1.png"; }  # NAME: a screenshot of the whole screen

# The driver's report of its last run.
report=""
driver() {
  report=$(run_driver "$driver" "$@")
  indented "$report"
}
value() { sed -n "s/^$1 //p" <<<"$report" | head -n 1; }
has_line() { grep -qxF "$1" <<<"$report"; }

winprogram="Z:$(tr / '\\' <<<"$program")"

# Wine's relay trace of the program's registry opening and creating calls,
# with their exact arguments, into $trace (in the test's temporary folder):
# Wine itself lets a subkey be created through a parent opened for reading
# only, Windows does not, so the access asked for is checked here.
trace=""
start_traced() {
  trace="$NAVO_WINE_TMP_PREFIX/relay.log"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Debug]' \
    '"RelayInclude"="advapi32.RegOpenKeyExW;advapi32.RegCreateKeyExW"' \
    '"RelayFromInclude"="rtnavo.exe"' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$trace.reg"
  wine_exec regedit /S "$trace.reg" </dev/null >/dev/null 2>&1
  WINEDEBUG=+relay "$NAVO_WINE_LOADER" "$program" "$@" </dev/null >/dev/null 2>"$trace" &
  program_pid=$!
}
# FUNCTION NAME ACCESS: the program called FUNCTION for the key NAME with
# ACCESS (8 hex digits), as the trace shows it.
traced_call() {
  grep -qE "Call advapi32\.$1\([0-9a-f]+,[0-9a-f]+ L\"$2\",00000000,(00000000,00000000,)?$3," \
    "$trace"
}
quit_program() {  # control message 3; the exit code
  driver send 3 gone 20000
  wait_program
}
# Where the window starts when nothing is saved, from the work area in the
# driver's last report.
default_corner() {
  read -r area_left area_top area_right area_bottom <<<"$(value workarea)"
  start_x=$((area_right - win_w)) start_y=$((area_bottom - win_h))
}

# RootPosition as "x y" (REG_DWORD, halves sign-extended), "none", or its
# type and data as reg prints them.
stored() {
  local line type data v x y
  line=$(wine_reg_query 'HKLM\Software\Kvel' RootPosition | awk '$1 == "RootPosition"')
  [ -n "$line" ] || { echo none; return; }
  read -r _ type data <<<"$line"
  [ "$type" = REG_DWORD ] || { echo "$type $data"; return; }
  x=$((data & 0xFFFF)) y=$(((data >> 16) & 0xFFFF))
  ((x >= 32768)) && x=$((x - 65536))
  ((y >= 32768)) && y=$((y - 65536))
  echo "$x $y"
}
no_maker_key() { ! wine_reg_query 'HKLM\Software\Kvel' >/dev/null; }
store() {  # TYPE DATA: RootPosition as reg add takes it
  wine_exec reg add 'HKLM\Software\Kvel' /v RootPosition /t "$1" /d "$2" /f </dev/null >/dev/null 2>&1
}

# The window's outer rectangle as the driver reported it: "left top right bottom".
rect_at() { echo "$1 $2 $(($1 + win_w)) $(($2 + win_h))"; }

# The mouse, each step with time to arrive under an emulator; after the
# press, time for the drag timer to arm the drag.
mouse() { xdotool "$@"; sleep 1.5; }
press() { xdotool mousedown 1; sleep 3; }
# BEFORE.png SHOT.png left top: a screenshot into SHOT.png shows the inverted
# frame of the window's size there (tried for up to 10 s).
frame_shown() {
  local i result
  for ((i = 0; i < 10; i++)); do
    wine_screenshot "$2"
    result=$(python3 "$here/frame_check.py" "$1" "$2" $(rect_at "$3" "$4")) && break
    sleep 1
  done
  echo "    $result"
  [ $i -lt 10 ]
}

start_at() {  # TYPE DATA: stores RootPosition, starts chart 2, reports the window
  store "$1" "$2"
  start_program "$program" 2
  driver wait 60000 geometry
}

# The drags of a user, with their frames on the screen: from the default
# corner against each edge, ending at 0, 0.
drag_the_window() {
  echo "== dragging"
  x=$((start_x + 100)) y=$((start_y + 50))  # grabbed 100, 50 into the window
  mouse mousemove $x $y
  wine_screenshot "$out/before-drag-1.png"
  press
  mouse mousemove $((x + 5)) $((y + 5))
  check "the first move shows the inverted frame over the window's own place" \
    frame_shown "$out/before-drag-1.png" "$out/rtnavo-3-frame-over-window.png" $start_x $start_y
  mouse mousemove 300 300
  check "the frame follows the mouse at the grab offset" \
    frame_shown "$out/before-drag-1.png" "$out/rtnavo-4-drag-outline.png" 200 250
  driver geometry flags
  check "while the button is held the window does not move" \
    equal "$(rect_at $start_x $start_y)" "$(value rect)"
  check "and its drag flags say pressed and outlined (3)" equal 3 "$(value flags)"
  mouse mouseup 1
  driver at 200 250 20000 geometry flags chart 2 "$winprogram" 3000
  check "after the release the window is at the frame's last place" \
    equal "$(rect_at 200 250)" "$(value rect)"
  check "drag flags back to 0" equal 0 "$(value flags)"
  check "repainted there, chart 2 whole: no frame left on it" chart_shown 2
  wine_screenshot "$out/rtnavo-5-after-drag.png"
  check "RootPosition holds the new corner" equal "200 250" "$(stored)"

  # Against the right and bottom edges: the cursor minus the grab offset
  # would put the window at 920, 710; the frame stops flush at 430, 522.
  mouse mousemove 300 300
  wine_screenshot "$out/before-drag-2.png"
  press
  mouse mousemove 305 305
  mouse mousemove $((area_right - 4)) $((area_bottom - 8))
  check "dragged past the bottom-right corner, the frame stops flush with both edges" \
    frame_shown "$out/before-drag-2.png" "$out/rtnavo-6-frame-against-edge.png" $start_x $start_y
  mouse mouseup 1
  driver at $start_x $start_y 20000 geometry
  check "the window stops flush with the right and bottom edges, not at cursor minus grab offset" \
    equal "$(rect_at $start_x $start_y)" "$(value rect)"
  check "RootPosition holds that corner" equal "$start_x $start_y" "$(stored)"

  # Against the top and left edges, back inside, and against them again.
  x=$((start_x + 100)) y=$((start_y + 50))
  mouse mousemove $x $y
  wine_screenshot "$out/before-drag-3.png"
  press
  mouse mousemove $((x + 5)) $((y + 5))
  mouse mousemove 10 10
  check "dragged past the top-left corner, the frame stops flush with both edges" \
    frame_shown "$out/before-drag-3.png" "$out/rtnavo-7-frame-top-left.png" 0 0
  mouse mousemove 300 200
  check "moving back, the frame follows at the grab offset again" \
    frame_shown "$out/before-drag-3.png" "$out/rtnavo-8-frame-back-inside.png" 200 150
  mouse mousemove 12 8
  mouse mouseup 1
  driver at 0 0 20000 geometry
  check "the window stops flush with the top and left edges" equal "$(rect_at 0 0)" "$(value rect)"
  check "RootPosition holds 0, 0" equal "0 0" "$(stored)"
}

# Saved values of each kind, each started with chart 2 and quit.
saved_value_table() {
  start_at REG_DWORD 0x00C80064
  check "a saved 100, 200 places the window's corner there" equal "$(rect_at 100 200)" "$(value rect)"
  check "the value written at start is the same corner, so the window stays put run after run" \
    equal "100 200" "$(stored)"
  quit_program >/dev/null
  start_at REG_DWORD 0xFFF6FFEC
  check "a saved point left of and above the work area (-20, -10) is used unchanged" \
    equal "$(rect_at -20 -10)" "$(value rect)"
  check "and kept" equal "-20 -10" "$(stored)"
  quit_program >/dev/null
  start_at REG_DWORD 0x02BC03E8
  check "a saved point past the right and bottom edges (1000, 700) is pulled back inside" \
    equal "$(rect_at $start_x $start_y)" "$(value rect)"
  quit_program >/dev/null
  start_at REG_DWORD 0xFFF6000A
  check "a saved 10, -10 (low half 0x000A, high half 0xFFF6) places the window at 10, -10" \
    equal "$(rect_at 10 -10)" "$(value rect)"
  quit_program >/dev/null
  start_at REG_BINARY 0a00
  check "a RootPosition of 2 bytes counts as none: the default corner" \
    equal "$(rect_at $start_x $start_y)" "$(value rect)"
  check "and the start writes a whole REG_DWORD" equal "$start_x $start_y" "$(stored)"
  quit_program >/dev/null
  start_at REG_BINARY 0a0014000000000000
  check "a RootPosition longer than 4 bytes is not read: the default corner" \
    equal "$(rect_at $start_x $start_y)" "$(value rect)"
  quit_program
  check "each of these runs ended with exit code 0" equal 0 "$?"
}

wine_begin || exit 1
t0=$(wine_now)

if scenario shows_its_window_where_nothing_was_saved; then
if [ $full = 1 ]; then
  echo "== the program file"
  driver resources "$winprogram"
  check "strings 1 and 2: the class name and the title, in a Chinese (PRC) string table" \
    eval 'has_line "string 1 NVROOTWINCLASS" && has_line "string 2 NVROOTWIN" && has_line "string table Chinese (PRC)"'
  # Without a requested execution level, Windows with user account control
  # redirects the program's write under HKEY_LOCAL_MACHINE instead of
  # refusing it.
  check "one application manifest, asking for no execution level" \
    eval 'has_line "manifests 1" && has_line "manifest execution level none asked"'
  check "chart 1, bitmap 114: 588 x 244 in 16 colours; chart 2, bitmap 134: 353 x 140 in 256" \
    eval 'has_line "bitmap 114 588 x 244, 4 bits, 16 colours, compression 0" && has_line "bitmap 134 353 x 140, 8 bits, 256 colours, compression 0"'
  check "and each made at twice the size: bitmaps 214 (1176 x 488) and 234 (706 x 280)" \
    eval 'has_line "bitmap 214 1176 x 488, 4 bits, 16 colours, compression 0" && has_line "bitmap 234 706 x 280, 8 bits, 256 colours, compression 0"'
  check "both are pictures, not blank: more than two colours each" \
    eval '[ "$(value "bitmap 114 uses" | cut -d" " -f1)" -gt 2 ] && [ "$(value "bitmap 134 uses" | cut -d" " -f1)" -gt 2 ]'
  check "cursor 136: one 32 x 32 image of 256 colours, hot spot (16, 16)" \
    eval 'has_line "cursor 136 images 1" && has_line "cursor 136 image 32 x 32, 8 bits, hot spot 16, 16"'
  check "icon LOADBMP: one 32 x 32 image of 16 colours" \
    eval 'has_line "icon LOADBMP images 1" && has_line "icon LOADBMP image 32 x 32, 16 colours, 4 bits"'

fi

echo "== RtNavo.exe 2 where HKLM\Software\Kvel is not there"
require "HKLM\Software\Kvel is not there before the first start" no_maker_key
t=$(wine_now)
start_traced 2
driver wait 60000 geometry flags
echo "    the window was there after $(wine_elapsed "$t") s"
check "a window of class NVROOTWINCLASS is shown" window_shown
check "exactly one window of the class" equal 1 "$(value windows)"
default_corner
check "594 x 246" equal "594 246" "$(value size)"
check "its top-left corner at (work area right - 594, work area bottom - 246)" \
  equal "$(rect_at $start_x $start_y)" "$(value rect)"
read -r style _ exstyle <<<"$(value style)"
check "a popup with a dialog frame and no caption, disabled" \
  [ $((0x$style & 0xC8C00000)) -eq $((0x88400000)) ]
check "topmost, a tool window, with the window edge" [ $((0x$exstyle & 0x188)) -eq $((0x188)) ]
check "disabled and visible, titled NVROOTWIN" equal "enabled 0 visible 1 title NVROOTWIN" \
  "$(grep '^enabled ' <<<"$report")"
check "of class NVROOTWINCLASS, a Unicode window, on code page $codepage" \
  equal "class NVROOTWINCLASS unicode 1 codepage $codepage" "$(grep '^class N' <<<"$report")"
check "class: redrawn on resize, 12 window extra bytes, no cursor" \
  has_line "class style 00000003 window extra 12 background 0 cursor none"
check "no drag under way: drag flags 0" equal 0 "$(value flags)"
driver chart 2 "$winprogram" 5000
check "it shows chart 2, pixel for pixel, and the window colour beyond it" chart_shown 2
shot rtnavo-1-chart2
check "Kvel is made and RootPosition written: the window's corner" \
  equal "$start_x $start_y" "$(stored)"
grep -E 'Call advapi32\.Reg.*(L"Software"|Kvel)' "$trace" | sed 's/^/    /'
check "Software is opened to read and to create subkeys (KEY_READ | KEY_CREATE_SUB_KEY)" \
  traced_call RegOpenKeyExW Software 0002001d
check "and Kvel created beneath it with all access" traced_call RegCreateKeyExW Kvel 000f003f

echo "== the control message"
driver send 1 chart 1 "$winprogram" 1000
check "1 answers 0 and shows chart 1 at once" eval 'answered_zero 1 && chart_shown 1'
shot rtnavo-2-chart1
if [ $full = 1 ]; then
  driver send 4 send 0 chart 1 "$winprogram" 0 geometry flags
  check "4 and 0 answer 0 and change nothing: chart 1 still shown" \
    eval 'answered_zero 4 && answered_zero 0 && chart_shown 1'
  check "the window stays where it was" equal "$(rect_at $start_x $start_y)" "$(value rect)"
  check "and the process goes on" equal 1 "$(value windows)"
fi
driver send 2 chart 2 "$winprogram" 1000
check "2 after 1 shows chart 2 with nothing of chart 1 left beside it" \
  eval 'answered_zero 2 && chart_shown 2'
fi

if scenario remembers_where_it_was_moved; then
start_program "$program" 2
driver wait 60000 geometry
require "a window of class NVROOTWINCLASS is shown" window_shown
default_corner
if [ $full = 0 ]; then
  echo "== moved (by another program, standing in for the drag checked on 936)"
  driver move 0 0 at 0 0 5000
  check "the window is at 0, 0" eval 'has_line "moved to 0 0" && corner_at 0 0'
  check "RootPosition holds 0, 0" equal "0 0" "$(stored)"
else
  drag_the_window
fi

echo "== quitting and starting again"
quit_program
check "control message 3 ends the process with exit code 0" equal 0 "$?"
check "RootPosition keeps what the last move wrote" equal "0 0" "$(stored)"
start_program "$program"
driver wait 60000 geometry chart 1 "$winprogram" 5000
check "started without arguments it shows chart 1" chart_shown 1
check "a restart comes back at the saved place" equal "$(rect_at 0 0)" "$(value rect)"
driver close gone 20000
wait_program
check "WM_CLOSE ends the process with exit code 0" equal 0 "$?"
check "and RootPosition is as the last move left it" equal "0 0" "$(stored)"
fi

if scenario starts_at_a_saved_position; then
start_at REG_DWORD 0xF830F830
default_corner
check "a saved -2000, -2000, wholly off the screen, starts at the default corner" \
  equal "$(rect_at $start_x $start_y)" "$(value rect)"
check "and that corner is what is kept" equal "$start_x $start_y" "$(stored)"
quit_program
check "and it ends with exit code 0" equal 0 "$?"
if [ $full = 1 ]; then saved_value_table; fi
fi

if scenario starts_from_a_folder_in_three_scripts; then
name="Navo 字根 ルート Корень"
folder="$WINEPREFIX/drive_c/Program Files/$name"
mkdir -p "$folder" && cp "$program" "$folder/RtNavo.exe"
command_line="\"C:\\Program Files\\$name\\RtNavo.exe\" 2"
driver launch "$command_line" wait 60000 \
  chart 2 "C:\\Program Files\\$name\\RtNavo.exe" 5000 send 3 exitcode 60000
check "started as $command_line it shows chart 2 and ends with exit code 0" \
  eval 'has_line "started $command_line" && chart_shown 2 && answered_zero 3 && has_line "exit code 0"'
fi

# N DPI: chart N at the display's scale, as the driver draws it (from the
# bitmap made at twice the size, smoothed, at the 96-DPI size times the
# scale): the screen and an offscreen bitmap smooth its edges differently,
# so it is compared on the whole, at most 8 levels apart on average (0 where
# both are drawn alike; another chart or another size is tens apart), with
# the window colour wholly beyond it.
chart_scaled() {
  [[ "$report" =~ chart\ $1\ at\ $2\ DPI:\ ([0-9]+)\.[0-9]\ levels\ apart.*,\ 0\ of\ [0-9]+\ beyond ]] &&
    [ "${BASH_REMATCH[1]}" -lt 8 ]
}
for dpi in 144 192; do
  scenario "scales_to_${dpi}_dpi" || continue
  require "the display at $dpi DPI" e2e_display_dpi "$dpi"
  # 594 x 246 times 1.5 and times 2.
  if [ "$dpi" = 144 ]; then win_w=891 win_h=369; else win_w=1188 win_h=492; fi
  start_program "$program"
  driver wait 60000 geometry
  require "a window of class NVROOTWINCLASS is shown" window_shown
  default_corner
  check "$win_w x $win_h" equal "$win_w $win_h" "$(value size)"
  check "in the bottom-right corner of the work area at that size" \
    equal "$(rect_at $start_x $start_y)" "$(value rect)"
  driver chart 1 "$winprogram" 5000
  check "chart 1 drawn at its size times the scale from the one made at twice the size" \
    chart_scaled 1 $dpi
  shot "rtnavo-chart1-${dpi}dpi"
  driver send 2 chart 2 "$winprogram" 1000
  check "the control message switches to chart 2, drawn at the scale too" \
    eval 'answered_zero 2 && chart_scaled 2 $dpi'
  shot "rtnavo-chart2-${dpi}dpi"
  check "RootPosition holds the corner in the display's pixels" equal "$start_x $start_y" "$(stored)"

  echo "== dragging"
  x=$((start_x + 100)) y=$((start_y + 50))
  mouse mousemove $x $y
  wine_screenshot "$out/before-drag-${dpi}dpi.png"
  press
  mouse mousemove $((x + 5)) $((y + 5))
  check "the first move shows the frame exactly over the window at its size" \
    frame_shown "$out/before-drag-${dpi}dpi.png" "$out/rtnavo-frame-${dpi}dpi.png" $start_x $start_y
  # Grabbed 100, 50 into the window: the frame's corner at 50, 100.
  mouse mousemove 150 150
  check "the frame of that size follows the mouse at the grab offset" \
    frame_shown "$out/before-drag-${dpi}dpi.png" "$out/rtnavo-frame-moved-${dpi}dpi.png" 50 100
  mouse mouseup 1
  driver at 50 100 20000 geometry
  check "after the release the window is at the frame's place, its size unchanged" \
    equal "$(rect_at 50 100)" "$(value rect)"
  check "RootPosition holds the new corner in pixels" equal "50 100" "$(stored)"
  quit_program
  check "control message 3 ends the process with exit code 0" equal 0 "$?"
done

echo "all runs took $(wine_elapsed "$t0") s"
echo "screenshots in $out"
e2e_finish
