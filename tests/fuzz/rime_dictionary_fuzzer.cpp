// Rime dictionaries as people save them: the YAML header with its columns
// and import_tables, comments, entries; decoded and read.
#include <cstdio>
#include <cstdlib>

#include "tools/common/utf8_text.h"
#include "tools/navomb/rime_dictionary.h"
#include "tools/navomb/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const navo::DecodedText decoded = navo::DecodeTextFile(bytes);
  navo::TableReadOptions options;
  options.skipUnencodable = size % 2 == 1;
  navo::TableSource source;
  const navo::TableReadResult read = navo::ReadRimeDictionary(decoded.lines, options, &source);
  // Every message names a line of the file (0: the file) in words the user can read.
  const size_t lines = decoded.lines.size() + decoded.errors.size();
  for (const auto* list : {&read.errors, &read.warnings})
    for (const navo::LineError& error : *list)
      if (error.message.empty() || !navo::IsUtf8(error.message) || error.line > lines) {
        std::fprintf(stderr, "rime dictionary: message of line %zu: %s\n", error.line,
                     error.message.c_str());
        std::abort();
      }
  return 0;
}
