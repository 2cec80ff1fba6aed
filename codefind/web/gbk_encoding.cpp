// UTF-16 to GBK through the build-time table of code page 936.
#include "codefind/web/gbk_encoding.h"

#include "common/gbk.h"

namespace navo::codefind {

namespace {

constexpr unsigned TrailBytes = 0x100 - GbkFirstTrailByte;
constexpr unsigned DoubleByteValues = (GbkLastLeadByte - GbkFirstLeadByte + 1) * TrailBytes;

// The code point of every double-byte value, lead byte by lead byte (0: none).
const uint16_t UnicodeOfDoubleByte[DoubleByteValues] = {
#include "gbk_table.inc"
};

constexpr uint16_t EuroSign = 0x20AC;  // code page 936's one single byte above ASCII
constexpr unsigned char EuroByte = 0x80;

// Filled once from the table above: the reverse direction.
uint16_t gbkOfUnit[0x10000];
bool reverseFilled = false;

void FillReverse() {
  for (unsigned i = 0; i < DoubleByteValues; ++i) {
    const uint16_t unit = UnicodeOfDoubleByte[i];
    if (unit != 0)
      gbkOfUnit[unit] = uint16_t((GbkFirstLeadByte + i / TrailBytes) << 8 |
                                 (GbkFirstTrailByte + i % TrailBytes));
  }
  for (unsigned unit = 1; unit < 0x80; ++unit) gbkOfUnit[unit] = uint16_t(unit);
  gbkOfUnit[EuroSign] = EuroByte;
  reverseFilled = true;
}

}  // namespace

uint16_t UnicodeOfGbk(unsigned char lead, unsigned char trail) {
  if (!IsGbkCharacter(lead, trail)) return 0;
  return UnicodeOfDoubleByte[(lead - GbkFirstLeadByte) * TrailBytes + (trail - GbkFirstTrailByte)];
}

uint16_t GbkOfUnicode(uint16_t unit) {
  if (!reverseFilled) FillReverse();
  return gbkOfUnit[unit];
}

size_t Utf16ToGbk(const uint16_t* units, size_t count, char* out, size_t size) {
  size_t written = 0;
  for (size_t i = 0; i < count && units[i] != 0; ++i) {
    const uint16_t gbk = GbkOfUnicode(units[i]);
    const size_t bytes = gbk > 0xFF ? 2 : 1;
    if (written + bytes + 1 > size) break;
    if (gbk == 0) {
      out[written++] = '?';
    } else if (bytes == 2) {
      out[written++] = char(gbk >> 8);
      out[written++] = char(gbk & 0xFF);
    } else {
      out[written++] = char(gbk);
    }
  }
  out[written] = '\0';
  return written;
}

}  // namespace navo::codefind
