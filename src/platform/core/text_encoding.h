// The two encodings a document is read in: code page 1252, one byte per
// character, and UTF-8. A document's bytes choose it, and the bytes are never
// changed by the choice: it only decides how they are shown and how typed
// characters become bytes.
#pragma once

#include <string>
#include <string_view>

enum class TTextEncoding { Windows1252, Utf8 };

namespace encoding {

// UTF-8 when the bytes are valid UTF-8 (shortest forms, no surrogates, nothing
// above U+10FFFF) and hold at least one multi-byte sequence; code page 1252
// for every other document, plain ASCII included.
TTextEncoding Detect(std::string_view bytes);

// "UTF-8" or "Windows-1252", as the status bar shows it.
const char* Name(TTextEncoding encoding);

// The character the editor shows for a byte of a code page 1252 document that
// the widget would otherwise draw as a box: the page's characters for bytes
// 0x80..0x9F, one placeholder for the five bytes the page leaves undefined,
// and the control pictures for the control characters other than the tab
// and the line ends. Zero for every byte the widget draws right by itself.
char16_t PaintedCharacter(unsigned char byte);

// The placeholder of a byte that stands for no character.
inline constexpr char16_t kPlaceholder = 0xFFFD;

// Whether a page names its own character set: a byte order mark, an XML
// declaration with an encoding, or a <meta> with a charset in its first 1024
// bytes, where browsers look for one.
bool DeclaresCharset(std::string_view page);

}  // namespace encoding
