// The RTF reader's control words, colour table and format table: everything
// that is not a run of text or the colour switch that opens a token.
#include "code_page_1252.h"
#include "rtf_reader_state.h"

namespace rtf_reading {
namespace {

constexpr int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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

}  // namespace

Word Reader::ReadWord() {
  Word w;
  const char* start = At_;
  while (At_ < End_ && IsAlpha(static_cast<unsigned char>(*At_))) ++At_;
  w.Name = std::string_view(start, static_cast<std::size_t>(At_ - start));
  bool negative = false;
  if (At_ + 1 < End_ && *At_ == '-' && IsDigit(static_cast<unsigned char>(At_[1]))) {
    negative = true;
    ++At_;
  }
  if (At_ < End_ && IsDigit(static_cast<unsigned char>(*At_))) {
    w.HasParam = true;
    w.Param = ReadParam();
    if (negative) w.Param = -w.Param;
  } else if (At_ < End_ && *At_ == ' ') {
    ++At_;
  }
  return w;
}

void Reader::HexChar() {
  int value = 0;
  int digits = 0;
  while (digits < 2 && At_ < End_) {
    const int h = HexValue(static_cast<unsigned char>(*At_));
    if (h < 0) break;
    value = value * 16 + h;
    ++digits;
    ++At_;
  }
  if (digits > 0) Char(static_cast<unsigned char>(value));
}

void Reader::ControlWord(const Word& w) {
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
    ColorTable_.clear();
    PendingColor_ = ColorEntry{};
    ++ColorGeneration_;
    FormatValid_ = false;
  } else if (n == "plain") {
    if (s.Color != -1 || s.Bold || s.Italic) FormatValid_ = false;
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
    const std::size_t left = static_cast<std::size_t>(End_ - At_);
    At_ += std::min<std::size_t>(left, w.HasParam && w.Param > 0 ? w.Param : 0);
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
  } else if (PendingSkip_ > 0) {
    --PendingSkip_;
  }
}

void Reader::Unicode(std::int32_t code) {
  if (PendingSkip_ > 0) {
    --PendingSkip_;
    return;
  }
  Char(cp1252::FromUnicode(static_cast<std::uint32_t>(code < 0 ? code + 65536 : code)));
  PendingSkip_ = State().UnicodeSkip;
}

void Reader::ColorComponent(std::string_view name, std::int32_t value) {
  if (State().Dest != Destination::ColorTable) return;
  const auto v = static_cast<std::uint8_t>(std::clamp<std::int32_t>(value, 0, 255));
  PendingColor_.Present = true;
  if (name == "red") {
    PendingColor_.Red = v;
  } else if (name == "green") {
    PendingColor_.Green = v;
  } else {
    PendingColor_.Blue = v;
  }
}

void Reader::EndColorEntry() {
  ColorTable_.push_back(PendingColor_);
  PendingColor_ = ColorEntry{};
  // The new entry gives meaning to an index that used to mean "default".
  ++ColorGeneration_;
  FormatValid_ = false;
}

void Reader::SkipGroup() {
  std::size_t depth = 1;
  while (At_ < End_) {
    const char c = *At_++;
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) {
        CloseGroup();
        return;
      }
    } else if (c == '\\' && At_ < End_) {
      if (IsAlpha(static_cast<unsigned char>(*At_))) {
        const Word w = ReadWord();
        if (w.Name == "bin" && w.HasParam && w.Param > 0) {
          At_ += std::min<std::size_t>(static_cast<std::size_t>(End_ - At_), w.Param);
        }
      } else {
        ++At_;
      }
    }
  }
}

std::uint8_t Reader::ResolveFormat() {
  const GroupState& s = State();
  RtfFormat f;
  f.Bold = s.Bold;
  f.Italic = s.Italic;
  const bool inTable = s.Color >= 0 && static_cast<std::size_t>(s.Color) < ColorTable_.size();
  const std::int32_t color = inTable ? s.Color : -1;
  const std::size_t slot =
      static_cast<std::size_t>(color + 1) * 4 + (s.Bold ? 2 : 0) + (s.Italic ? 1 : 0);
  const bool cacheable = slot < Cache_.size();
  if (cacheable && Cache_[slot].Generation == ColorGeneration_) return Cache_[slot].Format;
  if (inTable) {
    const ColorEntry& e = ColorTable_[static_cast<std::size_t>(color)];
    f.HasColor = e.Present;
    f.Red = e.Red;
    f.Green = e.Green;
    f.Blue = e.Blue;
  }
  const std::uint8_t index = FindOrAddFormat(f);
  if (cacheable) Cache_[slot] = CacheEntry{ColorGeneration_, index};
  return index;
}

std::uint8_t Reader::FindOrAddFormat(const RtfFormat& f) {
  std::vector<RtfFormat>& formats = Out_.Formats;
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (formats[i] == f) return Use(i);
  }
  if (formats.size() < kMaxRtfFormats) {
    formats.push_back(f);
    return Use(formats.size() - 1);
  }
  // A full table makes room in a slot that none of this text uses.
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (!Used_[i]) {
      formats[i] = f;
      Reused_ = true;
      return Use(i);
    }
  }
  return NearestFormat(f);
}

std::uint8_t Reader::Use(std::size_t index) {
  if (!Used_[index]) {
    Used_[index] = true;
    UseOrder_.push_back(static_cast<std::uint8_t>(index));
  }
  return static_cast<std::uint8_t>(index);
}

std::uint8_t Reader::NearestFormat(const RtfFormat& f) const {
  std::uint8_t best = 0;
  std::int64_t bestCost = std::numeric_limits<std::int64_t>::max();
  for (std::uint8_t i : UseOrder_) {
    const RtfFormat& g = Out_.Formats[i];
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

}  // namespace rtf_reading
