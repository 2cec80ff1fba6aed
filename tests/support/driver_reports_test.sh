#!/usr/bin/env bash
# The scenario scripts' readings of the Win32 drivers' reports, on reports
# written out by hand: each must pass the report it describes and fail every
# report that differs in what it checks. (The drivers run only under Wine;
# these readings decide what a run of them means.)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/checks.sh"
. "$here/../codefind/e2e/lookup_report.sh"
. "$here/../rootwin/e2e/root_report.sh"
. "$here/../setup/e2e/setup_report.sh"

# verdict COMMAND...: "pass" or "fail", whatever it prints.
verdict() { if "$@" >/dev/null; then echo pass; else echo fail; fi; }

# The pane: three lines asked for.
pane() {  # fitting differing... stray
  local fitting=$1 stray=${*: -1} i=0 out
  out="pane 120 80 564 378
lines fitting: $fitting of 3"
  for differing in "${@:2:$#-2}"; do
    out+=$'\n'"line $i at $((i * 36)): $differing pixels differ"
    i=$((i + 1))
  done
  printf '%s\nstray pixels: %s\n' "$out" "$stray"
}
while read -r expected args; do
  # shellcheck disable=SC2086
  expect "pane_matches on a pane report ($args)" "$expected" "$(verdict pane_matches "$(pane $args)" 3)"
done <<'CASES'
pass 3 0 0 0 0
pass 3 6 2 6 0
fail 3 7 0 0 0
fail 3 0 0 400 0
fail 2 0 0 0
fail 3 0 0 0
fail 3 0 0 0 1
CASES

# The root window driver's lines.
while IFS='|' read -r expected check line; do
  report=$line
  # shellcheck disable=SC2086
  expect "$check on \"$line\"" "$expected" "$(verdict $check)"
done <<'CASES'
pass|window_shown|window after 300 ms
fail|window_shown|no window after 60000 ms
pass|chart_shown 2|chart 2: 0 pixels differ from bitmap 134, 0 of 51724 beyond it not the window colour, seen after 40 ms
fail|chart_shown 1|chart 2: 0 pixels differ from bitmap 134, 0 of 51724 beyond it not the window colour, seen after 40 ms
fail|chart_shown 2|chart 2: 12 pixels differ from bitmap 134, 0 of 51724 beyond it not the window colour, seen after 3000 ms
fail|chart_shown 2|chart 2: 0 pixels differ from bitmap 134, 20 of 51724 beyond it not the window colour, seen after 3000 ms
fail|chart_shown 2|chart 2: 120 pixels differ from bitmap 134, 0 of 51724 beyond it not the window colour, seen after 3000 ms
pass|answered_zero 1|sent 1: answered, result 0
fail|answered_zero 1|sent 1: answered, result 1
fail|answered_zero 1|sent 1: not answered, result 1
fail|answered_zero 1|sent 11: answered, result 0
pass|corner_at 200 250|corner 200 250 after 50 ms
fail|corner_at 200 250|corner 200 25 after 20000 ms
fail|corner_at 0 0|corner -10 0 after 20000 ms
pass|none_left|windows of the class left 0
fail|none_left|windows of the class left 1
fail|none_left|no window of class NVROOTWINCLASS
CASES

# The installer's dialog in pixels: base units 7x15 worked out by hand.
# 31 units across: 31 * 7 / 4 = 54.25 -> 54; 12 down: 12 * 15 / 8 = 22.5 ->
# 23; right edge 104 * 7 / 4 = 182; bottom 20 * 15 / 8 = 37.5 -> 38.
base_units=7x15
expect "the text's control in pixels" "54,23 128x15" "$(in_pixels 31 12 73 8)"
expect "five pixels wider" "54,23 133x15" "$(in_pixels 31 12 73 8 5)"
# 115 * 7 / 4 = 201.25 -> 201; 31 * 15 / 8 = 58.125 -> 58.
expect "the dialog's client area" "0,0 201x58" "$(in_pixels 0 0 115 31)"
expect "2.5 rounds away from zero" "3" "$(muldiv 1 10 4)"

while IFS='|' read -r expected rect screen; do
  report="dialog-rect: $rect
screen: $screen"
  expect "dialog_centred: $rect on $screen" "$expected" "$(verdict dialog_centred)"
done <<'CASES'
pass|412,349 200x70|1024x768
pass|413,350 200x70|1024x768
fail|414,349 200x70|1024x768
fail|412,351 200x70|1024x768
fail|0,0 200x70|1024x768
CASES

while IFS='|' read -r expected ink whole; do
  report="dialog-text-ink-width: $ink
dialog-text-whole-ink-width: $whole"
  expect "text_drawn_whole: $ink of $whole" "$expected" "$(verdict text_drawn_whole)"
done <<'CASES'
pass|217|217
fail|151|217
fail|0|0
fail||
CASES

while IFS='|' read -r expected lines boxes caption; do
  report="message-lines-shown: $lines
message-boxes: $boxes
message-caption-shown: $caption
message-caption-boxes: 0"
  expect "message_readable: $lines, $boxes boxes, caption $caption" "$expected" \
    "$(verdict message_readable)"
done <<'CASES'
pass|2 of 2|0|9 of 13 characters
fail|1 of 2|0|9 of 13 characters
fail|0 of 0|0|9 of 13 characters
fail|2 of 2|1|9 of 13 characters
fail|2 of 2|0|6 of 13 characters
CASES

checks_summary
