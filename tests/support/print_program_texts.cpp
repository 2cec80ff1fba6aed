// Prints each Chinese text that the programs' code uses as NAME and its bytes
// in hex, for program_texts_test.sh to hold against iconv's GBK.
#include <cstdio>

#include "codefind/code_lookup.h"
#include "codefind/code_table.h"
#include "codefind/lookup_startup.h"
#include "codefind/result_pane_layout.h"
#include "common/text_font.h"
#include "setup/installation.h"
#include "setup/setup_sequence.h"

int main() {
  using namespace navo;
  const struct {
    const char* name;
    const char* text;
  } texts[] = {
      {"OpenFailedText", codefind::OpenFailedText},
      {"DamagedTableText", codefind::DamagedTableText},
      {"WordMakingCodeErrorCaption", codefind::WordMakingCodeErrorCaption},
      {"ResultPaneHeading", codefind::ResultPaneHeading},
      {"OutOfMemoryText", codefind::OutOfMemoryText},
      {"SampleCharacter", codefind::SampleCharacter},
      {"ChineseFallbackFace", ChineseFallbackFace},
      {"LayoutText", setup::LayoutText},
      {"CompletionMessage", setup::CompletionMessage},
      {"IncompleteMessage", setup::IncompleteMessage},
      {"EarlierCopyKept", setup::EarlierCopyKept},
      {"NoCopyLeft", setup::NoCopyLeft},
      {"CopyUnverified", setup::CopyUnverified},
  };
  for (const auto& text : texts) {
    std::printf("%s ", text.name);
    for (const char* c = text.text; *c != '\0'; ++c)
      std::printf("%02x", static_cast<unsigned char>(*c));
    std::printf("\n");
  }
  return 0;
}
