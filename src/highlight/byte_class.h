// The byte classes every scanner tests with: digits, letters, blanks and the
// bytes a line-bound token stops in front of.
#pragma once

#include <array>
#include <cstdint>

namespace byte_class {

constexpr unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool IsHexDigit(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
// NUL (the end of the text), LF and CR: a token that does not span lines stops
// in front of them.
constexpr bool IsLineEnd(unsigned char c) { return c == '\0' || c == '\n' || c == '\r'; }
// Blanks and control characters other than NUL, LF and CR: they run together
// into one blank token.
constexpr bool IsBlank(unsigned char c) { return c >= 1 && c <= 32 && c != '\n' && c != '\r'; }

constexpr bool IsDigit(char c) { return IsDigit(Byte(c)); }
constexpr bool IsLetter(char c) { return IsLetter(Byte(c)); }
constexpr bool IsHexDigit(char c) { return IsHexDigit(Byte(c)); }
constexpr bool IsLineEnd(char c) { return IsLineEnd(Byte(c)); }
constexpr bool IsBlank(char c) { return IsBlank(Byte(c)); }

// IsBlank as a table, for the loops that step over a run of blanks.
constexpr std::array<bool, 256> MakeBlankTable() {
  std::array<bool, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[static_cast<std::size_t>(c)] = IsBlank(static_cast<unsigned char>(c));
  return t;
}
inline constexpr std::array<bool, 256> kBlankTable = MakeBlankTable();

}  // namespace byte_class
