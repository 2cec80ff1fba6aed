// The text form of a code table as people save it (byte-order marks, UTF-16,
// CRLF): decoded, read and written back, which must read the same.
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/text_form_round_trip.h"
#include "tools/common/utf8_text.h"
#include "tools/navomb/text_file.h"
#include "tools/navomb/text_table.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "text table: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const navo::DecodedText decoded = navo::DecodeTextFile(bytes);
  for (const navo::TextLine& line : decoded.lines)
    if (!navo::IsUtf8(line.text) || line.text.find('\n') != std::string::npos)
      Fail("a decoded line is not one line of UTF-8");

  navo::TableReadOptions options;
  options.skipUnencodable = size % 2 == 1;
  navo::TableSource source;
  const navo::TableReadResult read = navo::ReadTextTable(decoded.lines, options, &source);
  if (!read.errors.empty()) return 0;

  std::ostringstream written;
  navo::WriteTextTable(source, written);
  navo::TableSource again;
  const navo::DecodedText rereadLines = navo::DecodeTextFile(written.str());
  const navo::TableReadResult reread = navo::ReadTextTable(rereadLines.lines, {}, &again);
  if (!rereadLines.errors.empty() || !reread.errors.empty() ||
      !navo::testing::SourceDifference(source, again).empty())
    Fail("what it writes does not read back the same");
  return 0;
}
