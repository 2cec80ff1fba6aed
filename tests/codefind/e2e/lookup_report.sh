# shellcheck shell=bash
# What the lookup driver's pane report must say for the pane to show exactly
# the lines asked for; the lookup's scenarios and the whole road use it.
#
#   pane_matches REPORT COUNT
#
# Every one of the COUNT lines fits the pane; each differs from its drawing
# in at most six pixels (antialiased edges where two glyphs overlap may blend
# differently on the screen and in an offscreen bitmap; a wrong or missing
# character differs in hundreds); and no pixel in the pane's text colours
# lies outside the lines.
pane_blending_allowance=6
pane_matches() {
  local report=$1 count=$2 bad=0 line differing
  grep -qx "lines fitting: $count of $count" <<<"$report" ||
    { echo "    not all $count lines fit the pane"; bad=1; }
  [ "$(grep -c '^line [0-9]* at [0-9]*: [0-9]* pixels differ$' <<<"$report")" -eq "$count" ] ||
    { echo "    not $count lines measured"; bad=1; }
  while read -r line differing; do
    [ "$differing" -le "$pane_blending_allowance" ] ||
      { echo "    line $line: $differing pixels differ"; bad=1; }
  done < <(sed -n 's/^line \([0-9]*\) at [0-9]*: \([0-9]*\) pixels differ$/\1 \2/p' <<<"$report")
  grep -qx "stray pixels: 0" <<<"$report" || { echo "    text-coloured pixels outside the lines"; bad=1; }
  return $bad
}
