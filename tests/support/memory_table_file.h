// A table file held in memory, with the platform's semantics: positioning
// fails while nothing is open, reads past the end deliver fewer bytes.
#pragma once

#include <cstring>
#include <vector>

#include "codefind/platform.h"

namespace navo::testing {

class MemoryTableFile final : public codefind::TableFile {
 public:
  explicit MemoryTableFile(const std::vector<uint8_t>* bytes) : bytes_(bytes) {}

  bool Open(const char*) override { return open_ = bytes_ != nullptr; }
  bool Seek(uint32_t offset) override {
    position_ = offset;
    return open_;
  }
  bool Read(void* buffer, uint32_t size, uint32_t* delivered) override {
    *delivered = 0;
    if (!open_) return false;
    if (position_ < bytes_->size()) {
      const size_t available = bytes_->size() - position_;
      *delivered = uint32_t(size < available ? size : available);
      std::memcpy(buffer, bytes_->data() + position_, *delivered);
    }
    position_ += *delivered;
    return true;
  }
  void Close() override { open_ = false; }

 private:
  const std::vector<uint8_t>* bytes_;
  bool open_ = false;
  uint64_t position_ = 0;
};

}  // namespace navo::testing
