// GBK text of terminals and files: to and from UTF-8, and shown with escapes.
#include "tools/common/gbk_text.h"

#include <iconv.h>

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
  return FromUtf8().Convert(utf8.data(), utf8.size(), gbk);
}

bool GbkToUtf8(const std::string& gbk, std::string* utf8) {
  return ToUtf8().Convert(gbk.data(), gbk.size(), utf8);
}

std::string GbkToDisplay(const std::string& gbk) { return Display(gbk, ""); }

std::string GbkToFieldDisplay(const std::string& gbk) { return Display(gbk, "|/\\"); }

}  // namespace navo
