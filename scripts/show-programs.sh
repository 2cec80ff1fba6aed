#!/usr/bin/env bash
# Installs the distribution folder with NavoSetup.exe into a Wine prefix of
# its own (build/wine-main; never the user's default prefix), then starts
# NvCodeFind.exe and RtNavo.exe from the system directory, as a user would.
# On a display they run there until the user closes the lookup tool; without
# one they run on Xvfb, where a driver types a few characters, and the
# screenshots' paths are printed.
set -uo pipefail
cd "$(dirname "$0")/.."
export NAVO_WINE_CACHE=${NAVO_WINE_CACHE:-$PWD/build/wine-cache}
. tests/wine/winelib.sh

dist=$PWD/build/windows/navo-2.0
setup_driver=$PWD/build/windows/tests/setup/setup_driver.exe
lookup_driver=$PWD/build/windows/tests/codefind/lookup_driver.exe
root_driver=$PWD/build/windows/tests/rootwin/root_driver.exe
shots=$PWD/build/screenshots
for f in "$dist/NavoSetup.exe" "$setup_driver" "$lookup_driver" "$root_driver"; do
  [ -f "$f" ] || { echo "show-programs: $f is missing; build first" >&2; exit 1; }
done

prefix=$PWD/build/wine-main/prefix
rm -rf "$prefix"
mkdir -p "$shots"
on_display=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export NAVO_WINE_USE_DISPLAY=1
  on_display=1
fi
wine_setup_locale && wine_start_xvfb && wine_fresh_prefix "$prefix" || exit 1
trap wine_cleanup EXIT
sys=$(wine_sysdir)

if [ $on_display -eq 1 ]; then
  echo "Installing with NavoSetup.exe on $DISPLAY: press OK at its message."
  (cd "$dist" && "$NAVO_WINE_LOADER" "$dist/NavoSetup.exe")
else
  # A driver starts it from the distribution folder and reads and closes its
  # final message as a user would.
  wine_exec "$setup_driver" run "$(windows_path "$dist/NavoSetup.exe")" "$(windows_path "$dist")" |
    tr -d '\r' | iconv -f GBK -t UTF-8 | grep -E '^(message|exit-code):' | sed 's/^/  NavoSetup.exe /'
fi
echo "Installed in $sys:"
ls "$sys" | grep -E '^(navo|Navo|NvCodeFind|RtNavo|DodaZor)' | sed 's/^/  /'

(cd "$sys" && exec "$NAVO_WINE_LOADER" "$sys/RtNavo.exe") >/dev/null 2>&1 &
(cd "$sys" && exec "$NAVO_WINE_LOADER" "$sys/NvCodeFind.exe") >/dev/null 2>&1 &
lookup_pid=$!
if [ $on_display -eq 1 ]; then
  echo "NvCodeFind.exe and RtNavo.exe are open on $DISPLAY: type a Chinese character into the"
  echo "lookup box; close the lookup tool to end both."
  wait "$lookup_pid"
  wine_exec "$root_driver" send 3 >/dev/null 2>&1
  exit 0
fi

wine_exec "$lookup_driver" wait-start 60000 >/dev/null
for character in 码 表 查 询 汉 字; do
  wine_exec "$lookup_driver" type "$(gbk_hex "$character")" >/dev/null
done
wine_exec "$root_driver" wait 60000 >/dev/null
wine_exec "$lookup_driver" pane >/dev/null  # repaints and waits for it
wine_screenshot "$shots/main-installed-programs.png"
wine_exec "$root_driver" send 2 >/dev/null
sleep 1
wine_screenshot "$shots/main-installed-programs-chart-2.png"
wine_exec "$root_driver" send 3 >/dev/null
wine_exec "$lookup_driver" close >/dev/null
wait "$lookup_pid"
echo "NvCodeFind.exe and RtNavo.exe ran on Xvfb from the installed system directory; screenshots:"
echo "  $shots/main-installed-programs.png"
echo "  $shots/main-installed-programs-chart-2.png"
