// The code table reader's Win32 platform: the file, the reports and the text buffer.
#include "codefind/shell/win32_platform.h"

#include "codefind/code_table.h"
#include "common/gbk_wide.h"

namespace navo::codefind {
namespace {

constexpr size_t MessageTextSize = 256;  // UTF-16 units; the texts are short

}  // namespace

bool Win32TableFile::Open(const char* path) {
  Close();
  wchar_t widePath[MAX_PATH];
  GbkToWide(path, widePath, MAX_PATH);
  handle_ = CreateFileW(widePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32TableFile::Seek(uint32_t offset) {
  return SetFilePointer(handle_, LONG(offset), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool Win32TableFile::Read(void* buffer, uint32_t size, uint32_t* delivered) {
  DWORD got = 0;
  BOOL ok = ReadFile(handle_, buffer, size, &got, nullptr);
  *delivered = got;
  return ok != FALSE;
}

void Win32TableFile::Close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

void Win32Reports::ShowMessage(const char* text, const char* caption) {
  wchar_t wideText[MessageTextSize];
  wchar_t wideCaption[MessageTextSize];
  GbkToWide(text, wideText, MessageTextSize);
  if (caption) GbkToWide(caption, wideCaption, MessageTextSize);
  MessageBoxW(nullptr, wideText, caption ? wideCaption : nullptr, MB_OK);
}

void Win32Reports::Beep() { MessageBeep(0xFFFFFFFF); }

bool GlobalTextBuffer::Allocate() {
  memory_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, TextBufferSize);
  return memory_ != nullptr;
}

char* GlobalTextBuffer::Lock() {
  return memory_ ? static_cast<char*>(GlobalLock(memory_)) : nullptr;
}

void GlobalTextBuffer::Unlock() {
  if (memory_) GlobalUnlock(memory_);
}

}  // namespace navo::codefind
