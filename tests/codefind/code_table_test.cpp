// The code table reader: what it reads, in which order, and what it tells
// the user, on tables built for each case.
#include "codefind/code_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codefind/code_lookup.h"
#include "tests/support/table_fixture.h"

namespace navo::testing {

using namespace navo::codefind;
namespace {

using Calls = std::vector<std::string>;
using Events = std::vector<std::string>;

const std::string ReadError = Box("Error reading file", "SetFilePointer");
const std::string Damaged = Box("码表文件已损坏", "navo.mb");

// A block "ab" of n candidates, each a one-character text.
TableSource PairBlock(const char* prefix, size_t n) {
  TableSource source;
  for (size_t i = 0; i < n; ++i) source.candidates.push_back({"工", std::string(prefix) + "x"});
  return source;
}

std::string Seek(uint64_t offset) { return "seek " + std::to_string(offset); }
std::string Read(uint64_t size) { return "read " + std::to_string(size); }

class CodeTableTest : public TableTest {};

TEST_F(CodeTableTest, MissingTableIsReportedOnceAndEveryRecordReadThenFails) {
  ASSERT_FALSE(OpenCodeTable(table, ScratchDirectory().c_str()));
  EXPECT_EQ(file.calls, Calls{"open " + ScratchDirectory() + "navo.mb"});
  EXPECT_EQ(reports.events, Events{Box("打开文件失败")});

  ForgetCalls();
  char code[4];
  EXPECT_EQ(ReadWordMakingCode(table, 0xCD, 0xAF, code), WordCodeRead::ReadFailed);
  EXPECT_EQ(reports.events, (Events{ReadError, ReadError}));
  EXPECT_EQ(std::string(code, 4), std::string(4, '\0'));
}

TEST_F(CodeTableTest, PathIsTheSystemDirectoryFollowedByTheTableName) {
  OpenCodeTable(table, "");
  EXPECT_EQ(file.calls, Calls{"open navo.mb"});
  EXPECT_STREQ(table.path, "navo.mb");
}

TEST_F(CodeTableTest, DirectoryTooLongForThePathBufferIsRefusedWithoutOpening) {
  const std::string longDirectory(PathBufferSize - 7, 'd');  // 253 + "navo.mb" = 260 bytes
  EXPECT_FALSE(OpenCodeTable(table, longDirectory.c_str()));
  EXPECT_EQ(file.calls, Calls{"close"});
  EXPECT_EQ(reports.events, Events{Box("打开文件失败")});

  const std::string fitting(PathBufferSize - 8, 'd');  // 259 bytes: the longest path
  ForgetCalls();
  OpenCodeTable(table, fitting.c_str());
  EXPECT_EQ(file.calls, Calls{"open " + fitting + "navo.mb"});
}

TEST_F(CodeTableTest, WordMakingCodeIsReadThroughTheLeadByteTable) {
  TableSource source;
  source.wordMakingCodes["童"] = "ujf";
  UseTable(source);
  std::vector<uint8_t> bytes = BuildCodeTable(source).bytes;

  char code[4];
  ASSERT_EQ(ReadWordMakingCode(table, 0xCD, 0xAF, code), WordCodeRead::Ok);
  EXPECT_STREQ(code, "ujf");
  EXPECT_EQ(file.calls, (Calls{Seek(247480), Read(4), Seek(RecordOffset(bytes, "童")), Read(4)}));
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(CodeTableTest, RecordPastTheEndOfTheFileIsAnEmptyCodeWithoutMessage) {
  TableSource source;
  std::vector<uint8_t> bytes = BuildCodeTable(source).bytes;
  SetU32(bytes, LeadByteTableOffset + 4 * (0xFE - 0x81), uint32_t(bytes.size()) + 100);
  UseBytes(bytes);

  char code[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(ReadWordMakingCode(table, 0xFE, 0xFF, code), WordCodeRead::Ok);
  EXPECT_EQ(std::string(code, 4), std::string(4, '\0'));
  EXPECT_TRUE(reports.events.empty());
}

TEST_F(CodeTableTest, RecordWithoutNulOrWithOtherThanLettersIsDamage) {
  TableSource source;
  source.wordMakingCodes["童"] = "ujf";
  source.wordMakingCodes["工"] = "a";
  std::vector<uint8_t> bytes = BuildCodeTable(source).bytes;
  bytes[RecordOffset(bytes, "童") + 3] = 'x';  // "ujfx": no NUL in 4 bytes
  bytes[RecordOffset(bytes, "工")] = 'A';
  UseBytes(bytes);

  char code[4];
  EXPECT_EQ(ReadWordMakingCode(table, 0xCD, 0xAF, code), WordCodeRead::Damaged);
  EXPECT_EQ(ReadWordMakingCode(table, uint8_t("工"[0]), uint8_t("工"[1]), code),
            WordCodeRead::Damaged);
  EXPECT_EQ(reports.events, (Events{Damaged, Damaged}));
  EXPECT_STREQ(code, "");
}

TEST_F(CodeTableTest, PairBlockIsReadInFourReadsAtItsOffsets) {
  TableSource source;
  source.candidates = {{"工", "abc"}, {"式", "ab"}, {"工人", "abdd"}};
  UseTable(source);
  const uint32_t block = GetU32(BuildCodeTable(source).bytes, PairEntryOffset("ab"));

  ASSERT_TRUE(LoadCandidateBlock(table, "ab"));
  EXPECT_EQ(file.calls, (Calls{Seek(PairEntryOffset("ab")), Read(12), Seek(block), Read(18),
                               Seek(block + 18), Read(12), Seek(block + 30), Read(3 + 3 + 5)}));
  ASSERT_EQ(table.loadedCount, 3u);
  EXPECT_EQ(table.textSize, 11u);
  const char* text = textBuffer.Lock();
  EXPECT_STREQ(CandidateText(table, text, 2), "工人");
  EXPECT_STREQ(CandidateSuffix(table, 2), "dd");
  EXPECT_STREQ(CandidateSuffix(table, 1), "");
  textBuffer.Unlock();
}

TEST_F(CodeTableTest, BlockOfExactly2000CandidatesIsReadWhole) {
  UseTable(PairBlock("ab", 2000));
  ASSERT_TRUE(LoadCandidateBlock(table, "ab"));
  EXPECT_EQ(table.loadedCount, 2000u);
  EXPECT_EQ(table.textSize, 6000u);
  EXPECT_EQ(file.ReadCount(), 4u);
  EXPECT_EQ(file.calls[3], Read(12000));
  EXPECT_EQ(file.calls[7], Read(6000));
}

TEST_F(CodeTableTest, LargerBlockLoadsTheFirst2000WithTheTextsBeforeThe2001st) {
  UseTable(PairBlock("ab", 2001));
  const uint32_t block = GetU32(BuildCodeTable(PairBlock("ab", 2001)).bytes, PairEntryOffset("ab"));
  ASSERT_TRUE(LoadCandidateBlock(table, "ab"));
  EXPECT_EQ(table.loadedCount, 2000u);
  EXPECT_EQ(table.textSize, 6000u);  // not the 6003 of textLength
  EXPECT_EQ(file.calls, (Calls{Seek(PairEntryOffset("ab")), Read(12), Seek(block), Read(12000),
                               Seek(block + 6 * 2001), Read(8000), Seek(block + 6 * 2001 + 8000),
                               Read(4), Seek(block + 10 * 2001), Read(6000)}));
}

TEST_F(CodeTableTest, PrefixWithoutBlockBeepsForTwoLettersAndIsSilentForOne) {
  UseTable(PairBlock("ab", 1));
  EXPECT_FALSE(LoadCandidateBlock(table, "zz"));
  EXPECT_EQ(reports.events, Events{"beep"});
  reports.events.clear();
  EXPECT_FALSE(LoadCandidateBlock(table, "q"));
  EXPECT_TRUE(reports.events.empty());
  EXPECT_EQ(table.loadedCount, 0u);
}

TEST_F(CodeTableTest, EmptyPrefixIsAnEmptyBlockWithoutReading) {
  UseTable(PairBlock("ab", 3));
  ASSERT_TRUE(LoadCandidateBlock(table, "ab"));
  ForgetCalls();
  EXPECT_TRUE(LoadCandidateBlock(table, ""));
  EXPECT_TRUE(file.calls.empty());
  EXPECT_EQ(table.loadedCount, 0u);
  EXPECT_EQ(table.textSize, 0u);
}

TEST_F(CodeTableTest, LetterBlockTextsFollowTheSuffixesInFourByteSlots) {
  TableSource source;
  source.candidates = {{"工", "a"}, {"A", "a"}, {"式", "ab"}, {"戈", "a"}};
  UseTable(source);
  const uint32_t block = GetU32(BuildCodeTable(source).bytes, LetterEntryOffset('a'));

  ASSERT_TRUE(LoadCandidateBlock(table, "a"));
  EXPECT_EQ(file.calls,
            (Calls{Seek(LetterEntryOffset('a')), Read(12), Seek(block), Read(18), Read(12)}));
  ASSERT_EQ(table.loadedCount, 3u);
  EXPECT_EQ(table.textOffsets[0], 0u);
  EXPECT_EQ(table.textOffsets[1], 4u);
  EXPECT_EQ(table.textOffsets[2], 8u);
  const char* text = textBuffer.Lock();
  EXPECT_STREQ(CandidateText(table, text, 1), "A");
  EXPECT_STREQ(CandidateText(table, text, 2), "戈");
  textBuffer.Unlock();
}

TEST_F(CodeTableTest, TableEndingBeforeItsIndexesHasNoBlocks) {
  std::vector<uint8_t> bytes = BuildCodeTable(PairBlock("ab", 3)).bytes;
  bytes.resize(PairPrefixIndexOffset + 6);  // ends inside the first index entry
  UseBytes(bytes);
  EXPECT_FALSE(LoadCandidateBlock(table, "ab"));
  EXPECT_EQ(reports.events, Events{"beep"});
}

// Damaged tables: each damage is caught before any buffer is overrun, and
// the load fails with the damage report.
class DamagedTableTest : public TableTest {
 protected:
  void ExpectDamage(std::vector<uint8_t> bytes, const char* prefix) {
    UseBytes(bytes);
    EXPECT_FALSE(LoadCandidateBlock(table, prefix));
    EXPECT_EQ(reports.events, Events{Damaged});
    EXPECT_EQ(table.loadedCount, 0u);
  }
  std::vector<uint8_t> bytes = BuildCodeTable(PairBlock("ab", 3)).bytes;
  const uint32_t block = GetU32(bytes, PairEntryOffset("ab"));
};

TEST_F(DamagedTableTest, LetterBlockOfMoreThan2000Candidates) {
  TableSource source;
  source.candidates = {{"工", "a"}, {"式", "a"}};
  std::vector<uint8_t> letters = BuildCodeTable(source).bytes;
  SetU32(letters, LetterEntryOffset('a') + 8, 2001);
  ExpectDamage(letters, "a");
}

TEST_F(DamagedTableTest, TextsLongerThanTheTextBuffer) {
  SetU32(bytes, PairEntryOffset("ab") + 4, TextBufferSize + 1);
  ExpectDamage(bytes, "ab");
}

TEST_F(DamagedTableTest, TextOffsetOutsideTheTexts) {
  SetU32(bytes, block + 6 * 3 + 4, 9);  // the texts are 9 bytes long
  ExpectDamage(bytes, "ab");
}

TEST_F(DamagedTableTest, TextWithoutItsNul) {
  bytes[block + 10 * 3 + 8] = 'x';
  ExpectDamage(bytes, "ab");
}

TEST_F(DamagedTableTest, SuffixWithoutItsNul) {
  for (int i = 0; i < 6; ++i) bytes[block + 6 + i] = 'q';
  ExpectDamage(bytes, "ab");
}

TEST_F(DamagedTableTest, FileEndingInsideTheBlock) {
  bytes.resize(block + 10 * 3 + 4);
  ExpectDamage(bytes, "ab");
}

// Only two code letters, one or none name a block; a longer prefix has no
// index entry, so it is not read as an empty block either.
TEST_F(DamagedTableTest, PrefixThatNamesNoBlockIsReadAsNothing) {
  UseBytes(bytes);
  for (const char* prefix : {"a{", "`", "{a", "A", "abc", "abcdefg", "ab{"}) {
    SCOPED_TRACE(prefix);
    ASSERT_TRUE(LoadCandidateBlock(table, "ab"));  // a block loaded before
    ForgetCalls();
    EXPECT_FALSE(LoadCandidateBlock(table, prefix));
    EXPECT_EQ(reports.events, Events{Damaged});
    EXPECT_TRUE(file.calls.empty());
    EXPECT_EQ(table.loadedCount, 0u);
  }
}

TEST_F(DamagedTableTest, BlockOffsetPastTwoGigabytesFailsPositioning) {
  SetU32(bytes, PairEntryOffset("ab"), 0x80000000u);
  UseBytes(bytes);
  EXPECT_FALSE(LoadCandidateBlock(table, "ab"));
  EXPECT_EQ(reports.events, Events{ReadError});
}

}  // namespace
}  // namespace navo::testing

namespace navo::testing {
namespace {

using namespace navo::codefind;

// Whether a file is taken as a table at all, from its indexes and size: the
// ends worked out by hand from the records' sizes (suffix 6 bytes, text
// offset 4; one-letter blocks have no offsets).
TEST(FileIsTableTest, FixedRegionsPresentAndEveryBlockBeginningInsideTheFile) {
  struct Case {
    const char* what;
    bool pair;         // the block of "aa", else that of "z"
    uint32_t count;    // its candidates; 0: no block named
    uint64_t size;     // the file's size
    bool table;
  };
  const uint64_t end = FixedRegionsEnd;
  const Case cases[] = {
      {"no block, fixed regions whole", true, 0, end, true},
      {"no block, one byte short", true, 0, end - 1, false},
      {"empty file", true, 0, 0, false},
      {"two-letter block of 2: 12 + 8 bytes", true, 2, end + 20, true},
      {"two-letter block of 2, cut", true, 2, end + 19, false},
      {"one-letter block of 3: 18 bytes", false, 3, end + 18, true},
      {"one-letter block of 3, cut", false, 3, end + 17, false},
  };
  for (const Case& c : cases) {
    unsigned char indexes[PrefixIndexesSize] = {};
    if (c.count != 0) {
      const uint32_t at = c.pair ? PairIndexEntryOffset(0) : LetterIndexEntryOffset(25);
      EncodePrefixIndexEntry({FixedRegionsEnd, 0, c.count}, indexes + (at - PairPrefixIndexOffset));
    }
    EXPECT_EQ(IndexesFitFile(indexes, c.size), c.table) << c.what;
  }
}

}  // namespace
}  // namespace navo::testing
