// Prints each text of the lookup tool's core as NAME and its bytes in hex,
// for lookup_texts_test.sh to hold against iconv's GBK.
#include <cstdio>

#include "codefind/code_lookup.h"
#include "codefind/code_table.h"
#include "codefind/lookup_startup.h"
#include "codefind/result_pane_layout.h"

int main() {
  using namespace navo::codefind;
  const struct {
    const char* name;
    const char* text;
  } texts[] = {
      {"OpenFailedText", OpenFailedText},
      {"DamagedTableText", DamagedTableText},
      {"WordMakingCodeErrorCaption", WordMakingCodeErrorCaption},
      {"ResultPaneHeading", ResultPaneHeading},
      {"OutOfMemoryText", OutOfMemoryText},
      {"SampleCharacter", SampleCharacter},
  };
  for (const auto& text : texts) {
    std::printf("%s ", text.name);
    for (const char* c = text.text; *c != '\0'; ++c)
      std::printf("%02x", static_cast<unsigned char>(*c));
    std::printf("\n");
  }
  return 0;
}
