#include "rtf_reader_state.h"

namespace rtf_reading {

Reader::Reader(std::string_view rtf, RtfDocument& out, std::string_view known)
    : Begin_(rtf.data()), At_(rtf.data()), End_(rtf.data() + rtf.size()), Out_(out), Known_(known) {
  // Both arrays are written in place, grown as text comes and cut to size
  // at the end; a document read into them before leaves them large enough.
  // The known text is what the text will most likely be, and then a little
  // room for what is typed before the next reading.
  Out_.Text.resize(Out_.Text.capacity());
  const std::size_t expected = Known_.empty() ? 0 : Known_.size() + Known_.size() / 64;
  GrowExactly(Out_.FormatOf, Out_.FormatOf.size(),
              std::max({Out_.FormatOf.capacity(), Out_.FormatOf.size(), expected}), kNotAFormat);
  Stack_.reserve(16);
  Stack_.push_back(GroupState{});
}

void Reader::Run() {
  while (At_ < End_ && !Done_) {
    switch (kByteClass[static_cast<unsigned char>(*At_)]) {
      case kText:
        Text();
        break;
      case kLineEnd:
        ++At_;
        break;
      case kOpen:
        ++At_;
        OpenGroup();
        break;
      case kClose:
        ++At_;
        CloseGroup();
        break;
      case kBackslash:
        ++At_;
        Escape();
        break;
    }
  }
  DropClosingParagraphMark();
  if (Matching_) Same_ = Size_;
  Same_ = std::min(Same_, Size_);
  Out_.Text.resize(Size_ - Same_);
  Out_.FormatOf.resize(Size_);
  Out_.KnownBytes = Same_;
  if (Reused_) {
    // A slot now holds another format: values further on that were not
    // compared may mean something else than they did.
    ChangedFrom_ = 0;
    ChangedTo_ = Size_;
  }
  ChangedTo_ = std::min(ChangedTo_, Size_);
  Out_.ChangedFrom = ChangedFrom_ < ChangedTo_ ? ChangedFrom_ : 0;
  Out_.ChangedTo = ChangedFrom_ < ChangedTo_ ? ChangedTo_ : 0;
}

void Reader::OpenGroup() {
  Stack_.push_back(Stack_.back());
  PendingSkip_ = 0;
}

void Reader::CloseGroup() {
  PendingSkip_ = 0;
  if (Stack_.size() == 1) return;  // a stray "}" before any group
  const GroupState closed = Stack_.back();
  Stack_.pop_back();
  // The document ends with its outermost group; anything after it is not RTF.
  if (Stack_.size() == 1) Done_ = true;
  const GroupState& now = Stack_.back();
  if (closed.Color != now.Color || closed.Bold != now.Bold || closed.Italic != now.Italic) {
    FormatValid_ = false;
  }
}

void Reader::Text() {
  if (State().Dest == Destination::Text && PendingSkip_ == 0) {
    // The common case, handled as it is scanned.
    PrepareFormat();
    while (Matching_ ? MatchRun() : CopyRun()) {
    }
    return;
  }
  const char* start = At_;
  while (At_ < End_ && IsTextByte(*At_)) ++At_;
  std::size_t n = static_cast<std::size_t>(At_ - start);
  if (State().Dest == Destination::ColorTable) {
    for (const char* q = start; q < At_; ++q) {
      if (*q == ';') EndColorEntry();
    }
    return;
  }
  const std::size_t skipped = std::min<std::size_t>(n, PendingSkip_);
  PendingSkip_ -= static_cast<unsigned>(skipped);
  Emit(start + skipped, n - skipped);
}

bool Reader::MatchRun() {
  if (Size_ == Out_.FormatOf.size()) ReserveFormats(1);
  const std::size_t room = std::min(Out_.FormatOf.size(), Known_.size()) - Size_;
  const char* p = At_;
  const char* limit = p + std::min(room, static_cast<std::size_t>(End_ - p));
  const char* known = Known_.data() + Size_;
  std::uint8_t* format = Out_.FormatOf.data() + Size_;
  std::uint8_t* const first = format;
  const std::uint8_t f = Format_;
  unsigned changed = 0;
  // The known text and the old formats are read, not only written as a
  // copy would be, and the highlighter has just pushed them out of the
  // cache: asking for them a few runs ahead keeps the loop from waiting.
  constexpr std::size_t kAhead = 384;
  __builtin_prefetch(known + std::min(kAhead, Known_.size() - Size_));
  __builtin_prefetch(format + std::min(kAhead, Out_.FormatOf.size() - Size_), 1);
  while (p < limit && IsTextByte(*p) && *p == *known) {
    changed |= *format ^ f;
    *format++ = f;
    ++p;
    ++known;
  }
  if (changed != 0) NoteChange(first, format);
  Size_ += static_cast<std::size_t>(p - At_);
  At_ = p;
  if (p == End_ || !IsTextByte(*p)) return false;
  if (Size_ == Known_.size() || *p != *known) StopMatching();
  return true;
}

bool Reader::CopyRun() {
  const std::size_t used = Size_ - Same_;
  if (Size_ == Out_.FormatOf.size()) ReserveFormats(1);
  if (used == Out_.Text.size()) ReserveText(1);
  const std::size_t room = std::min(Out_.FormatOf.size() - Size_, Out_.Text.size() - used);
  const char* p = At_;
  const char* limit = p + std::min(room, static_cast<std::size_t>(End_ - p));
  char* text = Out_.Text.data() + used;
  std::uint8_t* format = Out_.FormatOf.data() + Size_;
  std::uint8_t* const first = format;
  const std::uint8_t f = Format_;
  unsigned changed = 0;
  while (p < limit && IsTextByte(*p)) {
    *text++ = *p++;
    changed |= *format ^ f;
    *format++ = f;
  }
  if (changed != 0) NoteChange(first, format);
  Size_ += static_cast<std::size_t>(p - At_);
  At_ = p;
  return p < End_ && IsTextByte(*p);
}

void Reader::NoteChange(const std::uint8_t* from, const std::uint8_t* to) {
  const auto at = static_cast<std::size_t>(from - Out_.FormatOf.data());
  if (ChangedTo_ == 0) ChangedFrom_ = at;
  ChangedTo_ = at + static_cast<std::size_t>(to - from);
}

void Reader::StopMatching() {
  Matching_ = false;
  Same_ = Size_;
}

void Reader::Char(unsigned char c) {
  if (State().Dest != Destination::Text) return;
  if (PendingSkip_ > 0) {
    --PendingSkip_;
    return;
  }
  // Only "\par" and "\line" break lines, however a CR or LF byte is written.
  if (c == '\r' || c == '\n') return;
  const char ch = static_cast<char>(c);
  Emit(&ch, 1);
}

void Reader::Break(bool paragraph) {
  if (State().Dest != Destination::Text) return;
  const std::size_t changedFrom = ChangedFrom_;
  const std::size_t changedTo = ChangedTo_;
  Emit("\r\n", 2);
  if (paragraph) {
    ParagraphEnd_ = Size_;
    ChangedBeforeParagraphEnd_ = {changedFrom, changedTo};
  }
}

void Reader::Emit(const char* data, std::size_t n) {
  if (n == 0) return;
  PrepareFormat();
  for (const char* end = data + n; data < end; ++data) Put(*data);
}

void Reader::Put(char c) {
  if (Matching_ && (Size_ == Known_.size() || Known_[Size_] != c)) StopMatching();
  if (!Matching_) {
    const std::size_t used = Size_ - Same_;
    if (used == Out_.Text.size()) ReserveText(1);
    Out_.Text[used] = c;
  }
  if (Size_ == Out_.FormatOf.size()) ReserveFormats(1);
  std::uint8_t* format = Out_.FormatOf.data() + Size_;
  if (*format != Format_) {
    *format = Format_;
    NoteChange(format, format + 1);
  }
  ++Size_;
}

void Reader::PrepareFormat() {
  if (!FormatValid_) {
    Format_ = ResolveFormat();
    FormatValid_ = true;
  }
}

std::size_t Reader::Grown(std::size_t used, std::size_t current, std::size_t n) const {
  const auto read = static_cast<double>(At_ - Begin_);
  const auto rest = static_cast<std::size_t>(End_ - At_);
  const auto expected =
      read > 0 ? static_cast<std::size_t>(static_cast<double>(rest) * Size_ / read) : rest;
  const std::size_t grown = std::max(used + n + expected + expected / 8, current + current / 2);
  return std::max(current, std::min(grown, used + n + rest));
}

void Reader::ReserveFormats(std::size_t n) {
  // Values beyond the text are still to be compared: all of them stay.
  GrowExactly(Out_.FormatOf, Out_.FormatOf.size(), Grown(Size_, Out_.FormatOf.size(), n),
              kNotAFormat);
}

void Reader::ReserveText(std::size_t n) {
  const std::size_t used = Size_ - Same_;
  GrowExactly(Out_.Text, used, Grown(used, Out_.Text.size(), n), '\0');
}

void Reader::DropClosingParagraphMark() {
  if (ParagraphEnd_ != Size_) return;
  Size_ -= 2;
  // Its bytes lie beyond the text, so what they changed does not count.
  ChangedFrom_ = ChangedBeforeParagraphEnd_.first;
  ChangedTo_ = ChangedBeforeParagraphEnd_.second;
}

void Reader::Escape() {
  if (At_ == End_) return;
  const auto c = static_cast<unsigned char>(*At_);
  if (IsAlpha(c)) {
    // "\cfN " opens nearly every token the highlighters write.
    if (c == 'c' && End_ - At_ > 2 && At_[1] == 'f' &&
        IsDigit(static_cast<unsigned char>(At_[2]))) {
      At_ += 2;
      SetColor(ReadParam());
      return;
    }
    ControlWord(ReadWord());
    return;
  }
  ++At_;
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
      if (PendingSkip_ > 0) --PendingSkip_;
      break;
  }
}

void Reader::LineBreak(bool paragraph) {
  if (PendingSkip_ > 0) {
    --PendingSkip_;
    return;
  }
  Break(paragraph);
}

std::int32_t Reader::ReadParam() {
  constexpr std::int32_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t v = 0;
  while (At_ < End_ && IsDigit(static_cast<unsigned char>(*At_))) {
    if (v <= kLimit) v = v * 10 + (*At_ - '0');
    ++At_;
  }
  if (At_ < End_ && *At_ == ' ') ++At_;
  return static_cast<std::int32_t>(std::min<std::int64_t>(v, kLimit));
}

void Reader::SetColor(std::int32_t index) {
  GroupState& s = State();
  if (index < 0) index = -1;
  if (s.Color != index) FormatValid_ = false;
  s.Color = index;
}

void Reader::SetBold(bool on) {
  if (State().Bold != on) FormatValid_ = false;
  State().Bold = on;
}

void Reader::SetItalic(bool on) {
  if (State().Italic != on) FormatValid_ = false;
  State().Italic = on;
}

}  // namespace rtf_reading

using rtf_reading::Reader;

bool LooksLikeRtf(std::string_view data) { return data.substr(0, 5) == "{\\rtf"; }

void ParseRtf(std::string_view rtf, RtfDocument& out, std::string_view known) {
  Reader(rtf, out, known).Run();
}

RtfDocument ParseRtf(std::string_view rtf) {
  RtfDocument doc;
  ParseRtf(rtf, doc);
  return doc;
}
