#include "text_encoding.h"

#include <algorithm>
#include <cctype>

#include "code_page_1252.h"

namespace encoding {
namespace {

constexpr bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at `at`, or 0.
std::size_t SequenceLength(std::string_view s, std::size_t at) {
  const auto c = static_cast<unsigned char>(s[at]);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  const auto second = static_cast<unsigned char>(s[at + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t i = 2; i < n; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(s[at + i]))) return 0;
  }
  return n;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

}  // namespace

TTextEncoding Detect(std::string_view bytes) {
  bool multiByte = false;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t n = SequenceLength(bytes, at);
    if (n == 0) return TTextEncoding::Windows1252;
    multiByte = multiByte || n > 1;
    at += n;
  }
  return multiByte ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
}

const char* Name(TTextEncoding encoding) {
  return encoding == TTextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

char16_t PaintedCharacter(unsigned char byte) {
  if (byte == '\t' || byte == '\n' || byte == '\r') return 0;
  if (byte < 0x20) return static_cast<char16_t>(0x2400 + byte);
  if (byte == 0x7F) return 0x2421;
  if (byte < 0x80 || byte >= 0xA0) return 0;
  const char16_t shown = cp1252::ToUnicode(byte);
  return shown == byte ? kPlaceholder : shown;
}

bool DeclaresCharset(std::string_view page) {
  if (page.substr(0, 3) == "\xEF\xBB\xBF" || page.substr(0, 2) == "\xFF\xFE" ||
      page.substr(0, 2) == "\xFE\xFF") {
    return true;
  }
  const std::string head = Lower(page.substr(0, 1024));
  if (head.compare(0, 5, "<?xml") == 0) {
    const std::size_t end = head.find("?>");
    if (head.substr(0, end).find("encoding") != std::string::npos) return true;
  }
  // Every <meta ...> tag: a charset attribute, or a content type that names one.
  for (std::size_t at = head.find("<meta"); at != std::string::npos;
       at = head.find("<meta", at + 5)) {
    const std::size_t end = head.find('>', at);
    if (head.substr(at, end == std::string::npos ? std::string::npos : end - at).find("charset") !=
        std::string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace encoding
