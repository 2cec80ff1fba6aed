#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, builds the sample
# code table and looks characters and words up in it, lays out the
# distribution folder, installs it with NavoSetup.exe into a Wine prefix of
# its own and shows the installed programs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)"
bash scripts/sample-table.sh build/native
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)"
# The lookup page, before the distribution that carries it.
cmake --preset web >/dev/null
cmake --build --preset web -j"$(nproc)"
cmake --build --preset windows --target distribution

nvcodefind=build/native/tools/nvcodefind
echo
echo "Lookups in the sample table (build/native/sample/navo.mb):"
"$nvcodefind" 工 童 中 国 我 的 码 查 询 字 中国 人民 输入法 中华人民共和国
echo
echo "The same characters as the lookup window gets them (GBK hex), in batch:"
printf 'B9A4\nCDAF\nD6D0\nB9FA\n4142\n' | "$nvcodefind" --batch || true

echo
page=$PWD/build/web/page/navo-lookup.html
echo "The lookup page: open $page in a browser (file://$page),"
echo "or the folder build/windows/navo-2.0-lookup-page from the distribution; choose a navo.mb"
echo "(or press its sample table button) and type characters into its box."
/usr/bin/python3 web/tests/page_screenshot.py "$page" build/native/sample/navo.mb \
  build/web/screenshots/lookup-page.png | sed 's/^/Screenshot of the page in headless Chromium: /' ||
  echo "no screenshot of the lookup page (headless Chromium failed)"

echo
bash scripts/show-programs.sh
