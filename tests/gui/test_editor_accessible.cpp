// What assistive programs get from the document editor: its own accessible
// interface, the characters a code page 1252 page holds, offsets in UTF-8
// documents, text units, the caret and the selection, changes made through
// the interface, and the events of typing while a program listens.
#include <QAccessible>
#include <QClipboard>
#include <QSignalSpy>

#include "editor_accessible.h"
#include "editor_control.h"
#include "gui_test_support.h"

namespace {

QAccessibleInterface* Accessible(TEditorControl& editor) {
  return QAccessible::queryAccessibleInterface(&editor);
}

QAccessibleTextInterface* Text(TEditorControl& editor) {
  return Accessible(editor)->textInterface();
}

// The events the editor raised, as "insert 3 x", "remove 0 ab", "caret 4" or
// "selection 1 3".
QStringList gEvents;

void Record(QAccessibleEvent* event) {
  switch (event->type()) {
    case QAccessible::TextInserted: {
      auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
      gEvents << QStringLiteral("insert %1 %2").arg(e->changePosition()).arg(e->textInserted());
      break;
    }
    case QAccessible::TextRemoved: {
      auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
      gEvents << QStringLiteral("remove %1 %2").arg(e->changePosition()).arg(e->textRemoved());
      break;
    }
    case QAccessible::TextSelectionChanged: {
      auto* e = static_cast<QAccessibleTextSelectionEvent*>(event);
      gEvents << QStringLiteral("selection %1 %2").arg(e->selectionStart()).arg(e->selectionEnd());
      break;
    }
    case QAccessible::TextCaretMoved:
      gEvents << QStringLiteral("caret %1")
                     .arg(static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition());
      break;
    default:
      break;
  }
}

// A UTF-8 document of two lines: an accent (two bytes), a CJK character
// (three) and an emoji (four bytes, two UTF-16 code units).
const QByteArray kUtf8 =
    "a\xc3\xa9"
    "b\r\n\xe6\x97\xa5\xf0\x9f\x98\x80z";

}  // namespace

class TestEditorAccessible : public QObject {
  Q_OBJECT

 private slots:
  void theEditorHasItsOwnInterface() {
    TEditorControl editor;
    QAccessibleInterface* accessible = Accessible(editor);
    QVERIFY(dynamic_cast<TEditorAccessible*>(accessible) != nullptr);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->textInterface() != nullptr);
    QVERIFY(accessible->editableTextInterface() != nullptr);
    QVERIFY(accessible->state().editable);
    QVERIFY(accessible->state().multiLine);
  }

  void codePage1252BytesAreThePagesCharacters() {
    TEditorControl editor;
    const struct {
      char Byte;
      char16_t Read;
    } kCases[] = {
        {'\x80', u'\u20ac'}, {'\x81', u'\ufffd'}, {'\x8d', u'\ufffd'}, {'\x8f', u'\ufffd'},
        {'\x90', u'\ufffd'}, {'\x9d', u'\ufffd'}, {'\x93', u'\u201c'}, {'\x94', u'\u201d'},
        {'\x99', u'\u2122'}, {'\x9f', u'\u0178'}, {'\xa0', u'\u00a0'}, {'\xe9', u'\u00e9'},
        {'\xff', u'\u00ff'}, {'\x01', u'\u0001'}, {'\t', u'\t'},       {'a', u'a'}};
    for (const auto& c : kCases) {
      editor.SetTextBytes(QByteArray("x") + c.Byte + "y");
      QCOMPARE(editor.Encoding(), TTextEncoding::Windows1252);
      QCOMPARE(Text(editor)->characterCount(), 3);
      QCOMPARE(Text(editor)->text(1, 2), QString(QChar(c.Read)));
      QCOMPARE(Text(editor)->text(0, -1), QString(QChar('x')) + QChar(c.Read) + QChar('y'));
    }
  }

  void offsetsOfAUtf8Document() {
    TEditorControl editor;
    editor.SetTextBytes(kUtf8);
    QCOMPARE(editor.Encoding(), TTextEncoding::Utf8);
    // Byte positions at character starts and their UTF-16 offsets.
    const std::pair<int, int> kStarts[] = {{0, 0}, {1, 1}, {3, 2},  {4, 3},
                                           {6, 5}, {9, 6}, {13, 8}, {14, 9}};
    for (const auto& [position, offset] : kStarts) {
      QCOMPARE(editor.CharacterOffset(position), offset);
      QCOMPARE(editor.PositionOfCharacter(offset), position);
    }
    QCOMPARE(Text(editor)->characterCount(), 9);
    QCOMPARE(Text(editor)->text(0, -1), QString::fromUtf8(kUtf8));
    QCOMPARE(Text(editor)->text(5, 8), QString::fromUtf8("\xe6\x97\xa5\xf0\x9f\x98\x80"));
    // Out of range is brought into range.
    QCOMPARE(editor.PositionOfCharacter(100), editor.Length());
    QCOMPARE(editor.CharacterOffset(-4), 0);

    // The index follows edits, and a change of encoding.
    editor.SetCaretPosition(6);
    TypeCharacters(&editor, QString::fromUtf8("\xc3\xbc"));
    QCOMPARE(editor.CharacterOffset(8), 6);
    QCOMPARE(editor.CharacterOffset(editor.Length()), 10);
    editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 0UL, 3L);
    QCOMPARE(editor.CharacterOffset(editor.Length()), 8);
    editor.SetTextBytes("plain \x80");
    QCOMPARE(editor.CharacterOffset(7), 7);
    QCOMPARE(Text(editor)->text(6, 7), QString(QChar(0x20ac)));
    editor.SetTextBytes(kUtf8);
    QCOMPARE(editor.CharacterOffset(13), 8);
    QCOMPARE(editor.PositionOfCharacter(6), 9);
  }

  void caretAndSelection() {
    TEditorControl editor;
    editor.SetTextBytes(kUtf8);
    QAccessibleTextInterface* text = Text(editor);
    editor.SetCaretPosition(9);
    QCOMPARE(text->cursorPosition(), 6);
    QCOMPARE(text->selectionCount(), 0);
    text->setCursorPosition(8);
    QCOMPARE(editor.CaretPosition(), 13);
    text->setSelection(0, 1, 3);
    QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART), 1L);
    QCOMPARE(editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND), 4L);
    int start = -1;
    int end = -1;
    QCOMPARE(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    QCOMPARE(start, 1);
    QCOMPARE(end, 3);
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);
  }

  void textUnits() {
    TEditorControl editor;
    editor.SetTextBytes("one two\r\nthree, four");
    const struct {
      const char* Which;  // "at", "before" or "after"
      int Offset;
      QAccessible::TextBoundaryType Type;
      QString Text;
      int Start;
      int End;
    } kCases[] = {
        {"at", 0, QAccessible::CharBoundary, "o", 0, 1},
        {"after", 0, QAccessible::CharBoundary, "n", 1, 2},
        {"before", 0, QAccessible::CharBoundary, "", -1, -1},
        {"at", 1, QAccessible::WordBoundary, "one ", 0, 4},
        {"at", 3, QAccessible::WordBoundary, "one ", 0, 4},
        {"at", 4, QAccessible::WordBoundary, "two\r\n", 4, 9},
        {"before", 4, QAccessible::WordBoundary, "one ", 0, 4},
        {"after", 4, QAccessible::WordBoundary, "three, ", 9, 16},
        {"at", 2, QAccessible::LineBoundary, "one two\r\n", 0, 9},
        {"at", 12, QAccessible::LineBoundary, "three, four", 9, 20},
        {"at", 20, QAccessible::LineBoundary, "three, four", 9, 20},
        {"before", 12, QAccessible::LineBoundary, "one two\r\n", 0, 9},
        {"after", 0, QAccessible::LineBoundary, "three, four", 9, 20},
        {"after", 12, QAccessible::LineBoundary, "", -1, -1},
        {"at", 5, QAccessible::NoBoundary, "one two\r\nthree, four", 0, 20},
    };
    for (const auto& c : kCases) {
      int start = 0;
      int end = 0;
      QAccessibleTextInterface* text = Text(editor);
      const QString which = QString::fromLatin1(c.Which);
      const QString got = which == "at" ? text->textAtOffset(c.Offset, c.Type, &start, &end)
                          : which == "before"
                              ? text->textBeforeOffset(c.Offset, c.Type, &start, &end)
                              : text->textAfterOffset(c.Offset, c.Type, &start, &end);
      const QString name = QStringLiteral("%1 %2 (%3)").arg(which).arg(c.Offset).arg(c.Type);
      QVERIFY2(got == c.Text, qPrintable(name + ": " + got));
      QVERIFY2(start == c.Start && end == c.End,
               qPrintable(name + QStringLiteral(": %1..%2").arg(start).arg(end)));
    }
  }

  void changesThroughTheInterface() {
    TEditorControl editor;
    editor.SetTextBytes("abc");
    editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    QAccessibleEditableTextInterface* edit = Accessible(editor)->editableTextInterface();
    QSignalSpy reports(&editor, &TEditorControl::Changed);
    QSignalSpy refused(&editor, &TEditorControl::InputRefused);
    edit->insertText(1, QString::fromUtf8("\xe2\x82\xac\n"));
    QCOMPARE(editor.GetText(), QByteArray("a\x80\r\nbc"));
    edit->replaceText(4, 5, QStringLiteral("XY"));
    QCOMPARE(editor.GetText(), QByteArray("a\x80\r\nXYc"));
    edit->deleteText(0, 2);
    QCOMPARE(editor.GetText(), QByteArray("\r\nXYc"));
    QCOMPARE(reports.count(), 3);
    // What the page cannot hold is refused, never stored as "?".
    edit->insertText(0, QString::fromUtf8("\xe6\x97\xa5"));
    QCOMPARE(editor.GetText(), QByteArray("\r\nXYc"));
    QCOMPARE(refused.count(), 1);
    // Each change is one undo step.
    editor.undo();
    QCOMPARE(editor.GetText(), QByteArray("a\x80\r\nXYc"));
    editor.undo();
    QCOMPARE(editor.GetText(), QByteArray("a\x80\r\nbc"));
  }

  // While a program listens, every key tells what it inserted or removed and
  // where the caret went, in characters; while none listens nothing is told.
  // Needs a desktop session with the accessibility bus (the test runs under
  // tests/support/accessibility-bus.sh).
  void typingTellsTheListeners() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
      QSKIP("no accessibility on the offscreen platform");
    }
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 20000);
    TEditorControl editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.SetTextBytes(kUtf8);
    editor.SetCaretPosition(6);
    QApplication::processEvents();
    gEvents.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(Record);
    const struct {
      const char* Name;
      std::function<void()> Act;
      QStringList Events;
    } kCases[] = {
        {"key", [&] { QTest::keyClick(&editor, Qt::Key_X); }, {"insert 5 x", "caret 6"}},
        {"accent",
         [&] { TypeCharacters(&editor, QString::fromUtf8("\xc3\xa9")); },
         {QString::fromUtf8("insert 6 \xc3\xa9"), "caret 7"}},
        {"backspace",
         [&] { QTest::keyClick(&editor, Qt::Key_Backspace); },
         {QString::fromUtf8("remove 6 \xc3\xa9"), "caret 6"}},
        {"move", [&] { QTest::keyClick(&editor, Qt::Key_Right); }, {"caret 7"}},
        {"select",
         [&] { QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier); },
         {"selection 7 9", "caret 9"}},
        {"type over the selection",
         [&] { QTest::keyClick(&editor, Qt::Key_Y); },
         {QString::fromUtf8("remove 7 \xf0\x9f\x98\x80"), "insert 7 y", "selection -1 -1",
          "caret 8"}},
    };
    for (const auto& c : kCases) {
      gEvents.clear();
      c.Act();
      QApplication::processEvents();
      QVERIFY2(gEvents == c.Events, qPrintable(QString("%1: %2").arg(c.Name, gEvents.join(", "))));
    }
    QAccessible::installUpdateHandler(previous);
  }
};

VEXA_GUI_TEST_MAIN(TestEditorAccessible)
#include "test_editor_accessible.moc"
