// Code page 1252, the document's character set: bytes 0x80..0x9F are the page's
// own characters, every other byte is the Latin-1 character of its value. The
// editor's clipboard and captions and the RTF reader's "\u" characters convert
// through this one table.
#pragma once

#include <cstdint>

namespace cp1252 {

// The characters of bytes 0x80..0x9F, in byte order; zero marks the five bytes
// the page leaves undefined.
inline constexpr std::uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The character a byte stands for. An undefined byte stands for the character
// of its own value, so every byte survives a round trip.
constexpr char16_t ToUnicode(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const std::uint16_t u = kHigh[byte - 0x80];
  return u != 0 ? u : byte;
}

// The character a reader of the page reads for a byte: the one it stands for,
// and for the five bytes the page leaves undefined, which stand for none, the
// replacement character.
constexpr char16_t ReadCharacter(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const std::uint16_t u = kHigh[byte - 0x80];
  return u != 0 ? u : 0xFFFD;
}

// The byte of a character; "?" for a character the page does not hold.
constexpr unsigned char FromUnicode(std::uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
  for (unsigned i = 0; i < 32; ++i) {
    if (code == ToUnicode(static_cast<unsigned char>(0x80 + i))) {
      return static_cast<unsigned char>(0x80 + i);
    }
  }
  return '?';
}

}  // namespace cp1252
