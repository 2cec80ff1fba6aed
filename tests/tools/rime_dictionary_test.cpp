// Rime dictionaries read as librime reads them: the header through YAML, the
// entry lines' rules, and the codes its encoder gives entries without one.
#include "tools/navomb/rime_dictionary.h"

#include <gtest/gtest.h>

#include "tools/common/gbk_text.h"

namespace navo::testing {
namespace {

std::vector<std::string> Messages(const std::vector<LineError>& list) {
  std::vector<std::string> messages;
  for (const LineError& e : list) messages.push_back(std::to_string(e.line) + ": " + e.message);
  return messages;
}

struct Read {
  TableSource source;
  TableReadResult result;
  RimeImports imports;
  explicit Read(const std::string& utf8) {
    result = ReadRimeDictionary(DecodeTextFile(utf8).lines, {}, &source, &imports);
  }
  // "text code" in UTF-8, in the order the table takes them.
  std::vector<std::string> Candidates() const {
    std::vector<std::string> candidates;
    for (const TableCandidate& c : source.candidates) {
      std::string utf8;
      EXPECT_TRUE(GbkToUtf8(c.text, &utf8));
      candidates.push_back(utf8 + " " + c.code);
    }
    return candidates;
  }
};

// A dictionary of lines 1-3 "---", name, version, then header, "...", body.
std::string Dictionary(const std::string& header, const std::string& body) {
  return "---\nname: t\nversion: \"1\"\n" + header + "...\n" + body;
}

TEST(RimeDictionaryTest, ColumnsListDecidesWhichColumnIsTextAndWhichCode) {
  const struct {
    const char* name;
    const char* header;
    const char* body;
  } cases[] = {
      {"defaults: text, code, weight", "", u8"工\taaaa\t10\n工人\taaww\n"},
      {"block list, code first", "columns:\n  - code\n  - weight\n  - text\n",
       u8"aaaa\t10\t工\naaww\t9\t工人\n"},
      {"block list at the key's indent", "columns:\n- stem\n- code\n- text\n",
       u8"x\taaaa\t工\t\ny\taaww\t工人\n"},
      {"flow list, quoted", "columns: [\"weight\", code, 'text']  # comment\n",
       u8"1\taaaa\t工\n2\taaww\t工人\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read read(Dictionary(c.header, c.body));
    EXPECT_EQ(Messages(read.result.errors), std::vector<std::string>{});
    EXPECT_EQ(read.Candidates(), (std::vector<std::string>{u8"工 aaaa", u8"工人 aaww"}));
  }
}

// Each rule of librime's entry lines (entry_collector.cc): the body's
// first line is line 5.
TEST(RimeDictionaryTest, EntryLinesFollowRimesRules) {
  const struct {
    const char* name;
    std::string body;
    std::vector<std::string> candidates;
    std::vector<std::string> warnings;
  } cases[] = {
      {"comments until exactly \"# no comment\"",
       u8"#工\tzz\n# no comment here\n#人\tyy\n童\tujff\n# no comment\n#\tx\n",
       {u8"童 ujff", u8"# x"}, {}},
      {"\"# no comment\" with trailing blanks still counts", "# no comment \t\n#\tx\n",
       {u8"# x"}, {}},
      {"a line of blanks is empty", u8" \t \n工\taaaa\n", {u8"工 aaaa"}, {}},
      {"trailing blanks of the last column dropped", u8"工\taaaa  \n人\tw\t\n", {u8"工 aaaa", u8"人 w"},
       {}},
      {"blanks around a code dropped", u8"工\t aaaa \t3\n", {u8"工 aaaa"}, {}},
      {"a code of two syllables left out", u8"工\taa aa\t3\n",
       {}, {u8"5: code \"aa aa\" of \"工\" is not one syllable: left out, as Rime types it only "
            u8"with separators"}},
      {"no text: left out with a warning", u8"\taaaa\n工\taaaa\n",
       {u8"工 aaaa"}, {"5: no text: left out, as Rime leaves it out"}},
      {"the same text and code twice: kept, as the table had it", u8"工\taaaa\n工\taaaa\t5\n",
       {u8"工 aaaa", u8"工 aaaa"}, {}},
      {"a weight that is no number taken as 0", u8"工\taaaa\tmuch\n工\ta\t50%\n",
       {u8"工 aaaa", u8"工 a"}, {"5: weight \"much\" is not a number: taken as 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read read(Dictionary("", c.body));
    EXPECT_EQ(Messages(read.result.errors), std::vector<std::string>{});
    EXPECT_EQ(Messages(read.result.warnings), c.warnings);
    EXPECT_EQ(read.Candidates(), c.candidates);
  }
}

TEST(RimeDictionaryTest, GivesTheImportedTablesWithTheirLinesToTheCaller) {
  Read read(Dictionary("import_tables:\n  - wubi86\n  - t\n  - \"extra\"\n", u8"工\taaaa\n"));
  EXPECT_TRUE(read.result.errors.empty());
  EXPECT_TRUE(read.result.warnings.empty());
  ASSERT_EQ(read.imports.size(), 2u);  // not itself, which Rime passes over
  EXPECT_EQ(read.imports[0].number, 5u);
  EXPECT_EQ(read.imports[0].text, "wubi86");
  EXPECT_EQ(read.imports[1].number, 7u);
  EXPECT_EQ(read.imports[1].text, "extra");
  EXPECT_EQ(read.source.candidates.size(), 1u);
}

// The list navomb export writes: "character code", a character alone for
// an empty code.
TEST(RimeDictionaryTest, WordMakingCodesOfTheTableComeFromTheHeaderList) {
  Read read(Dictionary(u8"columns: [text, code, stem]\nnavo_word_making_codes:\n  - \"中 kh\"\n"
                       u8"  - \"人\"\n",
                       u8"中\tkhk\tzz\n人\tw\n国\tlgyi\tlg\n"));
  EXPECT_TRUE(read.result.errors.empty());
  EXPECT_EQ(read.source.wordMakingCodes,
            (std::map<std::string, std::string>{{"\xD6\xD0", "kh"}, {"\xC8\xCB", ""}}));
  EXPECT_EQ(read.Candidates().size(), 3u);
}

TEST(RimeDictionaryTest, ReportsWhatItCannotTake) {
  const struct {
    const char* name;
    std::string text;
    std::vector<std::string> errors;
  } cases[] = {
      {"no end of header", u8"---\nname: t\n工\taaaa\n",
       {"0: no line \"...\" ends the YAML header: not a Rime dictionary"}},
      {"no version", "---\nname: t\n...\n",
       {"0: the header gives no name: or no version:, which Rime needs"}},
      {"no text column", Dictionary("columns: [code, weight]\n", ""),
       {"0: columns: names no text column, which Rime needs"}},
      {"YAML that does not parse, named with its line",
       Dictionary("columns: [text, code\nsort: original\n", ""),
       {"5: YAML header: end of sequence flow not found"}},
      {"bad codes", Dictionary("", u8"工\tgong-ren\n\xF0\xA0\x80\x80\tab\n"),
       {u8"5: code \"gong-ren\" of \"工\" is not 1 to 7 letters a-z",
        u8"6: text \"\xF0\xA0\x80\x80\" is not in GBK"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read read(c.text);
    EXPECT_EQ(Messages(read.result.errors), c.errors);
  }
}

// Rules Rime passes over, named with their lines; a pattern that is no
// regular expression is an error.
TEST(RimeDictionaryTest, NamesEncoderSettingsItCannotUse) {
  Read read(Dictionary("encoder:\n  rules:\n    - length_equal: 2\n      formula: AaB\n"
                       "    - length_in_range: [4, 2]\n      formula: AaBa\n"
                       "  exclude_patterns: ['(']\n",
                       ""));
  EXPECT_EQ(Messages(read.result.warnings),
            (std::vector<std::string>{
                "6: encoder rule: formula \"AaB\" is not pairs such as Aa, Zz: rule passed over",
                "8: encoder rule: no word length or range: rule passed over"}));
  EXPECT_EQ(Messages(read.result.errors),
            std::vector<std::string>{"10: exclude_patterns: \"(\" is not a regular expression"});
}

// The encoder's formulas, letters worked out by hand from librime's
// encoder.cc: each pair takes a character (A the first, Z the last) and a
// letter of its code (a the first, z the last), never going back.
TEST(RimeEncoderTest, FormulasTakeTheLettersTheyName) {
  const struct {
    const char* name;
    std::vector<std::string> formulas;  // for 2, 3, and 4 to 10 characters
    std::string tailAnchor;
    std::vector<std::string> codes;
    const char* expected;  // nullptr: no code
  } cases[] = {
      {"wubi, 2", {"AaAbBaBb", "AaBaCaCb", "AaBaCaZa"}, "", {"khk", "lgyi"}, "khlg"},
      {"wubi, 3", {"AaAbBaBb", "AaBaCaCb", "AaBaCaZa"}, "", {"khk", "wxfj", "wwww"}, "kwww"},
      {"wubi, 4", {"AaAbBaBb", "AaBaCaCb", "AaBaCaZa"}, "", {"khk", "wxfj", "wwww", "nafn"},
       "kwwn"},
      {"wubi, 5", {"AaAbBaBb", "AaBaCaCb", "AaBaCaZa"}, "", {"abc", "def", "ghi", "jkl", "mno"},
       "adgm"},
      {"a letter the code lacks is passed over", {"AaAbBaBb", "", ""}, "", {"a", "b"}, "ab"},
      {"cangjie, 2", {"AaAzBaBbBz", "", ""}, "", {"abc", "defg"}, "acdeg"},
      {"cangjie, 2: z never takes a letter again", {"AaAzBaBbBz", "", ""}, "", {"a", "de"},
       "ade"},
      {"cangjie, 3", {"", "AaAzBaBzCz", ""}, "", {"ab", "cd", "ef"}, "abcdf"},
      {"cangjie, 4: Y is the third", {"", "", "AaBzCaYzZz"}, "", {"ab", "cd", "ef", "gh"},
       "adefh"},
      {"cangjie, 5", {"", "", "AaBzCaYzZz"}, "", {"ab", "cd", "ef", "gh", "ij"}, "adehj"},
      {"a tail anchor ends the code for z", {"AaAzBaBz", "", ""}, "'", {"ab'cd", "ef"}, "abef"},
      {"without it z is the last letter", {"AaAzBaBz", "", ""}, "", {"abcd", "ef"}, "adef"},
      {"no rule for the length", {"AaAbBaBb", "AaBaCaCb", ""}, "", {"a", "b", "c", "d"},
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RimeEncoder encoder;
    encoder.tailAnchor = c.tailAnchor;
    const int lengths[][2] = {{2, 2}, {3, 3}, {4, 10}};
    for (size_t i = 0; i < c.formulas.size(); ++i) {
      if (c.formulas[i].empty()) continue;
      RimeEncodingRule rule;
      ASSERT_TRUE(ParseRimeFormula(c.formulas[i], &rule));
      rule.fewest = lengths[i][0];
      rule.most = lengths[i][1];
      encoder.rules.push_back(rule);
    }
    std::string code;
    EXPECT_EQ(encoder.Encode(c.codes, &code), c.expected != nullptr);
    if (c.expected) {
      EXPECT_EQ(code, c.expected);
    }
  }
}

TEST(RimeEncoderTest, FormulasMustBePairsOfCapitalAndSmallLetters) {
  RimeEncodingRule rule;
  for (const char* bad : {"AaB", "aA", "A1", "Aa-b"}) EXPECT_FALSE(ParseRimeFormula(bad, &rule)) << bad;
  ASSERT_TRUE(ParseRimeFormula("AaZz", &rule));
  ASSERT_EQ(rule.letters.size(), 2u);
  EXPECT_EQ(rule.letters[1].character, -1);
  EXPECT_EQ(rule.letters[1].code, -1);
}

const char kWubiRules[] =
    "encoder:\n"
    "  exclude_patterns: ['^z.*$']\n"
    "  rules:\n"
    "    - length_equal: 2\n"
    "      formula: \"AaAbBaBb\"\n"
    "    - length_in_range: [3, 4]\n"
    "      formula: \"AaBaCaZa\"\n";

// Rules for words of up to 32 characters, as long as Rime encodes.
const char kLongRules[] =
    "encoder:\n"
    "  rules:\n"
    "    - length_in_range: [2, 32]\n"
    "      formula: \"AaBaZa\"\n";

std::string ThirtyZhong() {
  std::string text;
  for (int i = 0; i < 30; ++i) text += u8"中";
  return text;
}

const std::string kWubiStemRules = std::string("columns: [text, code, weight, stem]\n") + kWubiRules;

// Entries without a code, after every entry with one, each with every code
// its characters' codes give (a character's codes in code order).
TEST(RimeDictionaryTest, EntriesWithoutCodeGetTheEncodersCodes) {
  const struct {
    const char* name;
    std::string header;
    std::string body;
    std::vector<std::string> candidates;
    std::vector<std::string> warnings;
  } cases[] = {
      {"two characters, every code of each", kWubiRules,
       u8"中国\n中\tkhk\n中\tk\n国\tlgyi\n",
       {u8"中 khk", u8"中 k", u8"国 lgyi", u8"中国 klg", u8"中国 khlg"}, {}},
      {"an empty code column is no code", kWubiRules,
       u8"中\tkhk\n国\tlgyi\n中国\t\t10\n", {u8"中 khk", u8"国 lgyi", u8"中国 khlg"}, {}},
      {"codes under 5% of the character's weight make no words", kWubiRules,
       u8"中\tkhk\t100\n中\tk\t1\n国\tlgyi\n中国\n",
       {u8"中 khk", u8"中 k", u8"国 lgyi", u8"中国 khlg"}, {}},
      {"a stem stands for the character's codes", kWubiStemRules,
       u8"中\tk\t1\tkh\n国\tlgyi\n中国\n", {u8"中 k", u8"国 lgyi", u8"中国 khlg"}, {}},
      {"excluded codes make no words", kWubiRules,
       u8"中\tzzzz\n中\tkhk\n国\tlgyi\n中国\n",
       {u8"中 zzzz", u8"中 khk", u8"国 lgyi", u8"中国 khlg"}, {}},
      {"a code made that the text has already: once", kWubiRules,
       u8"中\tkhk\n中\tkh\n国\tlgyi\n中国\tkhlg\n中国\n",
       {u8"中 khk", u8"中 kh", u8"国 lgyi", u8"中国 khlg"}, {}},
      {"four characters", kWubiRules, u8"中华人民\n中\tkhk\n华\twxfj\n人\tw\n民\tnav\n",
       {u8"中 khk", u8"华 wxfj", u8"人 w", u8"民 nav", u8"中华人民 kwwn"}, {}},
      {"a character without a code", kWubiRules, u8"中\tkhk\n中丁\n",
       {u8"中 khk"},
       {u8"13: no code for \"中丁\": \"丁\" has no code to make words of; left out, as Rime "
        u8"leaves it out"}},
      {"longer than the rules take", kWubiRules, u8"中\tkhk\n中中中中中\n", {u8"中 khk"},
       {u8"13: no code for \"中中中中中\": the encoder rules take words of at most 4 characters; "
        u8"left out, as Rime leaves it out"}},
      // Thirty characters of two codes each and one without: no choice of
      // the 2^30 makes a code, and the reader says so without trying them.
      {"a long word with a character without a code", kLongRules,
       u8"中\tkhk\n中\tkh\n" + ThirtyZhong() + u8"丁\n",
       {u8"中 khk", u8"中 kh"},
       {u8"11: no code for \"" + ThirtyZhong() + u8"丁\": \"丁\" has no code to make words of; "
        u8"left out, as Rime leaves it out"}},
      {"without rules: a long text whose parts cannot finish it", "",
       u8"中\tkhk\n中\tkh\n" + ThirtyZhong() + u8"丁\n",
       {u8"中 khk", u8"中 kh"},
       {u8"7: no code for \"" + ThirtyZhong() + u8"丁\": no encoder rules, and it is not made of "
        u8"texts with codes; left out, as Rime leaves it out"}},
      {"without rules: the code of the text where it has one", "",
       u8"中国\tkhlg\n中国\n", {u8"中国 khlg"}, {}},
      {"without rules: its parts' codes, syllables a table cannot hold", "",
       u8"中\tkh\n国\tlgyi\n中国\n", {u8"中 kh", u8"国 lgyi"},
       {u8"7: code \"kh lgyi\" of \"中国\" is not one syllable: left out, as Rime types it "
        u8"only with separators"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read read(Dictionary(c.header, c.body));
    EXPECT_EQ(Messages(read.result.errors), std::vector<std::string>{});
    EXPECT_EQ(Messages(read.result.warnings), c.warnings);
    EXPECT_EQ(read.Candidates(), c.candidates);
  }
}

}  // namespace
}  // namespace navo::testing
