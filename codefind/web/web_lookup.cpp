// The lookup module's exported calls for the page: the core's code table,
// input box, history and pane lines over the browser platform.
#include <cstdlib>
#include <cstring>

#include "codefind/code_lookup.h"
#include "codefind/input_change.h"
#include "codefind/lookup_history.h"
#include "codefind/result_pane_layout.h"
#include "codefind/static_text_buffer.h"
#include "codefind/web/gbk_encoding.h"
#include "codefind/web/web_platform.h"
#include "common/little_endian.h"

#define NAVO_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace navo::codefind {
namespace {

constexpr size_t ScratchSize = 4096;

struct PageLookup final : CharacterLookup {
  MemoryTableFile file;
  KeptReports reports;
  StaticTextBuffer textBuffer;
  CodeTable table{file, reports, textBuffer};
  unsigned char* tableBytes = nullptr;
  uint32_t tableSize = 0;

  MemoryInputBox box;
  PageResultPane pane;
  LookupHistory history;
  InputState state;
  InputWindow window{box, pane, *this, history};

  char codes[CodesStringSize] = {};
  WordCodes word = {};
  EveryCode every = {};
  char everyCodes[EveryCodeStringSize] = {};
  char leftOut[EveryCodeStringSize] = {};
  CodeCandidates candidates = {};
  PaneLine line = {};
  char scratch[ScratchSize] = {};

  bool Lookup(const char* typed, char out[CodesStringSize]) override {
    return LookupCharacterCodes(table, typed, out);
  }
};

PageLookup lookup;

}  // namespace
}  // namespace navo::codefind

using namespace navo;
using namespace navo::codefind;

NAVO_EXPORT(navo_scratch) char* Scratch() { return lookup.scratch; }
NAVO_EXPORT(navo_scratch_size) unsigned ScratchBytes() { return ScratchSize; }

// Room for a table of size bytes, filled by the page before navo_open_table;
// nullptr when memory runs out. The table before it is closed.
NAVO_EXPORT(navo_table_space) unsigned char* TableSpace(unsigned size) {
  CloseCodeTable(lookup.table);
  lookup.file.Attach(nullptr, 0);
  std::free(lookup.tableBytes);
  lookup.tableBytes = static_cast<unsigned char*>(std::malloc(size ? size : 1));
  lookup.tableSize = lookup.tableBytes ? size : 0;
  return lookup.tableBytes;
}

// Whether a file is a table, decided before it replaces the open one: the
// page copies the file's prefix indexes here, then asks with its size.
unsigned char candidateIndexes[PrefixIndexesSize];
NAVO_EXPORT(navo_index_space) unsigned char* IndexSpace() { return candidateIndexes; }
NAVO_EXPORT(navo_index_space_offset) unsigned IndexSpaceOffset() { return PairPrefixIndexOffset; }
NAVO_EXPORT(navo_index_space_size) unsigned IndexSpaceSize() { return PrefixIndexesSize; }
NAVO_EXPORT(navo_file_is_table) int FileIsTable(double size) {
  return IndexesFitFile(candidateIndexes, uint64_t(size));
}

// Closes the table and forgets its lines: the page forgets the table.
NAVO_EXPORT(navo_close_table) void CloseTable() {
  TableSpace(0);
  lookup.tableSize = 0;
  ClearLookupHistory(lookup.history);
  lookup.state = InputState{};
}

// Opens the table (name in the scratch buffer, GBK) as the window opens
// navo.mb, or fails as it does when no bytes could be read (read < 0).
NAVO_EXPORT(navo_open_table) int OpenTable(int read) {
  lookup.reports.Clear();
  ClearLookupHistory(lookup.history);
  lookup.state = InputState{};
  lookup.box.SetWindow(&lookup.state, &lookup.window);
  lookup.file.Attach(read < 0 ? nullptr : lookup.tableBytes, lookup.tableSize);
  lookup.scratch[ScratchSize - 1] = '\0';
  return OpenCodeTableFile(lookup.table, lookup.scratch);
}

// How many candidates the prefix index names; -1 when the file is shorter
// than its fixed regions, so no code table.
NAVO_EXPORT(navo_table_candidates) double TableCandidates() {
  if (lookup.tableBytes == nullptr || lookup.tableSize < FixedRegionsEnd) return -1;
  double candidates = 0;
  const unsigned char* bytes = lookup.tableBytes;
  for (uint32_t pair = 0; pair < PairPrefixCount; ++pair)
    candidates += ReadU32Le(bytes + PairIndexEntryOffset(pair) + CandidateCountField);
  for (uint32_t letter = 0; letter < CodeLetterCount; ++letter)
    candidates += ReadU32Le(bytes + LetterIndexEntryOffset(letter) + CandidateCountField);
  return candidates;
}

// The input box: the page writes its text (GBK) here, then reports the change.
NAVO_EXPORT(navo_input_text) char* InputText() { return lookup.box.Text(); }
NAVO_EXPORT(navo_input_size) unsigned InputSize() { return InputBufferSize; }

// Returns the outcome (0 ignored, 1 emptied, 2 looked up, 3 nothing), plus 4
// when the box was emptied and the page must empty its own.
NAVO_EXPORT(navo_input_changed) int InputChanged() {
  lookup.reports.Clear();
  const int outcome = int(HandleInputChange(lookup.state, lookup.window));
  return outcome | (lookup.box.EmptiedSinceAsked() ? 4 : 0);
}

// A character of a text at hand (two GBK bytes in the scratch buffer) looked
// up and put on top of the pane, as a typed one is.
NAVO_EXPORT(navo_look_up_into_history) int LookUpIntoHistory() {
  lookup.reports.Clear();
  char typed[3] = {lookup.scratch[0], lookup.scratch[1], '\0'};
  char codes[CodesStringSize];
  if (!LookupCharacterCodes(lookup.table, typed, codes)) return 0;
  AddHistoryEntry(lookup.history, typed, codes);
  return 1;
}

// Exactly the two bytes typed, as a batch line of the terminal tool has them.
NAVO_EXPORT(navo_look_up_typed) int LookUpTyped(int lead, int trail) {
  lookup.reports.Clear();
  const char typed[3] = {char(lead), char(trail), '\0'};
  return LookupCharacterCodes(lookup.table, typed, lookup.codes);
}
NAVO_EXPORT(navo_codes) const char* Codes() { return lookup.codes; }

// A word (GBK in the scratch buffer, more than one character): its word
// code and the codes it stands under, and whether these were cut.
NAVO_EXPORT(navo_look_up_word) int LookUpWord() {
  lookup.reports.Clear();
  char word[ScratchSize];
  std::memcpy(word, lookup.scratch, ScratchSize);
  word[ScratchSize - 1] = '\0';
  return LookupWordCodes(lookup.table, word, lookup.word);
}
NAVO_EXPORT(navo_word_code) const char* WordCode() { return lookup.word.wordCode; }
NAVO_EXPORT(navo_word_codes) const char* WordCodesOfWord() { return lookup.word.codes; }
NAVO_EXPORT(navo_word_codes_cut) int WordCodesCut() { return lookup.word.cut; }

// Every code of a text (GBK in the scratch buffer), short codes included:
// joined by two spaces, the best one ("" when none) and whether they were cut.
NAVO_EXPORT(navo_look_up_every_code) int LookUpEveryCodeOfText() {
  lookup.reports.Clear();
  char text[ScratchSize];
  std::memcpy(text, lookup.scratch, ScratchSize);
  text[ScratchSize - 1] = '\0';
  lookup.everyCodes[0] = '\0';
  if (!LookupEveryCode(lookup.table, text, lookup.every)) return 0;
  JoinEveryCode(lookup.every, lookup.everyCodes);
  return 1;
}
NAVO_EXPORT(navo_every_codes) const char* EveryCodes() { return lookup.everyCodes; }
NAVO_EXPORT(navo_every_best) const char* EveryBest() {
  return lookup.every.best == NoBestCode ? "" : lookup.every.codes[lookup.every.best];
}
NAVO_EXPORT(navo_every_cut) int EveryCut() { return lookup.every.cut; }

// The candidates of a typed code (letters a-z in the scratch buffer), as
// the typing pad lists them: the exact ones first, then the hints.
NAVO_EXPORT(navo_look_up_code) int LookUpCode() {
  lookup.reports.Clear();
  char code[MaxCodeLetters + 2];
  std::memcpy(code, lookup.scratch, sizeof code);
  code[sizeof code - 1] = '\0';
  lookup.candidates.count = 0;
  lookup.candidates.exactCount = 0;
  lookup.candidates.cut = false;
  return LookupCodeCandidates(lookup.table, code, lookup.candidates);
}
NAVO_EXPORT(navo_candidate_count) unsigned CandidateCount() { return lookup.candidates.count; }
NAVO_EXPORT(navo_candidate_exact_count) unsigned CandidateExactCount() {
  return lookup.candidates.exactCount;
}
NAVO_EXPORT(navo_candidates_cut) int CandidatesCut() { return lookup.candidates.cut; }
// Candidate i's text (GBK) and the letters still to type ("" for an exact
// one); nullptr beyond the list.
NAVO_EXPORT(navo_candidate_text) const char* CandidateText(unsigned i) {
  if (i >= lookup.candidates.count) return nullptr;
  return lookup.candidates.texts + lookup.candidates.listed[i].textAt;
}
NAVO_EXPORT(navo_candidate_rest) const char* CandidateRest(unsigned i) {
  if (i >= lookup.candidates.count) return nullptr;
  return lookup.candidates.listed[i].rest;
}

// The codes the window's rule leaves out of history line i (nullptr when
// there is no such line or the lookup failed).
NAVO_EXPORT(navo_history_codes_left_out) const char* HistoryCodesLeftOut(unsigned i) {
  lookup.reports.Clear();
  if (i >= HistoryEntries || lookup.history.entries[i].character[0] == '\0') return nullptr;
  const HistoryEntry& entry = lookup.history.entries[i];
  if (!LookupCodesLeftOut(lookup.table, entry.character, entry.codes, lookup.leftOut))
    return nullptr;
  return lookup.leftOut;
}

// The pane: its heading, and the history's lines newest first.
NAVO_EXPORT(navo_pane_heading) const char* PaneHeading() { return ResultPaneHeading; }
NAVO_EXPORT(navo_history_line) const char* HistoryLine(unsigned i) {
  if (i >= HistoryEntries || lookup.history.entries[i].character[0] == '\0') return nullptr;
  lookup.line.length = FormatPaneLine(lookup.history.entries[i], lookup.line.text);
  return lookup.line.text;
}

// The reports of the last call: how many, and each one's kind and texts.
NAVO_EXPORT(navo_report_count) unsigned ReportCount() { return lookup.reports.Count(); }
NAVO_EXPORT(navo_report_is_beep) int ReportIsBeep(unsigned i) {
  const KeptReport* report = lookup.reports.At(i);
  return report && report->beep;
}
NAVO_EXPORT(navo_report_text) const char* ReportText(unsigned i) {
  const KeptReport* report = lookup.reports.At(i);
  return report ? report->text : nullptr;
}
// nullptr: the system's default caption.
NAVO_EXPORT(navo_report_caption) const char* ReportCaption(unsigned i) {
  const KeptReport* report = lookup.reports.At(i);
  return report && report->hasCaption ? report->caption : nullptr;
}

// GBK for the page: UTF-16 units in the scratch buffer to GBK bytes there
// (returns their number), and the code point of a double-byte value.
NAVO_EXPORT(navo_encode_scratch) unsigned EncodeScratch(unsigned units) {
  uint16_t wide[ScratchSize / 2];
  if (units > ScratchSize / 2) units = ScratchSize / 2;
  std::memcpy(wide, lookup.scratch, units * 2);
  return unsigned(Utf16ToGbk(wide, units, lookup.scratch, ScratchSize));
}
NAVO_EXPORT(navo_gbk_of_unicode) unsigned GbkOf(unsigned unit) { return GbkOfUnicode(uint16_t(unit)); }
NAVO_EXPORT(navo_unicode_of_gbk) unsigned UnicodeOf(unsigned lead, unsigned trail) {
  return UnicodeOfGbk((unsigned char)lead, (unsigned char)trail);
}
