#!/usr/bin/env bash
# The lookup tool's Chinese texts are GBK whatever compiled them: the bytes
# that PRINTER (print_lookup_texts, built by the compiler under test) prints
# must be iconv's GBK of the texts as the person reads them.
# Usage: lookup_texts_test.sh PRINTER
set -u
printer=$1
expected() {
  while read -r name text; do
    printf '%s %s\n' "$name" "$(printf '%s' "$text" | iconv -f UTF-8 -t GBK | od -An -tx1 | tr -d ' \n')"
  done <<'TEXTS'
OpenFailedText 打开文件失败
DamagedTableText 码表文件已损坏
WordMakingCodeErrorCaption 读取造词代码错误
ResultPaneHeading 汉字及编码显示窗口
OutOfMemoryText 内存不足，无法运行码表查询。
SampleCharacter 童
TEXTS
}
got=$("$printer") || { echo "FAIL: $printer did not run"; exit 1; }
if diff <(expected) <(printf '%s\n' "$got"); then
  echo "ok: $(printf '%s\n' "$got" | wc -l) texts are GBK"
else
  echo "FAIL: texts differ from their GBK (expected <, built >)"
  exit 1
fi
