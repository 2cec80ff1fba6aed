// The candidate text buffer as a fixed array that never moves, for the
// platforms whose memory does not: the native tools and the page's module.
#pragma once

#include "codefind/platform.h"
#include "codefind/table_layout.h"

namespace navo::codefind {

class StaticTextBuffer final : public TextBuffer {
 public:
  char* Lock() override { return bytes_; }
  void Unlock() override {}

 private:
  char bytes_[TextBufferSize] = {};
};

}  // namespace navo::codefind
