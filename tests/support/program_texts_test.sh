#!/usr/bin/env bash
# The programs' Chinese texts are GBK whatever compiled them: the bytes that
# PRINTER (print_program_texts, built by the compiler under test) prints must
# be iconv's GBK of the texts as people read them. And no other Chinese text
# hides in the code of SOURCE_DIR: a narrow literal holding anything but ASCII
# would take its bytes from the compiler's execution character set.
# Usage: program_texts_test.sh SOURCE_DIR PRINTER
set -u
source_dir=$1 printer=$2
failed=0
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
ChineseFallbackFace 宋体
LayoutText Navo输入法2.0白金版
CompletionMessage 安装完毕，欢迎使用！
IncompleteMessage 安装未完成，以下文件未能安装：
EarlierCopyKept （保留原有文件）
NoCopyLeft （无）
CopyUnverified （现有文件未经核实）
TEXTS
}
if got=$("$printer") && diff <(expected) <(printf '%s\n' "$got"); then
  echo "ok: $(printf '%s\n' "$got" | wc -l) texts are GBK"
else
  echo "FAIL: texts differ from their GBK (expected <, built >)"
  failed=1
fi

# Literals outside comments, in every folder of the programs' code. The native
# tools write UTF-8, so their literals are UTF-8 as written.
literals=$(cd "$source_dir" && find codefind common rootwin setup -name '*.cpp' -o -name '*.h' |
  sort | xargs perl -ne 's{//.*}{}; print "$ARGV:$.: $_" if /(?<!L)"[^"]*[^\x00-\x7F]/; close ARGV if eof')
if [ -n "$literals" ]; then
  echo "FAIL: Chinese text written as a literal instead of GBK escapes:"
  printf '%s\n' "$literals"
  failed=1
else
  echo "ok: no literal holds anything but ASCII"
fi
exit $failed
