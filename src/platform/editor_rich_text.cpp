// Load rich text: the RTF document of a highlighter becomes the editor's text
// and styles. Every keystroke comes through here with the whole document, so
// the common case (same text, new colours) touches neither the text nor the
// undo history, and restyles, in one call, only the bytes whose look changed.
#include <algorithm>
#include <cstring>

#include "editor_control.h"

namespace {

// Style 0 is the editor's default look; 32..39 are Scintilla's own.
constexpr int kFirstPredefinedStyle = 32;
constexpr int kLastPredefinedStyle = 39;
constexpr int kLastStyle = 255;
constexpr std::size_t kFreeStyles =
    (kLastStyle + 1) - (kLastPredefinedStyle - kFirstPredefinedStyle + 1) - 1;
static_assert(kMaxRtfFormats <= kFreeStyles, "every look of one document gets a style");

// Format indexes of ShownFormatOf_ beyond those of a document.
constexpr std::uint8_t kNoFormat = 0xFF;       // inserted since the last load
constexpr std::uint8_t kDefaultFormat = 0xFE;  // not covered by the last load
static_assert(kMaxRtfFormats < kDefaultFormat, "marks are no format index");

// Where two byte arrays first differ (n when they do not), compared a block at
// a time so the common case, a difference near one keystroke, costs little.
std::size_t FirstDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  constexpr std::size_t kBlock = 256;
  std::size_t i = 0;
  while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock) == 0) i += kBlock;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// How many bytes at the ends of two arrays are equal.
std::size_t FirstDifferenceFromEnd(const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  constexpr std::size_t kBlock = 256;
  std::size_t same = 0;
  while (same + kBlock <= n &&
         std::memcmp(a + n - same - kBlock, b + n - same - kBlock, kBlock) == 0) {
    same += kBlock;
  }
  while (same < n && a[n - same - 1] == b[n - same - 1]) ++same;
  return same;
}

bool IsFreeStyle(int style) {
  return style > 0 && (style < kFirstPredefinedStyle || style > kLastPredefinedStyle) &&
         style <= kLastStyle;
}

}  // namespace

void TEditorControl::LoadRichText(std::string_view rtf) { LoadRichText(rtf, Length()); }

void TEditorControl::LoadRichText(std::string_view rtf, int length) {
  RichStreaming_ = true;
  if (!LooksLikeRtf(rtf)) {
    // Rich streaming reads anything that is not RTF as plain text.
    SetTextBytes(QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    return;
  }
  ParseRtf(rtf, RichDoc_);
  ApplyRichText(RichDoc_, length);
}

void TEditorControl::ApplyRichText(RtfDocument& doc, int length) {
  Operation op(*this);
  // The load is a change of the content even when only colours differ.
  Dirty_ = true;
  length = std::clamp(length, 0, Length());
  const std::size_t size = doc.Text.size();
  if (size != static_cast<std::size_t>(length) ||
      std::memcmp(doc.Text.data(), CharacterPointer(), size) != 0) {
    ReplaceChangedText(doc.Text, length);
  }
  const auto total = static_cast<std::size_t>(Length());

  std::uint8_t styleOf[256] = {};
  const bool stylesKept = MapStyles(doc.Formats, styleOf);
  // From here on FormatOf covers the whole content, in the terms of
  // ShownFormatOf_.
  doc.FormatOf.resize(total, kDefaultFormat);
  std::size_t from = 0;
  std::size_t to = total;
  if (stylesKept && ShownValid_ && doc.Formats == ShownFormats_ &&
      ShownFormatOf_.size() == total) {
    from = FirstDifference(doc.FormatOf.data(), ShownFormatOf_.data(), total);
    to = from == total ? total : total - FirstDifferenceFromEnd(doc.FormatOf.data() + from,
                                                                ShownFormatOf_.data() + from,
                                                                total - from);
  }
  if (from < to) {
    std::string styles(to - from, '\0');
    for (std::size_t i = from; i < to; ++i) {
      styles[i - from] = static_cast<char>(styleOf[doc.FormatOf[i]]);
    }
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(from), 0L);
    SendScintilla(SCI_SETSTYLINGEX, static_cast<unsigned long>(styles.size()), styles.data());
  }
  // A copy, not a swap: the reader's buffer is larger than the content.
  ShownFormatOf_.assign(doc.FormatOf.begin(), doc.FormatOf.end());
  ShownFormats_ = doc.Formats;
  ShownValid_ = true;
}

void TEditorControl::TrackModification(int position, int type, int length) {
  if (!ShownValid_ || length <= 0) return;
  const auto at = static_cast<std::size_t>(position);
  if ((type & SC_MOD_INSERTTEXT) != 0 && at <= ShownFormatOf_.size()) {
    ShownFormatOf_.insert(ShownFormatOf_.begin() + position, static_cast<std::size_t>(length),
                          kNoFormat);
  } else if ((type & SC_MOD_DELETETEXT) != 0 && at + length <= ShownFormatOf_.size()) {
    ShownFormatOf_.erase(ShownFormatOf_.begin() + position,
                         ShownFormatOf_.begin() + position + length);
  } else if ((type & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) != 0) {
    ShownValid_ = false;
  }
}

// Replaces only the part of the first `length` bytes that differs from the new
// text, so the caret, the scroll position and the undo history of everything
// around it stay.
void TEditorControl::ReplaceChangedText(std::string_view text, int length) {
  const char* old = CharacterPointer();
  const std::size_t oldSize = static_cast<std::size_t>(length);
  const std::size_t common = std::min(oldSize, text.size());
  std::size_t head = 0;
  while (head < common && old[head] == text[head]) ++head;
  std::size_t tail = 0;
  while (tail < common - head && old[oldSize - 1 - tail] == text[text.size() - 1 - tail]) ++tail;
  const std::string_view replacement = text.substr(head, text.size() - head - tail);
  SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(head),
                static_cast<long>(oldSize - tail));
  SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()),
                replacement.data());
}

bool TEditorControl::MapStyles(const std::vector<RtfFormat>& formats, std::uint8_t* styleOf) {
  auto known = [this](const RtfFormat& f) {
    return f == RtfFormat{} ||
           std::any_of(StyleLooks_.begin(), StyleLooks_.end(),
                       [&f](const auto& entry) { return entry.first == f; });
  };
  const auto fresh = static_cast<std::size_t>(std::count_if(
      formats.begin(), formats.end(), [&known](const RtfFormat& f) { return !known(f); }));
  const bool startOver = StyleLooks_.size() + fresh > kFreeStyles;
  if (startOver) {
    // Every style has a look already: start over. One document brings fewer
    // looks than there are styles, so its own looks always fit.
    StyleLooks_.clear();
  }
  for (std::size_t i = 0; i < formats.size(); ++i) styleOf[i] = StyleFor(formats[i]);
  return !startOver;
}

std::uint8_t TEditorControl::StyleFor(const RtfFormat& format) {
  if (format == RtfFormat{}) return 0;
  for (const auto& [look, style] : StyleLooks_) {
    if (look == format) return style;
  }
  int style = StyleLooks_.empty() ? 0 : StyleLooks_.back().second;
  do {
    ++style;
  } while (style < kLastStyle && !IsFreeStyle(style));
  DefineStyle(style, format);
  StyleLooks_.emplace_back(format, static_cast<std::uint8_t>(style));
  return static_cast<std::uint8_t>(style);
}

void TEditorControl::DefineStyle(int style, const RtfFormat& format) {
  const auto s = static_cast<unsigned long>(style);
  // A colour index the table does not hold shows in the default text colour.
  const long fore = format.HasColor
                        ? static_cast<long>(format.Red | (format.Green << 8) | (format.Blue << 16))
                        : SendScintilla(SCI_STYLEGETFORE, static_cast<unsigned long>(STYLE_DEFAULT));
  SendScintilla(SCI_STYLESETFORE, s, fore);
  SendScintilla(SCI_STYLESETBOLD, s, static_cast<long>(format.Bold));
  SendScintilla(SCI_STYLESETITALIC, s, static_cast<long>(format.Italic));
}
