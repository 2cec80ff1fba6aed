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
cmake --build --preset windows --target distribution

nvcodefind=build/native/tools/nvcodefind
echo
echo "Lookups in the sample table (build/native/sample/navo.mb):"
"$nvcodefind" 工 童 中 国 我 的 码 查 询 字 中国 人民 输入法 中华人民共和国
echo
echo "The same characters as the lookup window gets them (GBK hex), in batch:"
printf 'B9A4\nCDAF\nD6D0\nB9FA\n4142\n' | "$nvcodefind" --batch || true

echo
bash scripts/show-programs.sh
