#include "tools/navomb/text_file.h"

#include "tools/common/utf8_text.h"

namespace navo {

namespace {

const char Utf8Mark[] = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, const char* mark, size_t length) {
  return bytes.compare(0, length, mark, length) == 0;
}

void EndLine(std::string* line, size_t number, bool broken, DecodedText* decoded) {
  if (!line->empty() && line->back() == '\r') line->pop_back();
  if (!broken) decoded->lines.push_back({number, *line});
  line->clear();
}

void DecodeUtf8(const std::string& bytes, size_t start, DecodedText* decoded) {
  std::string line;
  size_t number = 1;
  for (size_t at = start; at <= bytes.size(); ++at) {
    if (at < bytes.size() && bytes[at] != '\n') {
      line.push_back(bytes[at]);
      continue;
    }
    if (at == bytes.size() && line.empty()) break;
    const bool broken = !IsUtf8(line);
    if (broken) decoded->errors.push_back({number, "not UTF-8: " + Utf8ToDisplay(line)});
    EndLine(&line, number++, broken, decoded);
  }
}

void DecodeUtf16(const std::string& bytes, bool bigEndian, DecodedText* decoded) {
  auto unitAt = [&](size_t at) {
    const unsigned char first = static_cast<unsigned char>(bytes[at]);
    const unsigned char second = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? char32_t(first << 8 | second) : char32_t(second << 8 | first);
  };
  std::string line;
  size_t number = 1;
  bool broken = false;
  auto breakLine = [&](const char* what) {
    if (!broken) decoded->errors.push_back({number, what});
    broken = true;
  };
  size_t at = 2;  // after the byte-order mark
  for (; at + 1 < bytes.size(); at += 2) {
    char32_t unit = unitAt(at);
    if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size() && unitAt(at + 2) >= 0xDC00 &&
        unitAt(at + 2) <= 0xDFFF) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
      at += 2;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      breakLine("not UTF-16: a surrogate without its pair");
      continue;
    }
    if (unit != '\n') {
      AppendUtf8(unit, &line);
      continue;
    }
    EndLine(&line, number++, broken, decoded);
    broken = false;
  }
  if (at < bytes.size()) breakLine("not UTF-16: the file ends in half a character");
  if (!line.empty() || broken) EndLine(&line, number, broken, decoded);
}

}  // namespace

DecodedText DecodeTextFile(const std::string& bytes) {
  DecodedText decoded;
  if (StartsWith(bytes, "\xFF\xFE", 2)) {
    DecodeUtf16(bytes, false, &decoded);
  } else if (StartsWith(bytes, "\xFE\xFF", 2)) {
    DecodeUtf16(bytes, true, &decoded);
  } else if (bytes.find('\0') != std::string::npos) {
    // Plain UTF-8 text holds no NUL; UTF-16 text of Latin letters does.
    decoded.errors.push_back(
        {0,
         "holds NUL bytes: UTF-16 without a byte-order mark? Save it as UTF-8, or as "
         "UTF-16 with the mark"});
  } else {
    DecodeUtf8(bytes, StartsWith(bytes, Utf8Mark, 3) ? 3 : 0, &decoded);
  }
  return decoded;
}

}  // namespace navo
