// The table builder, its dump and its checker.
#include <gtest/gtest.h>

#include <algorithm>

#include "codefind/code_table.h"
#include "tests/support/table_fixture.h"
#include "tools/navomb/table_examine.h"
#include "tools/navomb/table_source.h"

namespace navo::testing {
namespace {

TableSource MixedSource() {
  TableSource source;
  source.candidates = {
      {"工", "a"}, {"工", "aaaa"}, {"式", "aad"},    {"工人", "aaww"},   {"童", "ujff"},
      {"戈", "a"}, {"中", "khk"},  {"中国", "khlg"}, {"\x81\x40", "zz"}, {"\xFE\xFF", "zzzzzzz"}};
  source.wordMakingCodes = {{"中", "k"}, {"人", "ww"}, {"戈", ""}};
  return source;
}

TEST(TableBuilderTest, LaysOutRecordsBelowTheIndexesAndBlocksAfterThem) {
  const std::vector<uint8_t> bytes = BuildCodeTable(MixedSource()).bytes;
  for (uint32_t lead = 0; lead < 126; ++lead) {
    const uint32_t base = GetU32(bytes, codefind::LeadByteTableOffset + 4 * lead);
    EXPECT_LE(base + 1920, codefind::LeadByteTableOffset);
    EXPECT_GT(base, 0u);
  }
  EXPECT_GE(GetU32(bytes, LetterEntryOffset('a')), codefind::FixedRegionsEnd);
  EXPECT_EQ(GetU32(bytes, LetterEntryOffset('a') + 8), 2u);  // 工 and 戈
  EXPECT_EQ(GetU32(bytes, PairEntryOffset("aa") + 8), 3u);
  EXPECT_EQ(GetU32(bytes, PairEntryOffset("aa") + 4), 3u + 3 + 5);
  EXPECT_EQ(GetU32(bytes, PairEntryOffset("ab")), 0u);
}

TEST(TableBuilderTest, WordMakingCodeIsTheFirstTwoLettersOfTheLongestUnlessGiven) {
  const std::map<std::string, std::string> codes = EffectiveWordMakingCodes(MixedSource());
  EXPECT_EQ(codes.at("工"), "aa");  // of aaaa, not a
  EXPECT_EQ(codes.at("式"), "aa");
  EXPECT_EQ(codes.at("中"), "k");   // given
  EXPECT_EQ(codes.at("人"), "ww");  // given, though it is no candidate
  EXPECT_EQ(codes.at("戈"), "");    // given empty
  EXPECT_EQ(codes.count("工人"), 0u);
}

TEST(TableBuilderTest, RefusesWhatTheLookupCouldNotRead) {
  TableSource source;
  source.candidates = {{"工", "abcdefgh"}, {"工", "aB"}, {"工人", "a"}, {"", "ab"}};
  source.wordMakingCodes = {{"工", "abcd"}, {"工人", "ab"}};
  BuildResult built = BuildCodeTable(source);
  EXPECT_EQ(built.errors.size(), 6u);
  EXPECT_TRUE(built.bytes.empty());

  TableSource crowded;
  for (int i = 0; i < 2001; ++i) crowded.candidates.push_back({"工", "q"});
  for (int i = 0; i < 2000; ++i) crowded.candidates.push_back({"工人工人工", "qq"});
  EXPECT_EQ(BuildCodeTable(crowded).errors.size(), 2u);  // 2001 in "q", 22000 bytes in "qq"
}

TEST(TableBuilderTest, DumpGivesBackWhatBuildsTheSameFile) {
  const std::vector<uint8_t> bytes = BuildCodeTable(MixedSource()).bytes;
  const TableSource dumped = DumpCodeTable(bytes);
  EXPECT_EQ(dumped.candidates.size(), MixedSource().candidates.size());
  EXPECT_EQ(dumped.wordMakingCodes.at("工"), "aa");
  EXPECT_EQ(dumped.wordMakingCodes.at("戈"), "");  // kept empty, not left to the default
  EXPECT_EQ(BuildCodeTable(dumped).bytes, bytes);
}

TEST(TableBuilderTest, DumpKeepsCandidatesBeyondTheFirst2000) {
  TableSource source;
  for (int i = 0; i < 2100; ++i)
    source.candidates.push_back({"工", "ab" + std::string(1, 'a' + i % 26)});
  const TableSource dumped = DumpCodeTable(BuildCodeTable(source).bytes);
  EXPECT_EQ(dumped.candidates.size(), 2100u);
}

TEST(TableCheckerTest, SoundTableHasNoFindings) {
  EXPECT_TRUE(CheckCodeTable(BuildCodeTable(MixedSource()).bytes).empty());
}

TEST(TableCheckerTest, NamesEachDamageAtItsOffset) {
  std::vector<uint8_t> bytes = BuildCodeTable(MixedSource()).bytes;
  const size_t record = RecordOffset(bytes, "中");
  const uint32_t pair = GetU32(bytes, PairEntryOffset("aa"));
  const uint32_t kh = GetU32(bytes, PairEntryOffset("kh"));
  bytes[record] = 'K';                              // code letter outside a-z
  std::fill_n(&bytes[pair + 6], 6, 'x');            // suffix 1 of aa without NUL
  SetU32(bytes, kh + 6 * 2 + 4, 99);                // text offset 1 of kh outside
  SetU32(bytes, LetterEntryOffset('a') + 8, 2001);  // letter block too large
  SetU32(bytes, PairEntryOffset("zz") + 4, 20001);  // texts too long

  std::vector<TableFinding> findings = CheckCodeTable(bytes);
  std::vector<uint64_t> offsets;
  for (const TableFinding& f : findings) offsets.push_back(f.offset);
  EXPECT_EQ(offsets, (std::vector<uint64_t>{record, LetterEntryOffset('a') + 8, pair + 6,
                                            kh + 6 * 2 + 4, PairEntryOffset("zz") + 4}));
  for (const TableFinding& f : findings) EXPECT_FALSE(f.what.empty());
}

TEST(TableCheckerTest, FileEndingInsideABlockOrBeforeTheIndexes) {
  std::vector<uint8_t> bytes = BuildCodeTable(MixedSource()).bytes;
  bytes.resize(bytes.size() - 3);  // the last block, zz, loses its last text bytes
  std::vector<TableFinding> findings = CheckCodeTable(bytes);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_NE(findings[0].what.find("block zz"), std::string::npos);

  bytes.resize(250000);
  findings = CheckCodeTable(bytes);
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings[0].offset, 250000u);
}

}  // namespace
}  // namespace navo::testing
