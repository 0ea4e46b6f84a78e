#include "editor_accessible.h"

#include <QAccessibleEvent>
#include <algorithm>

#include "editor_control.h"
#include "text_lines.h"

namespace {

using Sci = QsciScintillaBase;

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("TEditorControl") && object != nullptr && object->isWidgetType()) {
    return new TEditorAccessible(static_cast<TEditorControl*>(object));
  }
  return nullptr;
}

long Send(const TEditorControl& e, unsigned int message, unsigned long w = 0, long l = 0) {
  return e.SendScintilla(message, w, l);
}

QString Rgb(long bgr) {
  return QStringLiteral("rgb(%1,%2,%3)")
      .arg(bgr & 0xFF)
      .arg((bgr >> 8) & 0xFF)
      .arg((bgr >> 16) & 0xFF);
}

}  // namespace

TEditorAccessible::TEditorAccessible(TEditorControl* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText) {}

void TEditorAccessible::Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

TEditorControl& TEditorAccessible::Editor() const {
  return *static_cast<TEditorControl*>(widget());
}

void* TEditorAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) {
    return static_cast<QAccessibleEditableTextInterface*>(this);
  }
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TEditorAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.multiLine = true;
  state.selectableText = true;
  if (Editor().isReadOnly()) {
    state.readOnly = true;
  } else {
    state.editable = true;
  }
  return state;
}

void TEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || selectionCount() == 0) return;
  *startOffset =
      Editor().CharacterOffset(static_cast<int>(Send(Editor(), Sci::SCI_GETSELECTIONSTART)));
  *endOffset = Editor().CharacterOffset(static_cast<int>(Send(Editor(), Sci::SCI_GETSELECTIONEND)));
}

int TEditorAccessible::selectionCount() const {
  return Send(Editor(), Sci::SCI_GETSELECTIONSTART) != Send(Editor(), Sci::SCI_GETSELECTIONEND) ? 1
                                                                                                : 0;
}

void TEditorAccessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

void TEditorAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex != 0) return;
  TEditorControl::Operation op(Editor());
  Editor().SetCaretPosition(static_cast<int>(Send(Editor(), Sci::SCI_GETCURRENTPOS)));
}

void TEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  TEditorControl::Operation op(Editor());
  Send(Editor(), Sci::SCI_SETSEL,
       static_cast<unsigned long>(Editor().PositionOfCharacter(startOffset)),
       Editor().PositionOfCharacter(endOffset));
}

int TEditorAccessible::cursorPosition() const {
  return Editor().CharacterOffset(static_cast<int>(Send(Editor(), Sci::SCI_GETCURRENTPOS)));
}

void TEditorAccessible::setCursorPosition(int position) {
  TEditorControl::Operation op(Editor());
  Editor().SetCaretPosition(Editor().PositionOfCharacter(position));
  Editor().ScrollCaretIntoView();
}

QString TEditorAccessible::text(int startOffset, int endOffset) const {
  if (endOffset < 0) endOffset = characterCount();
  const int from = Editor().PositionOfCharacter(startOffset);
  const int to = Editor().PositionOfCharacter(endOffset);
  return to > from ? Editor().Characters(from, to) : QString();
}

bool TEditorAccessible::Unit(int position, QAccessible::TextBoundaryType type, int* from,
                             int* to) const {
  const TEditorControl& e = Editor();
  const int length = e.Length();
  switch (type) {
    case QAccessible::CharBoundary:
      if (position >= length) return false;
      *from = position;
      *to = static_cast<int>(Send(e, Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(position)));
      return true;
    case QAccessible::WordBoundary: {
      // From the start of the word at or before the position to the start of
      // the next word: the words, each with what follows it, tile the text.
      const auto wordAt = [&e, length](long p) {
        return p < length &&
               Send(e, Sci::SCI_WORDENDPOSITION, static_cast<unsigned long>(p), 1) > p;
      };
      long start = position;
      if (!wordAt(start)) {
        // Back over what is not a word, a run of one kind at a time.
        while (start > 0 && !wordAt(start - 1)) {
          const long before =
              Send(e, Sci::SCI_WORDSTARTPOSITION, static_cast<unsigned long>(start), 0);
          start = before < start ? before : start - 1;
        }
      }
      start = Send(e, Sci::SCI_WORDSTARTPOSITION, static_cast<unsigned long>(start), 1);
      long end = wordAt(start)
                     ? Send(e, Sci::SCI_WORDENDPOSITION, static_cast<unsigned long>(start), 1)
                     : start;
      while (end < length && !wordAt(end)) {
        const long after = Send(e, Sci::SCI_WORDENDPOSITION, static_cast<unsigned long>(end), 0);
        end =
            after > end ? after : Send(e, Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(end));
      }
      if (end <= start) return false;
      *from = static_cast<int>(start);
      *to = static_cast<int>(end);
      return true;
    }
    case QAccessible::SentenceBoundary:
    case QAccessible::ParagraphBoundary:
    case QAccessible::LineBoundary: {
      // A line of source is its own sentence and paragraph; it includes its
      // line end.
      const long line = Send(e, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
      *from =
          static_cast<int>(Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
      const long next = Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1));
      *to = next < 0 ? length : static_cast<int>(next);
      return true;
    }
    case QAccessible::NoBoundary:
      *from = 0;
      *to = length;
      return true;
  }
  return false;
}

QString TEditorAccessible::UnitText(int from, int to, int* startOffset, int* endOffset) const {
  *startOffset = Editor().CharacterOffset(from);
  *endOffset = Editor().CharacterOffset(to);
  return to > from ? Editor().Characters(from, to) : QString();
}

QString TEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = -1;
  if (offset < 0 || offset > characterCount()) return QString();
  int from = 0;
  int to = 0;
  if (!Unit(Editor().PositionOfCharacter(offset), boundaryType, &from, &to)) {
    from = Editor().Length();
  }
  if (from == 0) return QString();
  const int before =
      static_cast<int>(Send(Editor(), Sci::SCI_POSITIONBEFORE, static_cast<unsigned long>(from)));
  if (!Unit(before, boundaryType, &from, &to)) return QString();
  return UnitText(from, to, startOffset, endOffset);
}

QString TEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = -1;
  if (offset < 0 || offset > characterCount()) return QString();
  int from = 0;
  int to = 0;
  if (!Unit(Editor().PositionOfCharacter(offset), boundaryType, &from, &to) ||
      to >= Editor().Length() || !Unit(to, boundaryType, &from, &to)) {
    return QString();
  }
  return UnitText(from, to, startOffset, endOffset);
}

QString TEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = -1;
  if (offset < 0 || offset > characterCount()) return QString();
  int from = 0;
  int to = 0;
  const int position = Editor().PositionOfCharacter(offset);
  if (!Unit(position, boundaryType, &from, &to)) {
    // At the end of the text there is no character, but there is a line.
    if (boundaryType == QAccessible::CharBoundary || position == 0) return QString();
    if (!Unit(static_cast<int>(
                  Send(Editor(), Sci::SCI_POSITIONBEFORE, static_cast<unsigned long>(position))),
              boundaryType, &from, &to)) {
      return QString();
    }
  }
  return UnitText(from, to, startOffset, endOffset);
}

int TEditorAccessible::characterCount() const { return Editor().CharacterCount(); }

QRect TEditorAccessible::characterRect(int offset) const {
  const TEditorControl& e = Editor();
  const auto position = static_cast<long>(e.PositionOfCharacter(offset));
  const int x = static_cast<int>(Send(e, Sci::SCI_POINTXFROMPOSITION, 0, position));
  const int y = static_cast<int>(Send(e, Sci::SCI_POINTYFROMPOSITION, 0, position));
  const long next = Send(e, Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(position));
  int right = static_cast<int>(Send(e, Sci::SCI_POINTXFROMPOSITION, 0, next));
  if (right <= x || Send(e, Sci::SCI_POINTYFROMPOSITION, 0, next) != y) {
    right = x + static_cast<int>(
                    Send(e, Sci::SCI_TEXTWIDTH, Sci::STYLE_DEFAULT, reinterpret_cast<long>(" ")));
  }
  const int line =
      static_cast<int>(Send(e, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
  const int height =
      static_cast<int>(Send(e, Sci::SCI_TEXTHEIGHT, static_cast<unsigned long>(line)));
  return QRect(e.viewport()->mapToGlobal(QPoint(x, y)), QSize(right - x, height));
}

int TEditorAccessible::offsetAtPoint(const QPoint& point) const {
  const QPoint p = Editor().viewport()->mapFromGlobal(point);
  const long position =
      Send(Editor(), Sci::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(p.x()), p.y());
  return position < 0 ? -1 : Editor().CharacterOffset(static_cast<int>(position));
}

void TEditorAccessible::scrollToSubstring(int startIndex, int endIndex) {
  Send(Editor(), Sci::SCI_SCROLLRANGE,
       static_cast<unsigned long>(Editor().PositionOfCharacter(endIndex)),
       Editor().PositionOfCharacter(startIndex));
}

QString TEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  // The look of the one character at the offset: looking for the ends of its
  // run would cost as much as the run is long.
  const TEditorControl& e = Editor();
  const int count = characterCount();
  if (offset < 0 || offset >= count) {
    *startOffset = *endOffset = std::clamp(offset, 0, count);
    return QString();
  }
  const int position = e.PositionOfCharacter(offset);
  *startOffset = offset;
  *endOffset = e.CharacterOffset(
      static_cast<int>(Send(e, Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(position))));
  const auto style = static_cast<unsigned long>(
      Send(e, Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(position)) & 0xFF);
  QString attributes;
  attributes += QStringLiteral("color:") + Rgb(Send(e, Sci::SCI_STYLEGETFORE, style)) + ';';
  attributes +=
      QStringLiteral("background-color:") + Rgb(Send(e, Sci::SCI_STYLEGETBACK, style)) + ';';
  attributes += QStringLiteral("font-weight:") +
                (Send(e, Sci::SCI_STYLEGETBOLD, style) != 0 ? QStringLiteral("bold")
                                                            : QStringLiteral("normal")) +
                ';';
  attributes += QStringLiteral("font-style:") +
                (Send(e, Sci::SCI_STYLEGETITALIC, style) != 0 ? QStringLiteral("italic")
                                                              : QStringLiteral("normal")) +
                ';';
  return attributes;
}

void TEditorAccessible::Replace(int from, int to, const QString& text) {
  TEditorControl& e = Editor();
  QByteArray bytes;
  if (!e.TakeInput(text, &bytes)) return;
  const std::string lines = textlines::ToCrLf(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  TEditorControl::Operation op(e);
  Send(e, Sci::SCI_BEGINUNDOACTION);
  Send(e, Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
  e.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(lines.size()), lines.data());
  Send(e, Sci::SCI_ENDUNDOACTION);
}

void TEditorAccessible::deleteText(int startOffset, int endOffset) {
  replaceText(startOffset, endOffset, QString());
}

void TEditorAccessible::insertText(int offset, const QString& text) {
  replaceText(offset, offset, text);
}

void TEditorAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  if (Editor().isReadOnly()) return;
  const int from = Editor().PositionOfCharacter(std::min(startOffset, endOffset));
  const int to = Editor().PositionOfCharacter(std::max(startOffset, endOffset));
  Replace(from, to, text);
}

namespace editor_accessible {

void Inserted(TEditorControl& editor, int offset, const QString& text) {
  QAccessibleTextInsertEvent event(&editor, offset, text);
  QAccessible::updateAccessibility(&event);
}

void Removed(TEditorControl& editor, int offset, const QString& text) {
  QAccessibleTextRemoveEvent event(&editor, offset, text);
  QAccessible::updateAccessibility(&event);
}

void Moved(TEditorControl& editor, int anchor, int caret, bool wasSelection) {
  if (!QAccessible::isActive()) return;
  const int caretOffset = editor.CharacterOffset(caret);
  if (anchor != caret || wasSelection) {
    const int anchorOffset = editor.CharacterOffset(anchor);
    QAccessibleTextSelectionEvent selection(
        &editor, anchor == caret ? -1 : std::min(anchorOffset, caretOffset),
        anchor == caret ? -1 : std::max(anchorOffset, caretOffset));
    selection.setCursorPosition(caretOffset);
    QAccessible::updateAccessibility(&selection);
  }
  QAccessibleTextCursorEvent event(&editor, caretOffset);
  QAccessible::updateAccessibility(&event);
}

}  // namespace editor_accessible
