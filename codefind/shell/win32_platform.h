// The code table reader's platform on Windows: CreateFileW, SetFilePointer,
// ReadFile; MessageBoxW without owner, MessageBeep; movable global memory.
// Paths and texts come from the core as GBK and cross as UTF-16.
#pragma once

#include <windows.h>

#include "codefind/platform.h"

namespace navo::codefind {

class Win32TableFile final : public TableFile {
 public:
  bool Open(const char* path) override;
  bool Seek(uint32_t offset) override;
  bool Read(void* buffer, uint32_t size, uint32_t* delivered) override;
  void Close() override;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class Win32Reports final : public Reports {
 public:
  void ShowMessage(const char* text, const char* caption) override;
  void Beep() override;
};

// The text buffer as GMEM_MOVEABLE | GMEM_ZEROINIT memory, never freed.
class GlobalTextBuffer final : public TextBuffer {
 public:
  bool Allocate();
  char* Lock() override;
  void Unlock() override;

 private:
  HGLOBAL memory_ = nullptr;
};

}  // namespace navo::codefind
