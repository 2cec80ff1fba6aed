// The code table reader's platform on POSIX systems, for the native tools.
#pragma once

#include "codefind/code_table.h"
#include "codefind/platform.h"

namespace navo::codefind {

class PosixTableFile final : public TableFile {
 public:
  ~PosixTableFile();
  bool Open(const char* path) override;
  bool Seek(uint32_t offset) override;
  bool Read(void* buffer, uint32_t size, uint32_t* delivered) override;
  void Close() override;

 private:
  int fd_ = -1;
  uint64_t position_ = 0;
  const char* mapping_ = nullptr;
  uint64_t mappedSize_ = 0;
};

}  // namespace navo::codefind
