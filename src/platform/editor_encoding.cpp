// The document's encoding in the editor. The widget holds the document's bytes
// as they are: a UTF-8 document in the widget's UTF-8 mode, a code page 1252
// document in its single-byte mode. That mode draws bytes as Latin-1, which
// is code page 1252 except for 0x80..0x9F: those bytes, and the control
// characters, get a cell of one character's width that the widget leaves
// blank, and their characters are drawn into it here. Positions, styles and
// the highlighters' input stay the document's own bytes in both encodings.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "code_page.h"
#include "code_page_1252.h"
#include "editor_control.h"

namespace {

// The character a typed text would lose: one that the widget's single-byte
// mode turns into "?" or into the wrong byte.
bool NeedsCodePage(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) return true;
  }
  return false;
}

// The first character of a text that code page 1252 does not hold, whole
// (a character beyond U+FFFF is two UTF-16 units).
QString FirstForeign(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    if (u == '?' || cp1252::FromUnicode(u) != '?') continue;
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
    return text.mid(i, pair ? 2 : 1);
  }
  return QString();
}

QColor FromScintilla(long bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace

void TEditorControl::SetEncoding(TTextEncoding encoding) {
  if (encoding == Encoding_) return;
  Encoding_ = encoding;
  ApplyEncoding();
  emit EncodingChanged();
}

void TEditorControl::ApplyEncoding() {
  // The widget's index of characters per line counts UTF-8 text: it is given
  // back before the code page changes, and taken again when an offset is
  // asked for.
  if (CharacterIndex_) {
    SendScintilla(SCI_RELEASELINECHARACTERINDEX,
                  static_cast<unsigned long>(SC_LINECHARACTERINDEX_UTF16));
    CharacterIndex_ = false;
  }
  // Setting the code page resets the widget's representations.
  setUtf8(Encoding_ == TTextEncoding::Utf8);
  if (Encoding_ == TTextEncoding::Utf8) {
    SendScintilla(SCI_SETCONTROLCHARSYMBOL, 0L);
    return;
  }
  // A cell of one blank character's width for each byte drawn here.
  SendScintilla(SCI_SETCONTROLCHARSYMBOL, static_cast<long>(' '));
  for (int b = 0x80; b < 0xA0; ++b) {
    const char key[2] = {static_cast<char>(b), '\0'};
    SendScintilla(SCI_SETREPRESENTATION, reinterpret_cast<uintptr_t>(key), " ");
  }
}

bool TEditorControl::EncodeText(const QString& text, QByteArray* bytes) const {
  if (Encoding_ == TTextEncoding::Utf8) {
    *bytes = text.toUtf8();
    return true;
  }
  if (!FirstForeign(text).isEmpty()) return false;
  *bytes = QByteArray::fromStdString(codepage::FromUnicode(text));
  return true;
}

bool TEditorControl::TakeInput(const QString& text, QByteArray* bytes) {
  if (EncodeText(text, bytes)) return true;
  emit InputRefused(QStringLiteral("\"%1\" cannot be written in Windows-1252, the encoding of "
                                   "this document: not inserted")
                        .arg(FirstForeign(text)));
  return false;
}

QString TEditorControl::ShownText() const {
  const QByteArray bytes = GetText();
  if (Encoding_ == TTextEncoding::Utf8) return QString::fromUtf8(bytes);
  QString shown(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const char16_t painted = encoding::PaintedCharacter(b);
    shown[i] = QChar(painted != 0 ? painted : static_cast<char16_t>(b));
  }
  return shown;
}

void TEditorControl::NeedCharacterIndex() const {
  if (CharacterIndex_) return;
  CharacterIndex_ = true;
  // Built once over the document, then kept up to date by the widget at
  // every change for the cost of a look-up.
  SendScintilla(SCI_ALLOCATELINECHARACTERINDEX,
                static_cast<unsigned long>(SC_LINECHARACTERINDEX_UTF16));
}

int TEditorControl::CharacterOffset(int position) const {
  position = std::clamp(position, 0, Length());
  // In code page 1252 a byte is a character, and each one of one code unit.
  if (Encoding_ != TTextEncoding::Utf8) return position;
  NeedCharacterIndex();
  const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
  const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  return static_cast<int>(
      SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                    static_cast<long>(SC_LINECHARACTERINDEX_UTF16)) +
      SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), position));
}

int TEditorControl::PositionOfCharacter(int offset) const {
  if (offset <= 0) return 0;
  if (Encoding_ != TTextEncoding::Utf8) return std::min(offset, Length());
  offset = std::min(offset, CharacterCount());
  NeedCharacterIndex();
  const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(offset),
                                  static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
  const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  const long within =
      offset - SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                             static_cast<long>(SC_LINECHARACTERINDEX_UTF16));
  return static_cast<int>(
      SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart), within));
}

int TEditorControl::CharacterCount() const { return CharacterOffset(Length()); }

QString TEditorControl::Characters(int from, int to) const {
  from = std::clamp(from, 0, Length());
  to = std::clamp(to, from, Length());
  // Copied out of the widget, which leaves its buffer where it is.
  QByteArray bytes(to - from + 1, Qt::Uninitialized);
  SendScintilla(SCI_GETTEXTRANGE, static_cast<long>(from), static_cast<long>(to), bytes.data());
  bytes.chop(1);
  if (Encoding_ == TTextEncoding::Utf8) return QString::fromUtf8(bytes);
  QString text(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    text[i] = QChar(cp1252::ReadCharacter(static_cast<unsigned char>(bytes[i])));
  }
  return text;
}

bool TEditorControl::TypeText(const QString& text) {
  if (Encoding_ == TTextEncoding::Utf8 || text.isEmpty() || !NeedsCodePage(text)) return false;
  QByteArray bytes;
  if (TakeInput(text, &bytes)) {
    SendScintilla(SCI_REPLACESEL, 0UL, bytes.constData());
  }
  return true;
}

bool TEditorControl::MayPaste(bool selection) {
  const QMimeData* data = QApplication::clipboard()->mimeData(selection ? QClipboard::Selection
                                                                        : QClipboard::Clipboard);
  QByteArray bytes;
  return data == nullptr || TakeInput(data->text(), &bytes);
}

void TEditorControl::paintEvent(QPaintEvent* e) {
  QsciScintilla::paintEvent(e);
  if (Encoding_ == TTextEncoding::Windows1252) PaintCharacters();
}

std::vector<std::pair<long, long>> TEditorControl::ShownRanges() const {
  // Row by row, from the left edge to the right one: a line longer than the
  // view (a minified script is one) is read only where it shows.
  std::vector<std::pair<long, long>> ranges;
  const QRect area = viewport()->rect();
  const int rowHeight = std::max(1, static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, 0UL)));
  const long length = SendScintilla(SCI_GETLENGTH);
  for (int y = rowHeight / 2; y < area.height() + rowHeight; y += rowHeight) {
    const long left = SendScintilla(SCI_POSITIONFROMPOINT, 0UL, static_cast<long>(y));
    const long right =
        SendScintilla(SCI_POSITIONFROMPOINT, static_cast<unsigned long>(area.width()), y);
    // One character more each way: a cell half in the view is drawn too.
    const long from = std::max(0L, left - 1);
    const long to = std::min(length, right + 1);
    if (to <= from) continue;
    if (!ranges.empty() && from <= ranges.back().second) {
      ranges.back().second = std::max(ranges.back().second, to);
    } else {
      ranges.emplace_back(from, to);
    }
  }
  return ranges;
}

void TEditorControl::PaintCharacters() {
  const std::vector<std::pair<long, long>> ranges = ShownRanges();
  if (ranges.empty()) return;
  QPainter painter(viewport());
  const int width = static_cast<int>(
      SendScintilla(SCI_TEXTWIDTH, static_cast<unsigned long>(STYLE_CONTROLCHAR), " "));
  const int height = static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, 0UL));
  const int selections = static_cast<int>(SendScintilla(SCI_GETSELECTIONS));
  auto selected = [this, selections](long pos) {
    for (int n = 0; n < selections; ++n) {
      if (pos >= SendScintilla(SCI_GETSELECTIONNSTART, static_cast<unsigned long>(n)) &&
          pos < SendScintilla(SCI_GETSELECTIONNEND, static_cast<unsigned long>(n))) {
        return true;
      }
    }
    return false;
  };
  QByteArray text;
  for (const auto& [from, to] : ranges) {
    // Copied out of the widget, which leaves its buffer where it is.
    text.resize(static_cast<qsizetype>(to - from + 1));
    SendScintilla(SCI_GETTEXTRANGE, from, to, text.data());
    for (long pos = from; pos < to; ++pos) {
      const char16_t shown = encoding::PaintedCharacter(
          static_cast<unsigned char>(text.at(static_cast<qsizetype>(pos - from))));
      if (shown == 0) continue;
      PaintCharacter(painter, pos, shown, selected, width, height);
    }
  }
}

void TEditorControl::PaintCharacter(QPainter& painter, long pos, char16_t shown,
                                    const std::function<bool(long)>& selected, int width,
                                    int height) {
  const QRect area = viewport()->rect();
  const QPalette pal = palette();
  const int x = static_cast<int>(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, pos));
  const int y = static_cast<int>(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, pos));
  // The cell ends where the next character starts, unless that one starts
  // a wrapped line.
  int right = static_cast<int>(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, pos + 1));
  if (right <= x || SendScintilla(SCI_POINTYFROMPOSITION, 0UL, pos + 1) != y) right = x + width;
  const QRect cell(x, y, right - x, height);
  if (!cell.intersects(area)) return;
  const auto style =
      static_cast<unsigned long>(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
  // The look the widget gives every other character there: the style's
  // font and colours, or the selection's colours.
  char family[256] = {};
  SendScintilla(SCI_STYLEGETFONT, style, family);
  QFont font;
  font.setFamily(QString::fromLatin1(family));
  font.setPointSizeF(static_cast<double>(SendScintilla(SCI_STYLEGETSIZEFRACTIONAL, style)) / 100.0);
  const long weight = SendScintilla(SCI_STYLEGETWEIGHT, style);
  font.setWeight(weight < 0 ? static_cast<QFont::Weight>(-weight)
                            : (weight > SC_WEIGHT_NORMAL ? QFont::Bold : QFont::Normal));
  font.setItalic(SendScintilla(SCI_STYLEGETITALIC, style) != 0);
  const bool inSelection = selected(pos);
  // On the caret's line, the caret line's colour where the widget shows one.
  const bool caretLine =
      SendScintilla(SCI_GETCARETLINEVISIBLE) != 0 &&
      SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos)) ==
          SendScintilla(SCI_LINEFROMPOSITION,
                        static_cast<unsigned long>(SendScintilla(SCI_GETCURRENTPOS)));
  const long back =
      caretLine ? SendScintilla(SCI_GETCARETLINEBACK) : SendScintilla(SCI_STYLEGETBACK, style);
  // The widget's own cell for the byte ends at a fraction of a pixel that
  // the position above rounds down: the column it reaches is covered too.
  painter.fillRect(cell.adjusted(0, 0, 1, 0),
                   inSelection ? pal.color(QPalette::Highlight) : FromScintilla(back));
  painter.setPen(inSelection ? pal.color(QPalette::HighlightedText)
                             : FromScintilla(SendScintilla(SCI_STYLEGETFORE, style)));
  painter.setFont(font);
  const int ascent = static_cast<int>(std::ceil(QFontMetricsF(font).ascent()));
  painter.drawText(QPoint(cell.left(), cell.top() + ascent), QString(QChar(shown)));
}
