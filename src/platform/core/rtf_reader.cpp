#include "rtf_reader.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace {

constexpr bool IsAlpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

constexpr int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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

// Groups whose content is never shown: tables, pictures, document
// information, fields' instructions, headers and notes.
bool IsSkippedDestination(std::string_view w) {
  static constexpr std::string_view kWords[] = {"bkmkend",   "bkmkstart",    "colorschememapping",
                                                "datastore", "docvar",       "fldinst",
                                                "filetbl",   "fonttbl",      "footer",
                                                "footerf",   "footerl",      "footerr",
                                                "footnote",  "generator",    "header",
                                                "headerf",   "headerl",      "headerr",
                                                "info",      "latentstyles", "listoverridetable",
                                                "listtable", "nonshppict",   "object",
                                                "pict",      "revtbl",       "rsidtbl",
                                                "shppict",   "stylesheet",   "tc",
                                                "themedata", "txe",          "userprops",
                                                "xe",        "xmlnsstbl"};
  for (std::string_view k : kWords) {
    if (k == w) return true;
  }
  return false;
}

// Unicode characters of code page 1252's range 0x80..0x9F, in byte order;
// zero marks the five bytes that code page leaves undefined.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned char UnicodeToCp1252(std::int32_t code) {
  if (code < 0) code += 65536;  // the parameter is a signed 16-bit number
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
  for (int i = 0; i < 32; ++i) {
    const std::uint16_t u = kCp1252High[i];
    if (u == 0 ? code == 0x80 + i : code == u) return static_cast<unsigned char>(0x80 + i);
  }
  return '?';
}

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
  Reader(std::string_view rtf, RtfDocument& out, std::string_view known)
      : begin_(rtf.data()),
        p_(rtf.data()),
        end_(rtf.data() + rtf.size()),
        out_(out),
        known_(known) {
    // Both arrays are written in place, grown as text comes and cut to size
    // at the end; a document read into them before leaves them large enough.
    // The known text is what the text will most likely be, and then a little
    // room for what is typed before the next reading.
    out_.Text.resize(out_.Text.capacity());
    const std::size_t expected = known_.empty() ? 0 : known_.size() + known_.size() / 64;
    GrowExactly(out_.FormatOf, out_.FormatOf.size(),
                std::max({out_.FormatOf.capacity(), out_.FormatOf.size(), expected}), kNotAFormat);
    stack_.reserve(16);
    stack_.push_back(GroupState{});
  }

  void Run() {
    while (p_ < end_ && !done_) {
      switch (kByteClass[static_cast<unsigned char>(*p_)]) {
        case kText:
          Text();
          break;
        case kLineEnd:
          ++p_;
          break;
        case kOpen:
          ++p_;
          OpenGroup();
          break;
        case kClose:
          ++p_;
          CloseGroup();
          break;
        case kBackslash:
          ++p_;
          Escape();
          break;
      }
    }
    DropClosingParagraphMark();
    if (matching_) same_ = size_;
    same_ = std::min(same_, size_);
    out_.Text.resize(size_ - same_);
    out_.FormatOf.resize(size_);
    out_.KnownBytes = same_;
    if (reused_) {
      // A slot now holds another format: values further on that were not
      // compared may mean something else than they did.
      changedFrom_ = 0;
      changedTo_ = size_;
    }
    changedTo_ = std::min(changedTo_, size_);
    out_.ChangedFrom = changedFrom_ < changedTo_ ? changedFrom_ : 0;
    out_.ChangedTo = changedFrom_ < changedTo_ ? changedTo_ : 0;
  }

 private:
  GroupState& State() { return stack_.back(); }

  static bool IsTextByte(char c) { return kByteClass[static_cast<unsigned char>(c)] == kText; }

  void OpenGroup() {
    stack_.push_back(stack_.back());
    pendingSkip_ = 0;
  }

  void CloseGroup() {
    pendingSkip_ = 0;
    if (stack_.size() == 1) return;  // a stray "}" before any group
    const GroupState closed = stack_.back();
    stack_.pop_back();
    // The document ends with its outermost group; anything after it is not RTF.
    if (stack_.size() == 1) done_ = true;
    const GroupState& now = stack_.back();
    if (closed.Color != now.Color || closed.Bold != now.Bold || closed.Italic != now.Italic) {
      formatValid_ = false;
    }
  }

  // A run of ordinary bytes up to the next brace, backslash or line end.
  void Text() {
    if (State().Dest == Destination::Text && pendingSkip_ == 0) {
      // The common case, handled as it is scanned.
      PrepareFormat();
      while (matching_ ? MatchRun() : CopyRun()) {
      }
      return;
    }
    const char* start = p_;
    while (p_ < end_ && IsTextByte(*p_)) ++p_;
    std::size_t n = static_cast<std::size_t>(p_ - start);
    if (State().Dest == Destination::ColorTable) {
      for (const char* q = start; q < p_; ++q) {
        if (*q == ';') EndColorEntry();
      }
      return;
    }
    const std::size_t skipped = std::min<std::size_t>(n, pendingSkip_);
    pendingSkip_ -= static_cast<unsigned>(skipped);
    Emit(start + skipped, n - skipped);
  }

  // Compares text with the known text, as far as the run, the known text and
  // the format array reach; true while the run goes on. (Locals, not members,
  // in the loop: a byte store may alias any member.)
  bool MatchRun() {
    if (size_ == out_.FormatOf.size()) ReserveFormats(1);
    const std::size_t room = std::min(out_.FormatOf.size(), known_.size()) - size_;
    const char* p = p_;
    const char* limit = p + std::min(room, static_cast<std::size_t>(end_ - p));
    const char* known = known_.data() + size_;
    std::uint8_t* format = out_.FormatOf.data() + size_;
    std::uint8_t* const first = format;
    const std::uint8_t f = format_;
    unsigned changed = 0;
    // The known text and the old formats are read, not only written as a
    // copy would be, and the highlighter has just pushed them out of the
    // cache: asking for them a few runs ahead keeps the loop from waiting.
    constexpr std::size_t kAhead = 384;
    __builtin_prefetch(known + std::min(kAhead, known_.size() - size_));
    __builtin_prefetch(format + std::min(kAhead, out_.FormatOf.size() - size_), 1);
    while (p < limit && IsTextByte(*p) && *p == *known) {
      changed |= *format ^ f;
      *format++ = f;
      ++p;
      ++known;
    }
    if (changed != 0) NoteChange(first, format);
    size_ += static_cast<std::size_t>(p - p_);
    p_ = p;
    if (p == end_ || !IsTextByte(*p)) return false;
    if (size_ == known_.size() || *p != *known) StopMatching();
    return true;
  }

  // Copies text as far as the run and the arrays reach; true while the run
  // goes on.
  bool CopyRun() {
    const std::size_t used = size_ - same_;
    if (size_ == out_.FormatOf.size()) ReserveFormats(1);
    if (used == out_.Text.size()) ReserveText(1);
    const std::size_t room = std::min(out_.FormatOf.size() - size_, out_.Text.size() - used);
    const char* p = p_;
    const char* limit = p + std::min(room, static_cast<std::size_t>(end_ - p));
    char* text = out_.Text.data() + used;
    std::uint8_t* format = out_.FormatOf.data() + size_;
    std::uint8_t* const first = format;
    const std::uint8_t f = format_;
    unsigned changed = 0;
    while (p < limit && IsTextByte(*p)) {
      *text++ = *p++;
      changed |= *format ^ f;
      *format++ = f;
    }
    if (changed != 0) NoteChange(first, format);
    size_ += static_cast<std::size_t>(p - p_);
    p_ = p;
    return p < end_ && IsTextByte(*p);
  }

  // Notes that formats from..to, written in one run, are not all what they
  // were; the run is taken whole, which spares a test per byte.
  void NoteChange(const std::uint8_t* from, const std::uint8_t* to) {
    const auto at = static_cast<std::size_t>(from - out_.FormatOf.data());
    if (changedTo_ == 0) changedFrom_ = at;
    changedTo_ = at + static_cast<std::size_t>(to - from);
  }

  // From here on the text is not the known one: it is copied.
  void StopMatching() {
    matching_ = false;
    same_ = size_;
  }

  // One character that came from an escape ("\\", "\'e9", "\tab", ...).
  void Char(unsigned char c) {
    if (State().Dest != Destination::Text) return;
    if (pendingSkip_ > 0) {
      --pendingSkip_;
      return;
    }
    // Only "\par" and "\line" break lines, however a CR or LF byte is written.
    if (c == '\r' || c == '\n') return;
    const char ch = static_cast<char>(c);
    Emit(&ch, 1);
  }

  void Break(bool paragraph) {
    if (State().Dest != Destination::Text) return;
    const std::size_t changedFrom = changedFrom_;
    const std::size_t changedTo = changedTo_;
    Emit("\r\n", 2);
    if (paragraph) {
      paragraphEnd_ = size_;
      changedBeforeParagraphEnd_ = {changedFrom, changedTo};
    }
  }

  void Emit(const char* data, std::size_t n) {
    if (n == 0) return;
    PrepareFormat();
    for (const char* end = data + n; data < end; ++data) Put(*data);
  }

  void Put(char c) {
    if (matching_ && (size_ == known_.size() || known_[size_] != c)) StopMatching();
    if (!matching_) {
      const std::size_t used = size_ - same_;
      if (used == out_.Text.size()) ReserveText(1);
      out_.Text[used] = c;
    }
    if (size_ == out_.FormatOf.size()) ReserveFormats(1);
    std::uint8_t* format = out_.FormatOf.data() + size_;
    if (*format != format_) {
      *format = format_;
      NoteChange(format, format + 1);
    }
    ++size_;
  }

  void PrepareFormat() {
    if (!formatValid_) {
      format_ = ResolveFormat();
      formatValid_ = true;
    }
  }

  // Room for n more bytes of formats or of copied text. An array grows by the
  // text the rest of the RTF will likely bring, judged by the text per RTF byte
  // read so far, so it ends near the size of the text, not of the RTF; never
  // beyond the rest of the input, which is enough (no character takes less
  // than one byte).
  std::size_t Grown(std::size_t used, std::size_t current, std::size_t n) const {
    const auto read = static_cast<double>(p_ - begin_);
    const auto rest = static_cast<std::size_t>(end_ - p_);
    const auto expected =
        read > 0 ? static_cast<std::size_t>(static_cast<double>(rest) * size_ / read) : rest;
    const std::size_t grown = std::max(used + n + expected + expected / 8, current + current / 2);
    return std::max(current, std::min(grown, used + n + rest));
  }

  void ReserveFormats(std::size_t n) {
    // Values beyond the text are still to be compared: all of them stay.
    GrowExactly(out_.FormatOf, out_.FormatOf.size(), Grown(size_, out_.FormatOf.size(), n),
                kNotAFormat);
  }

  void ReserveText(std::size_t n) {
    const std::size_t used = size_ - same_;
    GrowExactly(out_.Text, used, Grown(used, out_.Text.size(), n), '\0');
  }

  // The closing "\par" of a document ends its last paragraph; it does not
  // start an empty one after it.
  void DropClosingParagraphMark() {
    if (paragraphEnd_ != size_) return;
    size_ -= 2;
    // Its bytes lie beyond the text, so what they changed does not count.
    changedFrom_ = changedBeforeParagraphEnd_.first;
    changedTo_ = changedBeforeParagraphEnd_.second;
  }

  void Escape() {
    if (p_ == end_) return;
    const auto c = static_cast<unsigned char>(*p_);
    if (IsAlpha(c)) {
      // "\cfN " opens nearly every token the highlighters write.
      if (c == 'c' && end_ - p_ > 2 && p_[1] == 'f' && IsDigit(static_cast<unsigned char>(p_[2]))) {
        p_ += 2;
        SetColor(ReadParam());
        return;
      }
      ControlWord(ReadWord());
      return;
    }
    ++p_;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        Char(c);
        break;
      case '\'':
        HexChar();
        break;
      case '\r':
      case '\n':
        LineBreak(true);
        break;
      case '~':
        Char(0xA0);
        break;
      case '_':
        Char('-');
        break;
      case '*':
        SkipGroup();
        break;
      default:
        if (pendingSkip_ > 0) --pendingSkip_;
        break;
    }
  }

  void LineBreak(bool paragraph) {
    if (pendingSkip_ > 0) {
      --pendingSkip_;
      return;
    }
    Break(paragraph);
  }

  Word ReadWord() {
    Word w;
    const char* start = p_;
    while (p_ < end_ && IsAlpha(static_cast<unsigned char>(*p_))) ++p_;
    w.Name = std::string_view(start, static_cast<std::size_t>(p_ - start));
    bool negative = false;
    if (p_ + 1 < end_ && *p_ == '-' && IsDigit(static_cast<unsigned char>(p_[1]))) {
      negative = true;
      ++p_;
    }
    if (p_ < end_ && IsDigit(static_cast<unsigned char>(*p_))) {
      w.HasParam = true;
      w.Param = ReadParam();
      if (negative) w.Param = -w.Param;
    } else if (p_ < end_ && *p_ == ' ') {
      ++p_;
    }
    return w;
  }

  // The digits of a parameter, saturated to 32 bits, and the delimiting space.
  std::int32_t ReadParam() {
    constexpr std::int32_t kLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t v = 0;
    while (p_ < end_ && IsDigit(static_cast<unsigned char>(*p_))) {
      if (v <= kLimit) v = v * 10 + (*p_ - '0');
      ++p_;
    }
    if (p_ < end_ && *p_ == ' ') ++p_;
    return static_cast<std::int32_t>(std::min<std::int64_t>(v, kLimit));
  }

  void HexChar() {
    int value = 0;
    int digits = 0;
    while (digits < 2 && p_ < end_) {
      const int h = HexValue(static_cast<unsigned char>(*p_));
      if (h < 0) break;
      value = value * 16 + h;
      ++digits;
      ++p_;
    }
    if (digits > 0) Char(static_cast<unsigned char>(value));
  }

  void ControlWord(const Word& w) {
    const std::string_view n = w.Name;
    GroupState& s = State();
    // The words the highlighters write come first.
    if (n == "cf") {
      SetColor(w.HasParam ? w.Param : 0);
    } else if (n == "par") {
      LineBreak(true);
    } else if (n == "b") {
      SetBold(!w.HasParam || w.Param != 0);
    } else if (n == "i") {
      SetItalic(!w.HasParam || w.Param != 0);
    } else if (n == "red" || n == "green" || n == "blue") {
      ColorComponent(n, w.HasParam ? w.Param : 0);
    } else if (n == "colortbl") {
      s.Dest = Destination::ColorTable;
      colorTable_.clear();
      pendingColor_ = ColorEntry{};
      ++colorGeneration_;
      formatValid_ = false;
    } else if (n == "plain") {
      if (s.Color != -1 || s.Bold || s.Italic) formatValid_ = false;
      s.Color = -1;
      s.Bold = false;
      s.Italic = false;
    } else if (n == "line") {
      LineBreak(false);
    } else if (n == "tab") {
      Char('\t');
    } else if (n == "u") {
      if (w.HasParam) Unicode(w.Param);
    } else if (n == "uc") {
      s.UnicodeSkip = static_cast<std::uint8_t>(std::clamp<std::int32_t>(w.Param, 0, 255));
    } else if (n == "bin") {
      // Raw bytes follow; they may hold anything, braces included.
      const std::size_t left = static_cast<std::size_t>(end_ - p_);
      p_ += std::min<std::size_t>(left, w.HasParam && w.Param > 0 ? w.Param : 0);
    } else if (n == "sect" || n == "page") {
      LineBreak(true);
    } else if (n == "emdash") {
      Char(0x97);
    } else if (n == "endash") {
      Char(0x96);
    } else if (n == "bullet") {
      Char(0x95);
    } else if (n == "lquote") {
      Char(0x91);
    } else if (n == "rquote") {
      Char(0x92);
    } else if (n == "ldblquote") {
      Char(0x93);
    } else if (n == "rdblquote") {
      Char(0x94);
    } else if (n == "emspace" || n == "enspace" || n == "qmspace") {
      Char(' ');
    } else if (IsSkippedDestination(n)) {
      SkipGroup();
    } else if (pendingSkip_ > 0) {
      --pendingSkip_;
    }
  }

  void Unicode(std::int32_t code) {
    if (pendingSkip_ > 0) {
      --pendingSkip_;
      return;
    }
    Char(UnicodeToCp1252(code));
    pendingSkip_ = State().UnicodeSkip;
  }

  void SetColor(std::int32_t index) {
    GroupState& s = State();
    if (index < 0) index = -1;
    if (s.Color != index) formatValid_ = false;
    s.Color = index;
  }
  void SetBold(bool on) {
    if (State().Bold != on) formatValid_ = false;
    State().Bold = on;
  }
  void SetItalic(bool on) {
    if (State().Italic != on) formatValid_ = false;
    State().Italic = on;
  }

  void ColorComponent(std::string_view name, std::int32_t value) {
    if (State().Dest != Destination::ColorTable) return;
    const auto v = static_cast<std::uint8_t>(std::clamp<std::int32_t>(value, 0, 255));
    pendingColor_.Present = true;
    if (name == "red") {
      pendingColor_.Red = v;
    } else if (name == "green") {
      pendingColor_.Green = v;
    } else {
      pendingColor_.Blue = v;
    }
  }

  void EndColorEntry() {
    colorTable_.push_back(pendingColor_);
    pendingColor_ = ColorEntry{};
    // The new entry gives meaning to an index that used to mean "default".
    ++colorGeneration_;
    formatValid_ = false;
  }

  // Skips the rest of the current group, whose content is not text, and
  // closes it. Only braces, escaped braces and binary data matter here.
  void SkipGroup() {
    std::size_t depth = 1;
    while (p_ < end_) {
      const char c = *p_++;
      if (c == '{') {
        ++depth;
      } else if (c == '}') {
        if (--depth == 0) {
          CloseGroup();
          return;
        }
      } else if (c == '\\' && p_ < end_) {
        if (IsAlpha(static_cast<unsigned char>(*p_))) {
          const Word w = ReadWord();
          if (w.Name == "bin" && w.HasParam && w.Param > 0) {
            p_ += std::min<std::size_t>(static_cast<std::size_t>(end_ - p_), w.Param);
          }
        } else {
          ++p_;
        }
      }
    }
  }

  std::uint8_t ResolveFormat() {
    const GroupState& s = State();
    RtfFormat f;
    f.Bold = s.Bold;
    f.Italic = s.Italic;
    const bool inTable = s.Color >= 0 && static_cast<std::size_t>(s.Color) < colorTable_.size();
    const std::int32_t color = inTable ? s.Color : -1;
    const std::size_t slot =
        static_cast<std::size_t>(color + 1) * 4 + (s.Bold ? 2 : 0) + (s.Italic ? 1 : 0);
    const bool cacheable = slot < cache_.size();
    if (cacheable && cache_[slot].Generation == colorGeneration_) return cache_[slot].Format;
    if (inTable) {
      const ColorEntry& e = colorTable_[static_cast<std::size_t>(color)];
      f.HasColor = e.Present;
      f.Red = e.Red;
      f.Green = e.Green;
      f.Blue = e.Blue;
    }
    const std::uint8_t index = FindOrAddFormat(f);
    if (cacheable) cache_[slot] = CacheEntry{colorGeneration_, index};
    return index;
  }

  std::uint8_t FindOrAddFormat(const RtfFormat& f) {
    std::vector<RtfFormat>& formats = out_.Formats;
    for (std::size_t i = 0; i < formats.size(); ++i) {
      if (formats[i] == f) return Use(i);
    }
    if (formats.size() < kMaxRtfFormats) {
      formats.push_back(f);
      return Use(formats.size() - 1);
    }
    // A full table makes room in a slot that none of this text uses.
    for (std::size_t i = 0; i < formats.size(); ++i) {
      if (!used_[i]) {
        formats[i] = f;
        reused_ = true;
        return Use(i);
      }
    }
    return NearestFormat(f);
  }

  std::uint8_t Use(std::size_t index) {
    if (!used_[index]) {
      used_[index] = true;
      useOrder_.push_back(static_cast<std::uint8_t>(index));
    }
    return static_cast<std::uint8_t>(index);
  }

  // The closest of the formats this text uses, the first one taken on a tie.
  std::uint8_t NearestFormat(const RtfFormat& f) const {
    std::uint8_t best = 0;
    std::int64_t bestCost = std::numeric_limits<std::int64_t>::max();
    for (std::uint8_t i : useOrder_) {
      const RtfFormat& g = out_.Formats[i];
      std::int64_t cost = 0;
      if (g.Bold != f.Bold) cost += std::int64_t{1} << 40;
      if (g.Italic != f.Italic) cost += std::int64_t{1} << 40;
      if (g.HasColor != f.HasColor) {
        cost += std::int64_t{1} << 20;
      } else {
        const int dr = g.Red - f.Red, dg = g.Green - f.Green, db = g.Blue - f.Blue;
        cost += dr * dr + dg * dg + db * db;
      }
      if (cost < bestCost) {
        bestCost = cost;
        best = i;
      }
    }
    return best;
  }

  struct CacheEntry {
    std::uint32_t Generation = 0;
    std::uint8_t Format = 0;
  };

  const char* begin_;
  const char* p_;
  const char* end_;
  RtfDocument& out_;
  std::string_view known_;
  std::vector<GroupState> stack_;
  bool done_ = false;
  std::size_t size_ = 0;  // bytes of text read so far
  // While the text read is the known text it is compared, not copied; Text
  // holds what follows the first `same_` bytes.
  bool matching_ = true;
  std::size_t same_ = 0;
  // Where FormatOf got values other than it had; changedTo_ 0 while nowhere.
  std::size_t changedFrom_ = 0;
  std::size_t changedTo_ = 0;
  std::pair<std::size_t, std::size_t> changedBeforeParagraphEnd_;
  unsigned pendingSkip_ = 0;
  std::size_t paragraphEnd_ = std::string::npos;

  std::vector<ColorEntry> colorTable_;
  ColorEntry pendingColor_;

  // Format of the current state, resolved lazily when text is written; the
  // cache maps (colour index below 255, bold, italic) to a format index for the
  // current colour table, so a colour switch per token costs no search.
  bool formatValid_ = false;
  std::uint8_t format_ = 0;
  std::uint32_t colorGeneration_ = 1;
  std::array<CacheEntry, 256 * 4> cache_{};

  // The formats this text uses, in the order it takes them.
  std::array<bool, kMaxRtfFormats> used_{};
  std::vector<std::uint8_t> useOrder_;
  bool reused_ = false;
};

}  // namespace

bool LooksLikeRtf(std::string_view data) { return data.substr(0, 5) == "{\\rtf"; }

void ParseRtf(std::string_view rtf, RtfDocument& out, std::string_view known) {
  Reader(rtf, out, known).Run();
}

RtfDocument ParseRtf(std::string_view rtf) {
  RtfDocument doc;
  ParseRtf(rtf, doc);
  return doc;
}

std::string StyleBytes(const RtfDocument& doc, const std::vector<std::uint8_t>& styleOfFormat) {
  std::array<char, 256> map{};
  std::copy_n(styleOfFormat.begin(), std::min<std::size_t>(styleOfFormat.size(), map.size()),
              map.begin());
  std::string out(doc.FormatOf.size(), '\0');
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = map[doc.FormatOf[i]];
  return out;
}
