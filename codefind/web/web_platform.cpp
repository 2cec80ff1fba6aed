// The lookup tool's platform in the browser, over memory.
#include "codefind/web/web_platform.h"

#include <cstring>

namespace navo::codefind {

namespace {

void CopyCut(char* out, const char* text, size_t size) {
  const size_t length = strnlen(text, size - 1);
  std::memcpy(out, text, length);
  out[length] = '\0';
}

}  // namespace

void MemoryTableFile::Attach(const unsigned char* bytes, uint32_t size) {
  attached_ = bytes;
  attachedSize_ = size;
}

bool MemoryTableFile::Open(const char*) {
  // The path only names the table; the page has read its bytes already.
  open_ = attached_ != nullptr;
  position_ = 0;
  return open_;
}

bool MemoryTableFile::Seek(uint32_t offset) {
  if (!open_) return false;
  position_ = offset;
  return true;
}

bool MemoryTableFile::Read(void* buffer, uint32_t size, uint32_t* delivered) {
  *delivered = 0;
  if (!open_) return false;
  if (position_ < attachedSize_) {
    const uint32_t available = attachedSize_ - position_;
    *delivered = size < available ? size : available;
    std::memcpy(buffer, attached_ + position_, *delivered);
  }
  position_ += *delivered;
  return true;
}

void MemoryTableFile::Close() { open_ = false; }

KeptReport* KeptReports::Next() {
  KeptReport* report = count_ < MaxKeptReports ? &reports_[count_] : nullptr;
  ++count_;
  return report;
}

void KeptReports::ShowMessage(const char* text, const char* caption) {
  KeptReport* report = Next();
  if (report == nullptr) return;
  report->beep = false;
  report->hasCaption = caption != nullptr;
  CopyCut(report->text, text, ReportTextSize);
  CopyCut(report->caption, caption ? caption : "", ReportTextSize);
}

void KeptReports::Beep() {
  KeptReport* report = Next();
  if (report == nullptr) return;
  report->beep = true;
  report->hasCaption = false;
  report->text[0] = report->caption[0] = '\0';
}

void MemoryInputBox::ReadText(char* buffer, size_t limit) { CopyCut(buffer, text_, limit); }

void MemoryInputBox::Empty() {
  text_[0] = '\0';
  emptied_ = true;
  if (state_ && window_) HandleInputChange(*state_, *window_);
}

bool MemoryInputBox::EmptiedSinceAsked() {
  const bool emptied = emptied_;
  emptied_ = false;
  return emptied;
}

}  // namespace navo::codefind
