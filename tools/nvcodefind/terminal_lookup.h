// The lookup of the window, run for a terminal: one open code table, the
// window's reports collected for each lookup instead of shown.
#pragma once

#include <string>
#include <vector>

#include "codefind/code_table.h"
#include "codefind/posix/posix_platform.h"
#include "codefind/static_text_buffer.h"
#include "tools/nvcodefind/lookup_outcome.h"

namespace navo {

class TerminalLookup {
 public:
  // Opens the table as the window does; the reports of opening (a failure
  // to open) are kept for OpeningReports.
  explicit TerminalLookup(const char* tablePath);

  const std::vector<Report>& OpeningReports() const { return openingReports_; }

  // A character (as the window looks it up) or a word (the codes under which
  // it stands in the block of its word code's prefix), given in UTF-8.
  LookupOutcome LookUpText(const std::string& utf8);

  // Exactly the two bytes typed into the window's box.
  LookupOutcome LookUpTyped(const char typed[2]);

  // Exactly the bytes of a word (more than two), as the page's word field
  // takes them.
  LookupOutcome LookUpTypedWord(const std::string& bytes);

  // Every code of a character or word, short codes included, given in
  // UTF-8 or as its exact bytes.
  LookupOutcome LookUpEveryCode(const std::string& utf8);
  LookupOutcome LookUpTypedEveryCode(const std::string& bytes);

  // The candidates and hints of a typed code.
  CodeOutcome LookUpCode(const std::string& code);

 private:
  class CollectedReports final : public codefind::Reports {
   public:
    std::vector<Report> reports;
    void ShowMessage(const char* text, const char* caption) override {
      reports.push_back({false, text, caption ? caption : ""});
    }
    void Beep() override { reports.push_back({true, "", ""}); }
  };

  // A text in UTF-8 (or a word's exact bytes) looked up as the window or
  // the word field does, or for every code.
  LookupOutcome LookUpUtf8(const std::string& utf8, bool every);
  LookupOutcome LookUpTypedBytes(const std::string& bytes, bool every);

  // The word lookup of the core into outcome; codes shown as fields or not.
  void LookUpWord(const std::string& gbk, bool fields, LookupOutcome* outcome);
  void LookUpEvery(const std::string& gbk, bool fields, LookupOutcome* outcome);

  codefind::PosixTableFile file_;
  CollectedReports reports_;
  codefind::StaticTextBuffer textBuffer_;
  codefind::CodeTable table_{file_, reports_, textBuffer_};
  std::vector<Report> openingReports_;
};

}  // namespace navo
