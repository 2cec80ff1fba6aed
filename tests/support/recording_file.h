// Passes every call on to a real table file and records it:
// "open PATH", "seek OFFSET", "read SIZE", and the failures.
#pragma once

#include <string>
#include <vector>

#include "codefind/platform.h"

namespace navo::testing {

class RecordingTableFile final : public codefind::TableFile {
 public:
  explicit RecordingTableFile(codefind::TableFile& real) : real_(real) {}

  std::vector<std::string> calls;

  bool Open(const char* path) override {
    calls.push_back(std::string("open ") + path);
    return real_.Open(path);
  }
  bool Seek(uint32_t offset) override {
    const bool ok = real_.Seek(offset);
    calls.push_back("seek " + std::to_string(offset) + (ok ? "" : " failed"));
    return ok;
  }
  bool Read(void* buffer, uint32_t size, uint32_t* delivered) override {
    const bool ok = real_.Read(buffer, size, delivered);
    calls.push_back("read " + std::to_string(size) + (ok ? "" : " failed"));
    return ok;
  }
  void Close() override {
    calls.push_back("close");
    real_.Close();
  }

  // Only the reads, for counting.
  size_t ReadCount() const {
    size_t count = 0;
    for (const std::string& call : calls) count += call.rfind("read ", 0) == 0;
    return count;
  }

 private:
  codefind::TableFile& real_;
};

}  // namespace navo::testing
