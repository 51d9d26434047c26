#include "music/Windows1252.h"

namespace Windows1252 {

namespace {

// Bytes 80 to 9F; the rest of the set is Latin-1, equal to Unicode.
constexpr char16_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

// The byte for `c`, or -1.
int byteOf(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (High[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace

std::u16string decode(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    text += b >= 0x80 && b < 0xA0 ? High[b - 0x80] : static_cast<char16_t>(b);
  }
  return text;
}

bool holds(char16_t c) {
  return byteOf(c) >= 0;
}

std::string encode(std::u16string_view text, char replacement) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const char16_t c : text) {
    const int b = byteOf(c);
    bytes += b >= 0 ? static_cast<char>(b) : replacement;
  }
  return bytes;
}

std::string toUtf8(std::string_view bytes) {
  std::string out;
  for (const char16_t c : decode(bytes)) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace Windows1252
