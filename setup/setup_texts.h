// The installer's Chinese texts, written once as GBK byte escapes (each read
// in its comment) so that every compiler puts the same GBK bytes into the
// program, whatever its execution character set.
#pragma once

namespace navo::setup::gbk {

inline constexpr char Layout[] =  // Navo输入法2.0白金版
    "Navo\xCA\xE4\xC8\xEB\xB7\xA8" "2.0\xB0\xD7\xBD\xF0\xB0\xE6";
inline constexpr char Completion[] =  // 安装完毕，欢迎使用！
    "\xB0\xB2\xD7\xB0\xCD\xEA\xB1\xCF\xA3\xAC\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3\xA3\xA1";
inline constexpr char Incomplete[] =  // 安装未完成，以下文件未能安装：
    "\xB0\xB2\xD7\xB0\xCE\xB4\xCD\xEA\xB3\xC9\xA3\xAC\xD2\xD4\xCF\xC2\xCE\xC4\xBC\xFE"
    "\xCE\xB4\xC4\xDC\xB0\xB2\xD7\xB0\xA3\xBA";
inline constexpr char EarlierCopyKept[] =  // （保留原有文件）
    "\xA3\xA8\xB1\xA3\xC1\xF4\xD4\xAD\xD3\xD0\xCE\xC4\xBC\xFE\xA3\xA9";
inline constexpr char NoCopyLeft[] = "\xA3\xA8\xCE\xDE\xA3\xA9";  // （无）
inline constexpr char CopyUnverified[] =  // （现有文件未经核实）
    "\xA3\xA8\xCF\xD6\xD3\xD0\xCE\xC4\xBC\xFE\xCE\xB4\xBE\xAD\xBA\xCB\xCA\xB5\xA3\xA9";

}  // namespace navo::setup::gbk
