#include "rtf_syntax.h"

#include <cstring>

namespace {

SystemColorResolver gResolver = nullptr;

TFontDesc& DefaultFontStorage() {
  static TFontDesc font = DefaultCourierNew();
  return font;
}

const char* FamilyWord(std::uint8_t pitchAndFamily) {
  switch (pitchAndFamily >> 4) {
    case 0: return "fdontcare";
    case 1: return "froman";
    case 2: return "fswiss";
    case 3: return "fmodern";
    case 4: return "fscript";
    case 5: return "fdecorative";
    default: return "froman";
  }
}

const char* CharsetWord(std::uint8_t charSet) {
  switch (charSet) {
    case 0: return "fcharset0";
    case 1: return "fcharset1";
    case 2: return "fcharset2";
    case 128: return "fcharset128";
    case 255: return "fcharset255";
    default: return "";
  }
}

}  // namespace

void SetSystemColorResolver(SystemColorResolver resolver) { gResolver = resolver; }

TFontDesc DefaultCourierNew() {
  // FIXED_PITCH (1) | FF_MODERN (0x30), ANSI_CHARSET (0).
  return TFontDesc{"Courier New", 0x31, 0};
}

void SetDefaultFont(const TFontDesc& font) { DefaultFontStorage() = font; }

void TMemoryStream::Write(const char* data, std::size_t count) {
  if (Position == Data_.size()) {
    Data_.append(data, count);
  } else {
    if (Position + count > Data_.size()) Data_.resize(Position + count);
    std::memcpy(&Data_[Position], data, count);
  }
  Position += count;
}

namespace {

struct SpecialBytes {
  bool Is[256];
};

constexpr SpecialBytes MakeSpecialBytes() {
  SpecialBytes t{};
  t.Is[static_cast<unsigned char>('\\')] = true;
  t.Is[static_cast<unsigned char>('{')] = true;
  t.Is[static_cast<unsigned char>('}')] = true;
  return t;
}

constexpr SpecialBytes kSpecial = MakeSpecialBytes();

inline bool IsRtfSpecial(char c) { return kSpecial.Is[static_cast<unsigned char>(c)]; }

}  // namespace

void EscapeRtf(std::string& token) {
  const char* data = token.data();
  const std::size_t size = token.size();
  std::size_t i = 0;
  while (i < size && !IsRtfSpecial(data[i])) ++i;
  if (i == size) return;
  // Widen the token in place, filling from the back, so escaping needs no
  // second buffer.
  std::size_t specials = 0;
  for (std::size_t k = i; k < size; ++k) specials += IsRtfSpecial(data[k]);
  token.resize(size + specials);
  char* out = &token[0];
  std::size_t to = size + specials;
  for (std::size_t from = size; from > i;) {
    const char c = out[--from];
    out[--to] = c;
    if (IsRtfSpecial(c)) out[--to] = '\\';
  }
}

TqorRTFSyntax::TqorRTFSyntax() {
  CodePage = 1252;
  RtfHeader = "{\\rtf1\\ansi\\ansicpg";
  AppendDecimal(RtfHeader, static_cast<unsigned>(CodePage));
  RtfHeader += "\\deff0\\deftab720{\\fonttbl";
  RtfFontTableEnd = "}\r\n";
  RtfDocumentStart = "\\deflang1033\\pard\\plain\\f0\\fs20";
  RtfColorTable.clear();
  SetFonts({DefaultFontStorage()});
}

void TqorRTFSyntax::EscapeToken(std::string&) {}

void TqorRTFSyntax::FormatToken(int colorIndex, const std::string& token, std::string& out) {
  // This runs once per token: a short fragment is put together on the stack
  // and appended as one piece.
  char fragment[64];
  std::memcpy(fragment, "\\cf", 3);
  std::size_t n = 3;
  unsigned value = static_cast<unsigned>(colorIndex);
  if (colorIndex < 0) {
    // "%d" of a negative index; no scanner produces one.
    fragment[n++] = '-';
    value = static_cast<unsigned>(-static_cast<long long>(colorIndex));
  }
  n += WriteDecimal(fragment + n, value);
  fragment[n++] = ' ';
  if (token.size() <= sizeof fragment - n) {
    std::memcpy(fragment + n, token.data(), token.size());
    out.append(fragment, n + token.size());
  } else {
    out.append(fragment, n);
    out.append(token);
  }
}

void TqorRTFSyntax::Next() {}
bool TqorRTFSyntax::GetEol() { return true; }
std::string TqorRTFSyntax::GetToken() { return std::string(); }
int TqorRTFSyntax::GetTokenKind() { return 0; }
const char* TqorRTFSyntax::GetTokenKindName() { return ""; }

std::string TqorRTFSyntax::ColorToRtf(TColor color) {
  if ((color & kSystemColorFlag) == kSystemColorFlag) {
    color = gResolver ? gResolver(color) : 0;
  }
  std::string s = "\\red";
  AppendDecimal(s, color & 0xFF);
  s += "\\green";
  AppendDecimal(s, (color >> 8) & 0xFF);
  s += "\\blue";
  AppendDecimal(s, (color >> 16) & 0xFF);
  s += ';';
  return s;
}

void TqorRTFSyntax::SetLine(const char*, int) {}

void TqorRTFSyntax::SetText(const char* text) { SetLine(text, 1); }

void TqorRTFSyntax::ConvertToRtf(TStream& stream) {
  auto* memory = dynamic_cast<TMemoryStream*>(&stream);
  if (memory != nullptr && memory->Position == memory->Data().size()) {
    // The refresh hands over an empty memory stream: writing into its buffer
    // spares one more copy of the whole document.
    AppendDocument(memory->Data(), nullptr);
    memory->Position = memory->Data().size();
    return;
  }
  std::string out;
  AppendDocument(out, &stream);
  stream.Write(out.data(), out.size());
}

void TqorRTFSyntax::AppendDocument(std::string& out, TStream* flushTo) {
  out.reserve(out.size() + RtfHeader.size() + RtfFontTable.size() + RtfColorTable.size() + 256);
  out += RtfHeader;
  out += RtfFontTable;
  out += RtfFontTableEnd;
  out += RtfColorTable;
  out += RtfDocumentStart;
  out += "\\f0 ";
  while (!GetEol()) {
    std::string token = GetToken();
    const int kind = GetTokenKind();
    EscapeToken(token);
    if (token.size() == 2 && token[0] == '\r' && token[1] == '\n') out += "\\par ";
    FormatToken(kind, token, out);
    // Other streams get large blocks: one write per token would cost more than the scan.
    if (flushTo != nullptr && out.size() >= (1u << 16)) {
      flushTo->Write(out.data(), out.size());
      out.clear();
    }
    Next();
  }
  out += "\\par }";
}

std::string TqorRTFSyntax::ConvertToRtfString() {
  TMemoryStream stream;
  ConvertToRtf(stream);
  return std::move(stream.Data());
}

void TqorRTFSyntax::SetColors(const std::vector<TColor>& colors) {
  RtfColorTable = "{\\colortbl\\red0\\green0\\blue0;";
  for (TColor c : colors) RtfColorTable += ColorToRtf(c);
  RtfColorTable += "}\r\n";
}

void TqorRTFSyntax::SetFonts(const std::vector<TFontDesc>& fonts) {
  RtfFontTable.clear();
  unsigned i = 0;
  for (const TFontDesc& f : fonts) {
    RtfFontTable += "{\\f";
    AppendDecimal(RtfFontTable, i++);
    RtfFontTable += '\\';
    RtfFontTable += FamilyWord(f.PitchAndFamily);
    RtfFontTable += '\\';
    RtfFontTable += CharsetWord(f.CharSet);
    RtfFontTable += ' ';
    RtfFontTable += f.Name;
    RtfFontTable += ";}";
  }
}

std::size_t WriteDecimal(char* out, unsigned value) {
  // Colour indexes are one or two digits.
  if (value < 10) {
    out[0] = static_cast<char>('0' + value);
    return 1;
  }
  if (value < 100) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    return 2;
  }
  char digits[10];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
  return n;
}

void AppendDecimal(std::string& out, unsigned value) {
  char buffer[10];
  out.append(buffer, WriteDecimal(buffer, value));
}
