// Load rich text: the RTF document of a highlighter becomes the editor's text
// and styles. Every keystroke comes through here with the whole document, so
// the common case (same text, new colours) touches neither the text nor the
// undo history, and restyles only the bytes whose look changed. What it keeps
// between loads is one byte per byte of the content: the record of the looks
// shown, which the reader writes the next document's formats over.
#include <algorithm>
#include <cstring>
#include <memory>

#include "editor_control.h"
#include "highlighter_factory.h"
#include "look_refresh.h"

namespace {

// Style 0 is the editor's default look; 32..39 are Scintilla's own.
constexpr int kFirstPredefinedStyle = 32;
constexpr int kLastPredefinedStyle = 39;
constexpr int kLastStyle = 255;
constexpr std::size_t kFreeStyles =
    (kLastStyle + 1) - (kLastPredefinedStyle - kFirstPredefinedStyle + 1) - 1;
static_assert(kMaxRtfFormats <= kFreeStyles, "every look of one document gets a style");

// Values of the shown-format record beyond a document's format indexes.
constexpr std::uint8_t kNoFormat = 0xFF;       // inserted since the last load
constexpr std::uint8_t kDefaultFormat = 0xFE;  // not covered by the last load
static_assert(kMaxRtfFormats < kDefaultFormat, "marks are no format index");

// Styles are handed to the editor a block at a time, so restyling the whole
// document needs no second copy of it.
constexpr std::size_t kStyleBlock = 64 * 1024;

bool IsFreeStyle(int style) {
  return style > 0 && (style < kFirstPredefinedStyle || style > kLastPredefinedStyle) &&
         style <= kLastStyle;
}

// Room for `size` values and a little more, so that typing seldom grows the
// record and never to twice the document, as a vector's own growth would. A
// record far larger than its document (a big one was replaced by a small
// one) gives the rest back; copying what is left then costs little.
void MakeRoom(std::vector<std::uint8_t>& record, std::size_t size) {
  const std::size_t room = size + size / 64 + 4096;
  if (size > record.capacity()) {
    record.reserve(room);
  } else if (record.capacity() / 4 > room) {
    std::vector<std::uint8_t> fitted;
    fitted.reserve(room);
    fitted.assign(record.begin(), record.end());
    record.swap(fitted);
  }
}

}  // namespace

std::size_t TEditorControl::ExpectedRtfSize(std::size_t textSize) const {
  if (LastTextSize_ == 0) return 0;
  const auto expected = static_cast<std::size_t>(static_cast<double>(LastRtfSize_) * textSize /
                                                 static_cast<double>(LastTextSize_));
  return expected + expected / 8;
}

void TEditorControl::ConvertWholeDocument(TqorRTFSyntax& highlighter) {
  const char* text = CharacterPointer();
  const int covered = static_cast<int>(strnlen(text, static_cast<std::size_t>(Length())));
  highlighter.RecordLines(LineRecord_);
  highlighter.SetText(text);
  auto stream = std::make_unique<TMemoryStream>();
  stream->Data().reserve(ExpectedRtfSize(static_cast<std::size_t>(covered)));
  highlighter.ConvertToRtf(*stream);
  LastTextSize_ = static_cast<std::size_t>(covered);
  LastRtfSize_ = stream->Data().size();
  stream->Position = 0;
  LoadRichText(stream->Data(), covered);
}

void TEditorControl::LoadRichText(std::string_view rtf) { LoadRichText(rtf, Length()); }

void TEditorControl::LoadRichText(std::string_view rtf, int length) {
  if (!LooksLikeRtf(rtf)) {
    // Rich streaming reads anything that is not RTF as plain text.
    SetTextBytes(QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    return;
  }
  ReadRichText(rtf, length);
  ApplyRichText();
}

void TEditorControl::ReadRichText(std::string_view rtf, int length) {
  length = std::clamp(length, 0, Length());
  const auto total = static_cast<std::size_t>(Length());
  // The reader writes the record as a whole.
  Looks_.Close();
  const std::vector<std::uint8_t>& shown = RichDoc_.FormatOf;
  if (shown.size() != total) ShownValid_ = false;
  // The bytes after `length` will show the default style; those that show
  // another now are restyled. The reader writes over the record, so they are
  // looked at first.
  TailFrom_ = TailTo_ = 0;
  if (ShownValid_) {
    for (auto i = static_cast<std::size_t>(length); i < total; ++i) {
      if (shown[i] == kDefaultFormat) continue;
      if (TailTo_ == 0) TailFrom_ = i;
      TailTo_ = i + 1;
    }
  }
  ReadLength_ = length;
  ParseRtf(rtf, RichDoc_, std::string_view(CharacterPointer(), static_cast<std::size_t>(length)));
}

void TEditorControl::ApplyRichText() {
  Operation op(*this);
  // The load is a change of the content even when only colours differ
  // (unless it only finishes colours a refresh left for later).
  if (!QuietLoad_) Dirty_ = true;
  // This load colours everything: nothing is left for later.
  Unfinished_ = false;
  RtfDocument& doc = RichDoc_;
  std::vector<std::uint8_t>& shown = doc.FormatOf;
  const auto length = static_cast<std::size_t>(ReadLength_);
  bool restyleAll = !ShownValid_;
  std::size_t from = doc.ChangedTo > 0 ? doc.ChangedFrom : doc.Size();
  std::size_t to = doc.ChangedTo;
  if (TailTo_ > 0) {
    from = std::min(from, TailFrom_);
    to = std::max(to, TailTo_);
  }
  if (StaleTo_ > 0) {
    from = std::min(from, StaleFrom_);
    to = std::max(to, StaleTo_);
    StaleFrom_ = StaleTo_ = 0;
  }
  if (doc.Size() != length || !doc.Text.empty()) {
    // The record already describes the new text: the replacement must not
    // shift it. Bytes before the first difference keep their place; every
    // byte from there on is restyled.
    ShownValid_ = false;
    ReplaceChangedText(doc.KnownBytes, doc.Text, ReadLength_);
    from = std::min(from, doc.KnownBytes);
    to = static_cast<std::size_t>(Length());
    // The text is only needed while it differs, which is rare: it is not kept.
    std::string().swap(doc.Text);
    // The conversion read the text otherwise than it stood, so its line
    // starts are not those of the text now shown.
    LineRecord_.Invalidate();
  }
  const auto total = static_cast<std::size_t>(Length());
  MakeRoom(shown, total);
  shown.resize(total, kDefaultFormat);

  // Bytes after a NUL are not converted: nothing safe is known about them.
  if (length < total) LineRecord_.Invalidate();
  Restyle(from, to, restyleAll);
  Changed_ = false;
}

void TEditorControl::Restyle(std::size_t from, std::size_t to, bool all) {
  std::uint8_t styleOf[256] = {};
  if (!MapStyles(RichDoc_.Formats, styleOf)) all = true;
  if (all) {
    from = 0;
    to = Looks_.Size();
  }
  std::string styles;
  for (std::size_t at = from; at < to; at += styles.size()) {
    styles.resize(std::min(kStyleBlock, to - at));
    for (std::size_t i = 0; i < styles.size(); ++i) {
      styles[i] = static_cast<char>(styleOf[Looks_.At(at + i)]);
    }
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(at), 0L);
    SendScintilla(SCI_SETSTYLINGEX, static_cast<unsigned long>(styles.size()), styles.data());
  }
  ShownValid_ = true;
}

namespace {

// The document as the rescan reads it, straight from the editor: a piece is
// copied from where it lies, which moves Scintilla's gap only when the piece
// spans it, and then by no more than the piece.
class TEditorText final : public TDocumentText {
 public:
  explicit TEditorText(TEditorControl& editor) : Editor_(editor) {}
  std::size_t Length() const override { return Send(QsciScintillaBase::SCI_GETLENGTH); }
  std::size_t LineCount() const override { return Send(QsciScintillaBase::SCI_GETLINECOUNT); }
  std::size_t LineStart(std::size_t line) const override {
    return Send(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
  }
  std::size_t LineOf(std::size_t position) const override {
    return Send(QsciScintillaBase::SCI_LINEFROMPOSITION, position);
  }
  void Copy(std::size_t from, std::size_t count, char* to) const override {
    if (count == 0) return;
    const auto* bytes = reinterpret_cast<const char*>(
        Editor_.SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER,
                              static_cast<unsigned long>(from), static_cast<long>(count)));
    std::memcpy(to, bytes, count);
  }

 private:
  std::size_t Send(unsigned int message, std::size_t value = 0) const {
    return static_cast<std::size_t>(
        Editor_.SendScintilla(message, static_cast<unsigned long>(value), 0L));
  }
  TEditorControl& Editor_;
};

}  // namespace

bool TEditorControl::RecolourChanges(TqorRTFSyntax& highlighter) {
  LastRescan_ = TRescanResult{};
  if (!InStep()) return false;
  if (Changed_) {
    // The view first; what lies beyond it waits for idle time.
    if (!Rescan(highlighter, std::max(VisibleEnd(), Change_.From) + kFirstColourSlice)) {
      return false;
    }
    Operation op(*this);
    // A refresh is a change of the content even when only colours differ.
    Dirty_ = true;
    return true;
  }
  LastRescan_.Done = true;
  Operation op(*this);
  Dirty_ = true;
  return true;
}

void TEditorControl::ColourWholeDocument(TqorRTFSyntax& highlighter) {
  if (!ColourFromStart(highlighter)) ConvertWholeDocument(highlighter);
}

bool TEditorControl::ColourFromStart(TqorRTFSyntax& highlighter) {
  const auto total = static_cast<std::size_t>(Length());
  if (!ScansAsConverted(std::string_view(CharacterPointer(), total))) return false;
  const TEditorText text(*this);
  TTextChange all;
  if (!BeginUnscanned(highlighter, text, LineRecord_, all)) return false;
  LastRescan_ = TRescanResult{};
  // The record stands for what the widget shows: the looks it shows now, or
  // none on new text. The scan writes the new ones over it.
  Looks_.Close();
  std::vector<std::uint8_t>& shown = RichDoc_.FormatOf;
  if (!ShownValid_ || shown.size() != total) {
    MakeRoom(shown, total);
    shown.assign(total, kDefaultFormat);
  }
  std::string().swap(RichDoc_.Text);
  ShownValid_ = true;
  Change_ = all;
  Changed_ = true;
  if (!Rescan(highlighter, VisibleEnd() + kFirstColourSlice)) return false;
  Operation op(*this);
  // A load of colours is a change of the content, as LoadRichText reports it.
  Dirty_ = true;
  return true;
}

bool TEditorControl::KeepColoursOf(const TqorRTFSyntax& highlighter) {
  LastRescan_ = TRescanResult{};
  // Colours this class left for idle time count as its colours: the slices
  // go on with them.
  if (!InStep() || (Changed_ && !Unfinished_) || LineRecord_.ScannerClass() == nullptr ||
      *LineRecord_.ScannerClass() != typeid(highlighter)) {
    return false;
  }
  LastRescan_.Done = true;
  Operation op(*this);
  Dirty_ = true;
  return true;
}

bool TEditorControl::InStep() const {
  return ShownValid_ && Looks_.Size() == static_cast<std::size_t>(Length()) && LineRecord_.Valid();
}

bool TEditorControl::Rescan(TqorRTFSyntax& highlighter, std::size_t pauseAfter) {
  const TEditorText text(*this);
  // The scan writes the record from its first line on: the gap goes there,
  // which moves the record only by the bytes between it and the last change.
  Looks_.MoveGap(RescanFrom(text, Change_));
  LastRescan_ = RescanIntoLooks(highlighter, text, Change_, LineRecord_, RichDoc_.Formats,
                                Looks_.FromGap(), Looks_.Size(), pauseAfter);
  const TRescanResult& result = LastRescan_;
  if (!result.Done) {
    if (result.ChangedTo > 0) {
      StaleFrom_ = StaleTo_ > 0 ? std::min(StaleFrom_, result.ChangedFrom) : result.ChangedFrom;
      StaleTo_ = std::max(StaleTo_, result.ChangedTo);
    }
    Unfinished_ = false;
    return false;
  }
  Unfinished_ = result.Paused;
  if (result.Paused) {
    Change_ = Remaining(result, text.Length());
    Finisher_->start();
  } else {
    Changed_ = false;
  }
  Restyle(result.ChangedTo > 0 ? result.ChangedFrom : 0, result.ChangedTo, false);
  return true;
}

std::size_t TEditorControl::VisibleEnd() const {
  const long lastShown = SendScintilla(SCI_GETFIRSTVISIBLELINE) + SendScintilla(SCI_LINESONSCREEN);
  const long line = SendScintilla(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(lastShown));
  return static_cast<std::size_t>(
      SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line)));
}

void TEditorControl::ColourSlice(std::size_t bytes) {
  if (!Unfinished_) return;
  if (!InStep() || !Changed_) {
    Unfinished_ = false;
    return;
  }
  std::unique_ptr<TqorRTFSyntax> highlighter =
      CreateHighlighterOfClass(*LineRecord_.ScannerClass());
  const std::size_t pauseAfter = bytes == kNoPause ? kNoPause : Change_.From + bytes;
  if (highlighter != nullptr && Rescan(*highlighter, pauseAfter)) return;
  // What is left cannot be followed line by line: the whole document is
  // converted, as a refresh does then; only its colours are news.
  highlighter = CreateHighlighterOfClass(*LineRecord_.ScannerClass());
  if (highlighter == nullptr) return;
  QuietLoad_ = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{QuietLoad_};
  ConvertWholeDocument(*highlighter);
}

bool TEditorControl::StylesPending() const { return Unfinished_; }

void TEditorControl::SettleStyles() {
  while (Unfinished_) ColourSlice(kNoPause);
}

void TEditorControl::TrackModification(const TTextModification& m) {
  // Heard before the change is made: the bytes behind it are the same after
  // it, counted from the end.
  const bool insert = m.Kind == TTextModification::TKind::Insert;
  const auto at = static_cast<std::size_t>(m.Position);
  const auto n = static_cast<std::size_t>(m.Length);
  const auto total = static_cast<std::size_t>(Length());
  const std::size_t end = insert ? at : at + n;
  const std::size_t tail = total >= end ? total - end : 0;
  Change_.From = Changed_ ? std::min(Change_.From, at) : at;
  Change_.Tail = Changed_ ? std::min(Change_.Tail, tail) : tail;
  Changed_ = true;
  if (!ShownValid_) return;
  if (insert && at <= Looks_.Size()) {
    Looks_.Insert(at, n, kNoFormat);
  } else if (!insert && at + n <= Looks_.Size()) {
    Looks_.Erase(at, n);
  } else {
    ShownValid_ = false;
  }
}

// Replaces only the part of the first `length` bytes that differs from the new
// text, so the caret, the scroll position and the undo history of everything
// around it stay. The new text is the old one up to `same`, then `rest`.
void TEditorControl::ReplaceChangedText(std::size_t same, std::string_view rest, int length) {
  const char* old = CharacterPointer();
  const auto oldSize = static_cast<std::size_t>(length);
  const std::size_t common = std::min(oldSize - same, rest.size());
  std::size_t tail = 0;
  while (tail < common && old[oldSize - 1 - tail] == rest[rest.size() - 1 - tail]) ++tail;
  const std::string_view replacement = rest.substr(0, rest.size() - tail);
  SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(same),
                static_cast<long>(oldSize - tail));
  SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()),
                replacement.data());
}

bool TEditorControl::MapStyles(const std::vector<RtfFormat>& formats, std::uint8_t* styleOf) {
  auto known = [this](const RtfFormat& f) {
    return f == RtfFormat{} || std::any_of(StyleLooks_.begin(), StyleLooks_.end(),
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
  const long fore =
      format.HasColor ? static_cast<long>(format.Red | (format.Green << 8) | (format.Blue << 16))
                      : SendScintilla(SCI_STYLEGETFORE, static_cast<unsigned long>(STYLE_DEFAULT));
  SendScintilla(SCI_STYLESETFORE, s, fore);
  SendScintilla(SCI_STYLESETBOLD, s, static_cast<long>(format.Bold));
  SendScintilla(SCI_STYLESETITALIC, s, static_cast<long>(format.Italic));
}
