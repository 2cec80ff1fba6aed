// What the code table reader needs of the platform: a read-only file, a way to
// tell the user about failures, and the movable text buffer.
#pragma once

#include <cstdint>

namespace navo {

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

}  // namespace navo
