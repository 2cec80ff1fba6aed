// GBK text of terminals and files: to and from UTF-8, and shown with escapes.
#include "tools/common/gbk_text.h"

#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/gbk.h"

namespace navo {

namespace {

// One converter per direction for the life of the tool.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  bool Convert(const char* in, size_t inLength, std::string* out) {
    out->clear();
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* source = const_cast<char*>(in);
    char buffer[256];
    while (inLength > 0) {
      char* target = buffer;
      size_t room = sizeof buffer;
      size_t result = iconv(cd_, &source, &inLength, &target, &room);
      out->append(buffer, size_t(target - buffer));
      if (result == size_t(-1) && target == buffer) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

// The four UTF-8 bytes of a code point U+F0000..U+FFFFF at utf8[i].
bool IsKeptBytes(const std::string& utf8, size_t i) {
  return i + 3 < utf8.size() && uint8_t(utf8[i]) == 0xF3 && (uint8_t(utf8[i + 1]) & 0xF0) == 0xB0;
}

Converter& FromUtf8() {
  static Converter converter("GBK", "UTF-8");
  return converter;
}

Converter& ToUtf8() {
  static Converter converter("UTF-8", "GBK");
  return converter;
}

void AppendEscaped(std::string* out, unsigned char byte) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
  out->append(escaped);
}

// Printable ASCII as it is, except the bytes in escapedAscii.
std::string Display(const std::string& gbk, const char* escapedAscii) {
  std::string out;
  std::string character;
  for (size_t i = 0; i < gbk.size();) {
    const unsigned char byte = static_cast<unsigned char>(gbk[i]);
    if (byte >= 0x20 && byte <= 0x7E && !std::strchr(escapedAscii, byte)) {
      out.push_back(char(byte));
      ++i;
    } else if (IsGbkLeadByte(byte) && i + 1 < gbk.size() &&
               ToUtf8().Convert(gbk.data() + i, 2, &character)) {
      out += character;
      i += 2;
    } else {
      AppendEscaped(&out, byte);
      ++i;
    }
  }
  return out;
}

}  // namespace

bool Utf8ToGbk(const std::string& utf8, std::string* gbk) {
  gbk->clear();
  std::string run;
  size_t start = 0;  // of the run of ordinary text not yet converted
  for (size_t i = 0;; ++i) {
    const bool end = i == utf8.size();
    const bool kept = !end && IsKeptBytes(utf8, i);
    if (!end && !kept) continue;
    if (!FromUtf8().Convert(utf8.data() + start, i - start, &run)) return false;
    *gbk += run;
    if (end) return true;
    const uint32_t value = (uint32_t(utf8[i + 1] & 0x0F) << 12) |
                           (uint32_t(utf8[i + 2] & 0x3F) << 6) | uint32_t(utf8[i + 3] & 0x3F);
    if (value > 0xFF) gbk->push_back(char(value >> 8));
    gbk->push_back(char(value & 0xFF));
    i += 3;
    start = i + 1;
  }
}

std::string GbkToUtf8Keeping(const std::string& gbk, const char* notFirst) {
  std::string out, character;
  for (size_t i = 0; i < gbk.size();) {
    const size_t length = GbkCharacterBytes(gbk.c_str() + i);
    const unsigned char byte = static_cast<unsigned char>(gbk[i]);
    if (length == 1 && byte > ' ' && byte < 0x7F && !(i == 0 && std::strchr(notFirst, byte))) {
      out.push_back(char(byte));
    } else if (length == 2 && ToUtf8().Convert(gbk.data() + i, 2, &character)) {
      out += character;
    } else {
      uint32_t value = byte;
      if (length == 2) value = value << 8 | static_cast<unsigned char>(gbk[i + 1]);
      // U+F0000 + value: F3 B0..BF 80..BF 80..BF
      out += {char(0xF3), char(0xB0 | value >> 12), char(0x80 | (value >> 6 & 0x3F)),
              char(0x80 | (value & 0x3F))};
    }
    i += length;
  }
  return out;
}

bool GbkToUtf8(const std::string& gbk, std::string* utf8) {
  return ToUtf8().Convert(gbk.data(), gbk.size(), utf8);
}

std::string GbkToDisplay(const std::string& gbk) { return Display(gbk, ""); }

std::string GbkToFieldDisplay(const std::string& gbk) { return Display(gbk, "|/\\"); }

}  // namespace navo
