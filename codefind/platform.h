// Everything the lookup tool's core needs of the platform: for the code
// table reader a read-only file, a way to tell the user about failures and
// the movable text buffer; for the window the input box, the result pane
// and the pane font's text heights; the start-up calls. shell/ implements
// them on Win32, posix/ the reader's part for the native tools (with
// static_text_buffer.h, which the page's module shares); the tests
// record them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/program_startup.h"

namespace navo::codefind {

// The code table file, opened read-only and shared for reading.
class TableFile {
 public:
  virtual bool Open(const char* path) = 0;
  // Positions at an absolute offset (below 2^31); false when positioning fails,
  // which is always the case while no file is open.
  virtual bool Seek(uint32_t offset) = 0;
  // Reads up to size bytes at the current position. False only when the read
  // itself reports failure; a read at or past the end of the file succeeds
  // and delivers fewer bytes (possibly none).
  virtual bool Read(void* buffer, uint32_t size, uint32_t* delivered) = 0;
  virtual void Close() = 0;

 protected:
  ~TableFile() = default;
};

// How failures reach the user: a message box without owner window, or the
// simple beep.
class Reports {
 public:
  // caption nullptr means the system's default caption.
  virtual void ShowMessage(const char* text, const char* caption) = 0;
  virtual void Beep() = 0;

 protected:
  ~Reports() = default;
};

// The candidate text buffer (TextBufferSize bytes, zero-filled when
// allocated), locked only around each load and each scan.
class TextBuffer {
 public:
  // nullptr when the buffer cannot be locked.
  virtual char* Lock() = 0;
  virtual void Unlock() = 0;

 protected:
  ~TextBuffer() = default;
};

// The input box. Emptying it raises its change notification again before
// Empty returns, which runs HandleInputChange once more, nested.
class InputBox {
 public:
  // Reads the text, at most limit - 1 bytes and a NUL, into buffer.
  virtual void ReadText(char* buffer, size_t limit) = 0;
  virtual void Empty() = 0;

 protected:
  ~InputBox() = default;
};

// The result pane: its own text emptied and the whole pane repainted.
class ResultPaneView {
 public:
  virtual void Refresh() = 0;

 protected:
  ~ResultPaneView() = default;
};

// Heights of text in the pane font.
class TextMeasure {
 public:
  virtual int TextHeight(const char* text, size_t length) = 0;

 protected:
  ~TextMeasure() = default;
};

// The start-up's steps (lookup_startup.h): the main window's class and
// window as every program's (the window computes the system directory and
// creates the dialog while it is created), then the text buffer and the
// code table.
class LookupStartup : public MainWindowStartup {
 public:
  virtual bool AllocateTextBuffer() = 0;
  // A message box with the program's title as caption.
  virtual void ShowStartupFailure(const char* text) = 0;
  virtual void DestroyMainWindow() = 0;
  virtual void OpenTable() = 0;  // reports a failure itself and runs on

 protected:
  ~LookupStartup() = default;
};

}  // namespace navo::codefind
