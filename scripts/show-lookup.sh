#!/usr/bin/env bash
# Shows NvCodeFind.exe under Wine with the sample code table, in a Wine
# prefix of its own (build/wine-main), never the user's default one.
# On a display it runs there until the user closes it; without one it runs
# on Xvfb, types a few characters, saves screenshots and prints their paths.
set -uo pipefail
cd "$(dirname "$0")/.."
export NAVO_WINE_CACHE=${NAVO_WINE_CACHE:-$PWD/build/wine-cache}
. tests/wine/winelib.sh

program=$PWD/build/windows/codefind/NvCodeFind.exe
driver=$PWD/build/windows/tests/codefind/lookup_driver.exe
table=$PWD/build/native/sample/navo.mb
shots=$PWD/build/screenshots
for f in "$program" "$driver" "$table"; do
  [ -f "$f" ] || { echo "show-lookup: $f is missing; build first" >&2; exit 1; }
done

prefix=$PWD/build/wine-main/prefix
rm -rf "$prefix"
mkdir -p "$shots"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export NAVO_WINE_USE_DISPLAY=1
  on_display=1
else
  on_display=0
fi
wine_setup_locale && wine_start_xvfb && wine_fresh_prefix "$prefix" || exit 1
trap wine_cleanup EXIT
cp "$table" "$(wine_sysdir)/navo.mb"

if [ $on_display -eq 1 ]; then
  echo "NvCodeFind.exe is open on $DISPLAY: type a Chinese character into its box; close it to go on."
  (cd "$(wine_sysdir)" && "$NAVO_WINE_LOADER" "$program")
  exit 0
fi

(cd "$(wine_sysdir)" && exec "$NAVO_WINE_LOADER" "$program") >/dev/null 2>&1 &
program_pid=$!
wine_exec "$driver" wait-start 60000 >/dev/null
for character in 码 表 查 询 汉 字; do
  hex=$(printf '%s' "$character" | iconv -f UTF-8 -t GBK | od -An -tx1 | tr -d ' \n')
  wine_exec "$driver" type "$hex" >/dev/null
done
wine_exec "$driver" pane >/dev/null  # repaints and waits for it
wine_screenshot "$shots/nvcodefind-sample-table.png"
wine_exec "$driver" close >/dev/null
wait "$program_pid"
echo "NvCodeFind.exe ran on Xvfb with the sample table; screenshot:"
echo "  $shots/nvcodefind-sample-table.png"
