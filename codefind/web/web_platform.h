// The lookup tool's platform in the browser: the code table as bytes in
// memory, the reports kept for the page to show, and the input box and
// result pane as the page's own elements mirrored in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codefind/input_change.h"
#include "codefind/platform.h"

namespace navo::codefind {

// The table file the person chose, read whole by the page.
class MemoryTableFile final : public TableFile {
 public:
  // The bytes stay owned by the caller and must outlive the open file.
  void Attach(const unsigned char* bytes, uint32_t size);
  bool Open(const char* path) override;
  bool Seek(uint32_t offset) override;
  bool Read(void* buffer, uint32_t size, uint32_t* delivered) override;
  void Close() override;

 private:
  const unsigned char* attached_ = nullptr;
  uint32_t attachedSize_ = 0;
  bool open_ = false;
  uint32_t position_ = 0;
};

constexpr size_t MaxKeptReports = 16;
constexpr size_t ReportTextSize = InputBufferSize;

struct KeptReport {
  bool beep;
  bool hasCaption;  // false: the system's default caption
  char text[ReportTextSize];
  char caption[ReportTextSize];
};

// The message boxes and beeps of the last action, in order, for the page to
// show as text; those beyond MaxKeptReports are only counted.
class KeptReports final : public Reports {
 public:
  void ShowMessage(const char* text, const char* caption) override;
  void Beep() override;
  void Clear() { count_ = 0; }
  size_t Count() const { return count_; }
  // nullptr beyond the reports kept.
  const KeptReport* At(size_t i) const { return i < Kept() ? &reports_[i] : nullptr; }

 private:
  size_t Kept() const { return count_ < MaxKeptReports ? count_ : MaxKeptReports; }
  KeptReport* Next();

  KeptReport reports_[MaxKeptReports] = {};
  size_t count_ = 0;
};

// The page's input box: the text it holds (GBK), set by the page before it
// reports a change. Emptying it raises the change again, as the window's box does.
class MemoryInputBox final : public InputBox {
 public:
  void SetWindow(InputState* state, InputWindow* window) { state_ = state, window_ = window; }
  char* Text() { return text_; }
  void ReadText(char* buffer, size_t limit) override;
  void Empty() override;
  bool EmptiedSinceAsked();

 private:
  char text_[InputBufferSize] = {};
  InputState* state_ = nullptr;
  InputWindow* window_ = nullptr;
  bool emptied_ = false;
};

// The pane is drawn by the page from the history after every change.
class PageResultPane final : public ResultPaneView {
 public:
  void Refresh() override {}
};

}  // namespace navo::codefind
