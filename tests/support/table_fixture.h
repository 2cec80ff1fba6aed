// A code table built from a small source, written to the scratch folder as
// navo.mb and opened through the platform layer, with every file call and
// report recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codefind/code_table.h"
#include "common/little_endian.h"
#include "tests/support/platform.h"
#include "tests/support/recording_file.h"
#include "tests/support/recording_reports.h"
#include "tools/navomb/table_source.h"

namespace navo::testing {

class TableTest : public ::testing::Test {
 protected:
  void TearDown() override {
    table.file.Close();
    RemoveFile(TablePath());
  }

  static std::string TablePath() { return ScratchDirectory() + "navo.mb"; }

  // Builds the table (which must build) and opens it as the program does.
  void UseTable(const TableSource& source) {
    BuildResult built = BuildCodeTable(source);
    ASSERT_TRUE(built.errors.empty()) << built.errors.front();
    UseBytes(built.bytes);
  }

  void UseBytes(const std::vector<uint8_t>& bytes) {
    platformFile.Close();  // Windows does not let an open table be rewritten
    WriteBytes(TablePath(), bytes);
    ASSERT_TRUE(codefind::OpenCodeTable(table, ScratchDirectory().c_str()));
    ForgetCalls();
  }

  void ForgetCalls() {
    file.calls.clear();
    reports.events.clear();
  }

  PlatformTableFile platformFile;
  RecordingTableFile file{platformFile};
  RecordingReports reports;
  PlatformTextBuffer textBuffer;
  codefind::CodeTable table{file, reports, textBuffer};
};

// Little-endian helpers for building damaged tables by hand.
inline uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
  return ReadU32Le(&bytes[at]);
}

inline void SetU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  WriteU32Le(&bytes[at], value);
}

inline size_t PairEntryOffset(const char* prefix) {
  return codefind::PairPrefixIndexOffset +
         codefind::PrefixIndexEntrySize * (26 * (prefix[0] - 'a') + (prefix[1] - 'a'));
}

inline size_t LetterEntryOffset(char letter) {
  return codefind::LetterPrefixIndexOffset + codefind::PrefixIndexEntrySize * (letter - 'a');
}

// Where the builder put a character's record.
inline size_t RecordOffset(const std::vector<uint8_t>& bytes, const char* character) {
  const uint8_t lead = uint8_t(character[0]), trail = uint8_t(character[1]);
  return GetU32(bytes, codefind::LeadByteTableOffset + 4 * (lead - 0x81)) + 10 * (trail - 0x40);
}

}  // namespace navo::testing
