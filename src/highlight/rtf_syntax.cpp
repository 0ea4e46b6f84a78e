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

void EscapeRtf(std::string& token) {
  std::size_t specials = 0;
  for (char c : token) {
    if (c == '\\' || c == '{' || c == '}') ++specials;
  }
  if (specials == 0) return;
  std::string out;
  out.reserve(token.size() + specials);
  for (char c : token) {
    if (c == '\\' || c == '{' || c == '}') out.push_back('\\');
    out.push_back(c);
  }
  token.swap(out);
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
  out += "\\cf";
  if (colorIndex < 0) {
    // "%d" of a negative index; no scanner produces one.
    out += '-';
    AppendDecimal(out, static_cast<unsigned>(-static_cast<long long>(colorIndex)));
  } else {
    AppendDecimal(out, static_cast<unsigned>(colorIndex));
  }
  out += ' ';
  out += token;
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
  std::string out;
  out.reserve(RtfHeader.size() + RtfFontTable.size() + RtfColorTable.size() + 256);
  out += RtfHeader;
  out += RtfFontTable;
  out += RtfFontTableEnd;
  out += RtfColorTable;
  out += RtfDocumentStart;
  out += "\\f0 ";
  std::string token;
  while (!GetEol()) {
    token = GetToken();
    const int kind = GetTokenKind();
    EscapeToken(token);
    if (token.size() == 2 && token[0] == '\r' && token[1] == '\n') out += "\\par ";
    FormatToken(kind, token, out);
    // Flush in large blocks: one write per token would cost more than the scan.
    if (out.size() >= (1u << 16)) {
      stream.Write(out.data(), out.size());
      out.clear();
    }
    Next();
  }
  out += "\\par }";
  stream.Write(out.data(), out.size());
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

void AppendDecimal(std::string& out, unsigned value) {
  char buf[16];
  int n = 0;
  do {
    buf[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) out += buf[--n];
}
