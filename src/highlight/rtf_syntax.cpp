#include "rtf_syntax.h"

#include <algorithm>
#include <cstring>

namespace {

TFontDesc& DefaultFontStorage() {
  static TFontDesc font = DefaultCourierNew();
  return font;
}

const char* FamilyWord(std::uint8_t pitchAndFamily) {
  switch (pitchAndFamily >> 4) {
    case 0:
      return "fdontcare";
    case 1:
      return "froman";
    case 2:
      return "fswiss";
    case 3:
      return "fmodern";
    case 4:
      return "fscript";
    case 5:
      return "fdecorative";
    default:
      return "froman";
  }
}

const char* CharsetWord(std::uint8_t charSet) {
  switch (charSet) {
    case 0:
      return "fcharset0";
    case 1:
      return "fcharset1";
    case 2:
      return "fcharset2";
    case 128:
      return "fcharset128";
    case 255:
      return "fcharset255";
    default:
      return "";
  }
}

}  // namespace

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

using rtf_detail::CountRtfSpecial;
using rtf_detail::IsRtfSpecial;

void EscapeRtf(std::string& token) {
  const char* data = token.data();
  const std::size_t size = token.size();
  std::size_t i = 0;
  while (i < size && !IsRtfSpecial(data[i])) ++i;
  if (i == size) return;
  // Widen the token in place, filling from the back, so escaping needs no
  // second buffer.
  const std::size_t specials = CountRtfSpecial(std::string_view(data + i, size - i));
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

void TqorRTFSyntax::FormatToken(int colorIndex, std::string_view token, std::string& out) {
  const TFragmentFrame& frame = FrameToken(colorIndex, token);
  out.append(frame.HeadText());
  out.append(token);
  out.append(frame.TailText());
}

void TqorRTFSyntax::Next() {}
bool TqorRTFSyntax::GetEol() { return true; }
std::string TqorRTFSyntax::GetToken() { return std::string(); }
int TqorRTFSyntax::GetTokenKind() { return 0; }
const char* TqorRTFSyntax::GetTokenKindName() { return ""; }

std::string TqorRTFSyntax::ColorToRtf(TColor color) {
  if ((color & kSystemColorFlag) == kSystemColorFlag) color = 0;
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

bool TqorRTFSyntax::SaveState(TScanState&) const { return false; }
void TqorRTFSyntax::RestoreState(const TScanState&) {}
void TqorRTFSyntax::ScanLooks(TLookScan& scan) { scan.Failed = true; }

void TqorRTFSyntax::RecordLines(TLineRecord& record) {
  TScanState initial;
  const bool resumable = SaveState(initial);
  record.Begin(typeid(*this), initial);
  if (!resumable) record.Invalidate();
  Record_ = &record;
}

bool TqorRTFSyntax::TokenInPlace(std::string_view&) { return false; }

void TqorRTFSyntax::SetText(const char* text) {
  TextLength_ = text != nullptr ? std::strlen(text) : 0;
  SetLine(text, 1);
}

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

namespace {

// Gives out room for capacity bytes in one allocation of that size. The
// library would round a growth up to twice the old room, which for a document
// of megabytes is the difference between fitting and holding twice its size.
void ReserveExactly(std::string& out, std::size_t capacity) {
  if (capacity <= out.capacity()) return;
  std::string larger;
  larger.reserve(capacity);
  larger.append(out);
  out.swap(larger);
}

// How much of the text the first room is measured for: enough to learn how
// much RTF this text makes per byte before the room is set for all of it.
constexpr std::size_t kSampleBytes = 64 * 1024;
// RTF per text byte that the sample's room allows; dense markup makes about three.
constexpr std::size_t kSampleRatio = 4;

}  // namespace

void TqorRTFSyntax::AppendDocument(std::string& out, TStream* flushTo) {
  using rtf_detail::kFragmentRoom;
  const std::size_t fixedParts = RtfHeader.size() + RtfFontTable.size() + RtfFontTableEnd.size() +
                                 RtfColorTable.size() + RtfDocumentStart.size() + 16;
  if (flushTo != nullptr) {
    ReserveExactly(out, fixedParts + rtf_detail::kBlockSize + kFragmentRoom);
  } else if (out.capacity() - out.size() <= fixedParts) {
    // A caller that knows the size gives the room itself (it is not
    // overruled with a larger guess); otherwise the first room covers a
    // sample of the text only.
    ReserveExactly(out, out.size() + fixedParts +
                            kSampleRatio * std::min(TextLength_, kSampleBytes) + kFragmentRoom);
  }
  out += RtfHeader;
  out += RtfFontTable;
  out += RtfFontTableEnd;
  out += RtfColorTable;
  out += RtfDocumentStart;
  out += "\\f0 ";
  AppendTokens(out, flushTo);
  out += "\\par }";
}

void TqorRTFSyntax::AppendTokens(std::string& out, TStream* flushTo) {
  AppendTokensOf(*this, out, flushTo);
}

void TqorRTFSyntax::MakeRoom(std::string& out, std::size_t need, std::size_t tokensStart,
                             std::size_t consumed, bool inMemory) {
  std::size_t wanted = out.size() + need;
  if (inMemory) {
    if (consumed >= std::min(kSampleBytes, TextLength_) && TextLength_ > consumed) {
      // The rest of the text is taken to make as much RTF per byte as the part
      // behind it. Room short of that is given now, while the copy is small,
      // with an eighth more for the rest, so the guess can rise a little
      // without another copy.
      const double perByte = static_cast<double>(out.size() - tokensStart) / consumed;
      const auto rest =
          static_cast<std::size_t>(perByte * static_cast<double>(TextLength_ - consumed));
      const std::size_t foreseen = out.size() + rest + rtf_detail::kFragmentRoom;
      if (out.capacity() < foreseen) wanted = std::max(wanted, foreseen + rest / 8);
    } else if (out.capacity() < wanted) {
      wanted = std::max(wanted, 2 * out.size());  // too little to go by yet
    }
  }
  ReserveExactly(out, wanted);
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
