#!/usr/bin/env bash
# Copies a few of the end-to-end tests' screenshots into docs/, trimmed of
# the empty screen around the windows, for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=build/windows/screenshots
mkdir -p docs
copy() {  # screenshot, docs name
  [ -f "$shots/$1" ] || { echo "update-docs: $shots/$1 is missing (run the tests)" >&2; return 1; }
  /usr/bin/convert "$shots/$1" -trim +repage "docs/$2"
  echo "docs/$2"
}
copy lookup-4-ten-lines.png nvcodefind-ten-lines.png
copy road-2-lookup.png whole-road-lookup.png
copy road-3-chart-1.png rtnavo-chart-1.png
copy road-3-chart-2.png rtnavo-chart-2.png
# The installer covers the whole screen: halved rather than trimmed.
halve() {  # screenshot, docs name
  [ -f "$shots/$1" ] || { echo "update-docs: $shots/$1 is missing" >&2; return 1; }
  /usr/bin/convert "$shots/$1" -resize 50% "docs/$2"
  echo "docs/$2"
}
halve setup-1-backdrop-dialog.png navosetup-installing.png
halve setup-2-completion-message.png navosetup-complete.png
# The same on Western (1252) and Japanese (932) Windows.
for codepage in 1252 932; do
  copy "cp$codepage/lookup-3-three-lines.png" "nvcodefind-three-lines-cp$codepage.png"
  halve "cp$codepage/setup-1-backdrop-dialog.png" "navosetup-installing-cp$codepage.png"
  halve "cp$codepage/setup-2-completion-message.png" "navosetup-complete-cp$codepage.png"
done
# With the display at 150 % (144 DPI).
copy lookup-ten-lines-144dpi.png nvcodefind-ten-lines-144dpi.png
copy rtnavo-chart1-144dpi.png rtnavo-chart-1-144dpi.png
halve 144dpi/setup-1-backdrop-dialog.png navosetup-installing-144dpi.png
