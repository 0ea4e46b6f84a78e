// The RTF reader's parts, shared by the files it is written in: the reading
// state, the byte classes and the reader itself. Not for use outside the reader.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rtf_reader.h"

namespace rtf_reading {

constexpr bool IsAlpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// What a byte of the RTF means outside a control word: most bytes are text;
// CR and LF are only there to keep lines short and carry no meaning.
enum ByteClass : std::uint8_t { kText, kLineEnd, kOpen, kClose, kBackslash };

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
  std::array<std::uint8_t, 256> t{};
  t['\r'] = kLineEnd;
  t['\n'] = kLineEnd;
  t['{'] = kOpen;
  t['}'] = kClose;
  t['\\'] = kBackslash;
  return t;
}
constexpr std::array<std::uint8_t, 256> kByteClass = MakeByteClasses();

struct ColorEntry {
  bool Present = false;
  std::uint8_t Red = 0, Green = 0, Blue = 0;
};

enum class Destination : std::uint8_t { Text, ColorTable };

// Character formatting and reading state that a group restores when it closes.
struct GroupState {
  std::int32_t Color = -1;  // colour-table index; -1 is the default colour
  bool Bold = false;
  bool Italic = false;
  std::uint8_t UnicodeSkip = 1;  // fallback characters after "\u"
  Destination Dest = Destination::Text;
};

struct Word {
  std::string_view Name;
  bool HasParam = false;
  std::int32_t Param = 0;
};

// A FormatOf value no format has: what the array holds where it had nothing.
constexpr std::uint8_t kNotAFormat = 0xFF;
static_assert(kMaxRtfFormats <= kNotAFormat, "no format index is the mark");

// Grows a buffer to exactly `size` elements, keeping its first `keep`: the
// standard containers would at least double, and these hold a whole document.
template <typename Buffer>
void GrowExactly(Buffer& buffer, std::size_t keep, std::size_t size,
                 typename Buffer::value_type fill) {
  if (size <= buffer.capacity()) {
    buffer.resize(size, fill);
    return;
  }
  Buffer bigger;
  bigger.reserve(size);
  bigger.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(keep));
  bigger.resize(size, fill);
  buffer.swap(bigger);
}

class Reader {
 public:
  Reader(std::string_view rtf, RtfDocument& out, std::string_view known);

  void Run();

 private:
  GroupState& State() { return Stack_.back(); }

  static bool IsTextByte(char c) { return kByteClass[static_cast<unsigned char>(c)] == kText; }

  void OpenGroup();

  void CloseGroup();

  // A run of ordinary bytes up to the next brace, backslash or line end.
  void Text();

  // Compares text with the known text, as far as the run, the known text and
  // the format array reach; true while the run goes on. (Locals, not members,
  // in the loop: a byte store may alias any member.)
  bool MatchRun();

  // Copies text as far as the run and the arrays reach; true while the run
  // goes on.
  bool CopyRun();

  // Notes that formats from..to, written in one run, are not all what they
  // were; the run is taken whole, which spares a test per byte.
  void NoteChange(const std::uint8_t* from, const std::uint8_t* to);

  // From here on the text is not the known one: it is copied.
  void StopMatching();

  // One character that came from an escape ("\\", "\'e9", "\tab", ...).
  void Char(unsigned char c);

  void Break(bool paragraph);

  void Emit(const char* data, std::size_t n);

  void Put(char c);

  void PrepareFormat();

  // Room for n more bytes of formats or of copied text. An array grows by the
  // text the rest of the RTF will likely bring, judged by the text per RTF byte
  // read so far, so it ends near the size of the text, not of the RTF; never
  // beyond the rest of the input, which is enough (no character takes less
  // than one byte).
  std::size_t Grown(std::size_t used, std::size_t current, std::size_t n) const;

  void ReserveFormats(std::size_t n);

  void ReserveText(std::size_t n);

  // The closing "\par" of a document ends its last paragraph; it does not
  // start an empty one after it.
  void DropClosingParagraphMark();

  void Escape();

  void LineBreak(bool paragraph);

  Word ReadWord();

  // The digits of a parameter, saturated to 32 bits, and the delimiting space.
  std::int32_t ReadParam();

  void HexChar();

  void ControlWord(const Word& w);

  void Unicode(std::int32_t code);

  void SetColor(std::int32_t index);
  void SetBold(bool on);
  void SetItalic(bool on);

  void ColorComponent(std::string_view name, std::int32_t value);

  void EndColorEntry();

  // Skips the rest of the current group, whose content is not text, and
  // closes it. Only braces, escaped braces and binary data matter here.
  void SkipGroup();

  std::uint8_t ResolveFormat();

  std::uint8_t FindOrAddFormat(const RtfFormat& f);

  std::uint8_t Use(std::size_t index);

  // The closest of the formats this text uses, the first one taken on a tie.
  std::uint8_t NearestFormat(const RtfFormat& f) const;

  struct CacheEntry {
    std::uint32_t Generation = 0;
    std::uint8_t Format = 0;
  };

  const char* Begin_;
  const char* At_;
  const char* End_;
  RtfDocument& Out_;
  std::string_view Known_;
  std::vector<GroupState> Stack_;
  bool Done_ = false;
  std::size_t Size_ = 0;  // bytes of text read so far
  // While the text read is the known text it is compared, not copied; Text
  // holds what follows the first `Same_` bytes.
  bool Matching_ = true;
  std::size_t Same_ = 0;
  // Where FormatOf got values other than it had; ChangedTo_ 0 while nowhere.
  std::size_t ChangedFrom_ = 0;
  std::size_t ChangedTo_ = 0;
  std::pair<std::size_t, std::size_t> ChangedBeforeParagraphEnd_;
  unsigned PendingSkip_ = 0;
  std::size_t ParagraphEnd_ = std::string::npos;

  std::vector<ColorEntry> ColorTable_;
  ColorEntry PendingColor_;

  // Format of the current state, resolved lazily when text is written; the
  // cache maps (colour index below 255, bold, italic) to a format index for the
  // current colour table, so a colour switch per token costs no search.
  bool FormatValid_ = false;
  std::uint8_t Format_ = 0;
  std::uint32_t ColorGeneration_ = 1;
  std::array<CacheEntry, 256 * 4> Cache_{};

  // The formats this text uses, in the order it takes them.
  std::array<bool, kMaxRtfFormats> Used_{};
  std::vector<std::uint8_t> UseOrder_;
  bool Reused_ = false;
};

}  // namespace rtf_reading
