// The platform layer under test: POSIX natively, Win32 under Wine. The same
// tests hold both to one behaviour.
#pragma once

#include <string>
#include <vector>

#include "codefind/code_table.h"

#ifdef _WIN32
#include "codefind/shell/win32_platform.h"
#else
#include "codefind/posix/posix_platform.h"
#include "codefind/static_text_buffer.h"
#endif

namespace navo::testing {

#ifdef _WIN32
using PlatformTableFile = codefind::Win32TableFile;
class PlatformTextBuffer final : public codefind::TextBuffer {
 public:
  PlatformTextBuffer() { buffer_.Allocate(); }
  char* Lock() override { return buffer_.Lock(); }
  void Unlock() override { buffer_.Unlock(); }

 private:
  codefind::GlobalTextBuffer buffer_;
};
constexpr char PathSeparator = '\\';
#else
using PlatformTableFile = codefind::PosixTableFile;
using PlatformTextBuffer = codefind::StaticTextBuffer;
constexpr char PathSeparator = '/';
#endif

// A folder of this test process's own, ending with the path separator.
const std::string& ScratchDirectory();

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void RemoveFile(const std::string& path);

}  // namespace navo::testing
