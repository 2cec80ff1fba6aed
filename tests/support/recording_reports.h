// Reports kept in the order they happened: "box:TEXT/CAPTION" (raw GBK, an
// empty caption for the default one) or "beep".
#pragma once

#include <string>
#include <vector>

#include "codefind/platform.h"

namespace navo::testing {

class RecordingReports final : public codefind::Reports {
 public:
  std::vector<std::string> events;

  void ShowMessage(const char* text, const char* caption) override {
    events.push_back(std::string("box:") + text + "/" + (caption ? caption : ""));
  }
  void Beep() override { events.push_back("beep"); }
};

// The report texts as they are expected.
inline std::string Box(const std::string& text, const std::string& caption = "") {
  return "box:" + text + "/" + caption;
}

}  // namespace navo::testing
