// The lookup tool's Chinese texts, written once as GBK byte escapes (each read
// in its comment) so that every compiler (GCC, clang for the fuzzer and the
// browser) puts the same GBK bytes into the core, whatever its execution
// character set.
#pragma once

namespace navo::codefind::gbk {

inline constexpr char OpenFailed[] =  // 打开文件失败
    "\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC";
inline constexpr char DamagedTable[] =  // 码表文件已损坏
    "\xC2\xEB\xB1\xED\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5";
inline constexpr char WordMakingCodeError[] =  // 读取造词代码错误
    "\xB6\xC1\xC8\xA1\xD4\xEC\xB4\xCA\xB4\xFA\xC2\xEB\xB4\xED\xCE\xF3";
inline constexpr char PaneHeading[] =  // 汉字及编码显示窗口
    "\xBA\xBA\xD7\xD6\xBC\xB0\xB1\xE0\xC2\xEB\xCF\xD4\xCA\xBE\xB4\xB0\xBF\xDA";
inline constexpr char OutOfMemory[] =  // 内存不足，无法运行码表查询。
    "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA3\xAC\xCE\xDE\xB7\xA8\xD4\xCB\xD0\xD0"
    "\xC2\xEB\xB1\xED\xB2\xE9\xD1\xAF\xA1\xA3";
inline constexpr char Sample[] = "\xCD\xAF";  // 童

}  // namespace navo::codefind::gbk
