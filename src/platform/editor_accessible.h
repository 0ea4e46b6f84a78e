// What screen readers and other assistive programs see of the document editor:
// its text as the characters the page holds (a code page 1252 document's bytes
// as that page's characters), the caret and the selection, and every insert,
// removal and caret move as it happens. Offsets are Qt's (UTF-16 code units
// from the start of the document) and cost the same at any document size: the
// byte position itself in a code page 1252 document, a look-up in the widget's
// index of line starts in a UTF-8 one. Nothing here runs per keystroke unless
// an assistive program is listening.
#pragma once

#include <QAccessibleWidget>

class TEditorControl;

class TEditorAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
 public:
  explicit TEditorAccessible(TEditorControl* editor);

  // Makes this the interface of every TEditorControl. Qt asks for an object's
  // interface by its own class name before its base classes' names, so this
  // one is found before the one QScintilla installs for its base class, whose
  // notices count characters from the document's start at every key.
  static void Install();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::State state() const override;

  // QAccessibleTextInterface
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // QAccessibleEditableTextInterface: changes go through the editor as typed
  // text does, one operation and one undo step each.
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  TEditorControl& Editor() const;
  // The byte range of the text unit around a byte position; false where
  // there is none (past the last line, or a word before the first).
  bool Unit(int position, QAccessible::TextBoundaryType type, int* from, int* to) const;
  // The unit's characters, with its offsets.
  QString UnitText(int from, int to, int* startOffset, int* endOffset) const;
  // Replaces the bytes from..to with the text as one change.
  void Replace(int from, int to, const QString& text);
};

// What the editor tells assistive programs of its changes, once they are
// made; the editor calls these only while one is listening
// (QAccessible::isActive()), and finds the offsets and texts only then.
namespace editor_accessible {

void Inserted(TEditorControl& editor, int offset, const QString& text);
void Removed(TEditorControl& editor, int offset, const QString& text);
// The caret or the selection moved to the bytes anchor..caret; a selection
// that there was before and is gone now is reported gone.
void Moved(TEditorControl& editor, int anchor, int caret, bool wasSelection);

}  // namespace editor_accessible
