// Rime dictionaries as people save them: the YAML header with its columns
// and import_tables, comments, entries; decoded and read.
#include "tests/fuzz/table_text_messages.h"
#include "tools/navomb/rime_dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const navo::DecodedText decoded = navo::DecodeTextFile(bytes);
  navo::TableReadOptions options;
  options.skipUnencodable = size % 2 == 1;
  navo::TableSource source;
  navo::RimeImports imports;
  const navo::TableReadResult read =
      navo::ReadRimeDictionary(decoded.lines, options, &source, &imports);
  navo::fuzzing::CheckMessages("rime dictionary", decoded, read);
  // Each imported name comes from a line of the file, which a message about it names.
  for (const navo::TextLine& name : imports)
    if (name.number == 0 || name.number > decoded.lines.size() + decoded.errors.size())
      std::abort();
  return 0;
}
