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
for pair in setup-1-backdrop-dialog.png:navosetup-installing.png \
            setup-2-completion-message.png:navosetup-complete.png; do
  [ -f "$shots/${pair%%:*}" ] || { echo "update-docs: $shots/${pair%%:*} is missing" >&2; exit 1; }
  /usr/bin/convert "$shots/${pair%%:*}" -resize 50% "docs/${pair##*:}"
  echo "docs/${pair##*:}"
done
