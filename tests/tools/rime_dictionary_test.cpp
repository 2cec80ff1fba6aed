// Rime dictionaries read as the table of their text and code columns.
#include "tools/navomb/rime_dictionary.h"

#include <gtest/gtest.h>

namespace navo::testing {
namespace {

struct Read {
  TableSource source;
  TableReadResult result;
  RimeImports imports;
  explicit Read(const std::string& utf8) {
    result = ReadRimeDictionary(DecodeTextFile(utf8).lines, {}, &source, &imports);
  }
  std::vector<std::string> Candidates() const {
    std::vector<std::string> candidates;
    for (const TableCandidate& c : source.candidates) candidates.push_back(c.text + " " + c.code);
    return candidates;
  }
};

TEST(RimeDictionaryTest, ColumnsListDecidesWhichColumnIsTextAndWhichCode) {
  const struct {
    const char* name;
    const char* header;
    const char* body;
  } cases[] = {
      {"defaults: text, code, weight", "name: t\n", u8"工\taaaa\t10\n工人\taaww\n"},
      {"block list, code first", "columns:\n  - code\n  - weight\n  - text\n",
       u8"aaaa\t10\t工\naaww\t9\t工人\n"},
      {"block list at the key's indent", "columns:\n- stem\n- code\n- text\n",
       u8"x\taaaa\t工\t\ny\taaww\t工人\n"},
      {"flow list, quoted", "columns: [\"weight\", code, 'text']  # comment\n",
       u8"1\taaaa\t工\n2\taaww\t工人\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read read(std::string("# Rime dictionary\n---\n") + c.header +
              "encoder:\n  rules:\n    - length_equal: 2\n...\n\n" + c.body);
    EXPECT_TRUE(read.result.errors.empty());
    EXPECT_EQ(read.Candidates(), (std::vector<std::string>{"工 aaaa", "工人 aaww"}));
  }
}

TEST(RimeDictionaryTest, CommentsUntilNoCommentAndEntriesInFileOrder) {
  Read read(u8"---\ncolumns: [text, code]\n...\n#工\tzz\n童\tujff\n# no comment\n#\tx\n工\taaaa\n");
  EXPECT_TRUE(read.result.errors.empty());
  EXPECT_EQ(read.Candidates(), (std::vector<std::string>{"童 ujff", "# x", "工 aaaa"}));
}

TEST(RimeDictionaryTest, GivesTheImportedTablesWithTheirLinesToTheCaller) {
  Read read(u8"---\nimport_tables:\n  - wubi86\n  - \"extra\"\n...\n工\taaaa\n");
  EXPECT_TRUE(read.result.errors.empty());
  EXPECT_TRUE(read.result.warnings.empty());
  ASSERT_EQ(read.imports.size(), 2u);
  EXPECT_EQ(read.imports[0].number, 3u);
  EXPECT_EQ(read.imports[0].text, "wubi86");
  EXPECT_EQ(read.imports[1].number, 4u);
  EXPECT_EQ(read.imports[1].text, "extra");
  EXPECT_EQ(read.source.candidates.size(), 1u);
}

// The list navomb export writes: "character code", a character alone for
// an empty code; stems are not taken.
TEST(RimeDictionaryTest, WordMakingCodesComeFromTheHeaderListAlone) {
  Read read(u8"---\ncolumns: [text, code, stem]\nnavo_word_making_codes:\n  - \"中 kh\"\n"
            u8"  - \"人\"\n...\n中\tkhk\tzz\n人\tw\n国\tlgyi\tlg\n");
  EXPECT_TRUE(read.result.errors.empty());
  EXPECT_EQ(read.source.wordMakingCodes,
            (std::map<std::string, std::string>{{"\xD6\xD0", "kh"}, {"\xC8\xCB", ""}}));
  EXPECT_EQ(read.Candidates().size(), 3u);
}

TEST(RimeDictionaryTest, ReportsWhatItCannotTake) {
  const struct {
    const char* name;
    const char* text;
    std::vector<std::string> errors;
  } cases[] = {
      {"no end of header",
       u8"---\nname: t\n工\taaaa\n",
       {"0: no line \"...\" ends the YAML header: not a Rime dictionary"}},
      {"no code column",
       "---\ncolumns: [text, weight]\n...\n",
       {"0: columns: names no text or no code column"}},
      {"entries without code, bad codes",
       u8"---\n...\n工\n工\tgong ren\n\xF0\xA0\x80\x80\tab\n",
       {"3: no code in column 2 (codes that Rime would make by its encoder rules are not made "
        "here)",
        u8"4: code \"gong ren\" of \"工\" is not 1 to 7 letters a-z",
        u8"5: text \"\xF0\xA0\x80\x80\" is not in GBK"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read read(c.text);
    std::vector<std::string> errors;
    for (const LineError& e : read.result.errors)
      errors.push_back(std::to_string(e.line) + ": " + e.message);
    EXPECT_EQ(errors, c.errors);
  }
}

}  // namespace
}  // namespace navo::testing
