// fcitx5's table text as people save it: its keys, [Rule], [Data] with the
// ConstructPhrase lines; decoded and read.
#include "tests/fuzz/table_text_messages.h"
#include "tools/navomb/engine_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const navo::DecodedText decoded = navo::DecodeTextFile(bytes);
  navo::TableReadOptions options;
  options.skipUnencodable = size % 2 == 1;
  navo::TableSource source;
  const navo::TableReadResult read = navo::ReadFcitx5Table(decoded.lines, options, &source);
  navo::fuzzing::CheckMessages("fcitx5 table", decoded, read);
  return 0;
}
