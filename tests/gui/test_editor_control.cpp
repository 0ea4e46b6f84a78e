// The editor control on its own: bytes and line ends, the change report, file
// loads and saves, and documents in code page 1252 and UTF-8.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>

#include "editor_control.h"
#include "error_guard.h"
#include "gui_test_support.h"
#include "read_only_path.h"
#include "vexa_error.h"

namespace {

// Every character of bytes 0x80..0xFF as code page 1252 has it, the five
// bytes it leaves undefined as the placeholder.
const QString kHighHalf = QString::fromUtf8(
    "\u20ac\ufffd\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\ufffd"
    "\u017d\ufffd\ufffd\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a"
    "\u0153\ufffd\u017e\u0178"
    "\u00a0\u00a1\u00a2\u00a3\u00a4\u00a5\u00a6\u00a7\u00a8\u00a9\u00aa\u00ab\u00ac\u00ad"
    "\u00ae\u00af\u00b0\u00b1\u00b2\u00b3\u00b4\u00b5\u00b6\u00b7\u00b8\u00b9\u00ba\u00bb"
    "\u00bc\u00bd\u00be\u00bf\u00c0\u00c1\u00c2\u00c3\u00c4\u00c5\u00c6\u00c7\u00c8\u00c9"
    "\u00ca\u00cb\u00cc\u00cd\u00ce\u00cf\u00d0\u00d1\u00d2\u00d3\u00d4\u00d5\u00d6\u00d7"
    "\u00d8\u00d9\u00da\u00db\u00dc\u00dd\u00de\u00df\u00e0\u00e1\u00e2\u00e3\u00e4\u00e5"
    "\u00e6\u00e7\u00e8\u00e9\u00ea\u00eb\u00ec\u00ed\u00ee\u00ef\u00f0\u00f1\u00f2\u00f3"
    "\u00f4\u00f5\u00f6\u00f7\u00f8\u00f9\u00fa\u00fb\u00fc\u00fd\u00fe\u00ff");

// The share of a cell's pixels darker than mid grey.
double DarkShare(const QImage& image, const QRect& cell) {
  int dark = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y) {
    for (int x = cell.left(); x <= cell.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) ++dark;
    }
  }
  return static_cast<double>(dark) / (cell.width() * cell.height());
}

using TKind = TTextModification::TKind;

// A modification as a test writes it: "+3:2" inserted two bytes at 3, "-0:1"
// deleted one at 0, with "u" or "r" after it for undo or redo.
QString Written(const TTextModification& m) {
  return QStringLiteral("%1%2:%3%4")
      .arg(m.Kind == TKind::Insert ? '+' : '-')
      .arg(m.Position)
      .arg(m.Length)
      .arg(m.Undo ? "u" : (m.Redo ? "r" : ""));
}

// What a listener heard: the notices, the text each saw, and the order of
// notices ("n") and change reports ("R").
struct THeard {
  QStringList Notices;
  QList<QByteArray> Texts;
  QString Order;
  QObject Listening;  // the connections end with it

  explicit THeard(TEditorControl& editor) {
    QObject::connect(&editor, &TEditorControl::TextModified, &Listening,
                     [this, &editor](const TTextModification& m) {
                       Notices << Written(m);
                       Texts << editor.GetText();
                       Order += 'n';
                     });
    QObject::connect(&editor, &TEditorControl::Changed, &Listening, [this] { Order += 'R'; });
  }
};

}  // namespace

class TestEditorControl : public QObject {
  Q_OBJECT

 private slots:
  void everyByteSurvivesLoadAndSave() {
    TestEnvironment env(false);
    TEditorControl editor;
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
      if (b != '\r' && b != '\n') all.append(static_cast<char>(b));
    }
    const QByteArray content = all + "\r\n" + all;
    const QString in = env.WriteFile(env.TempDir() + "in.txt", content);
    editor.LoadFile(in);
    QCOMPARE(editor.GetText(), content);
    const QString out = env.TempDir() + "out.txt";
    editor.SaveFile(out);
    QCOMPARE(TestEnvironment::ReadFile(out), content);
  }

  void lineEndsBecomeCrLf() {
    TestEnvironment env(false);
    TEditorControl editor;
    editor.LoadFile(env.WriteFile(env.TempDir() + "mixed.txt", "a\nb\rc\r\nd\n\re"));
    QCOMPARE(editor.GetText(), QByteArray("a\r\nb\r\nc\r\nd\r\n\r\ne"));
    QCOMPARE(editor.LineCount(), 6);
  }

  void appendLineFollowsTheLastLineBreak() {
    TEditorControl editor;
    editor.ClearText();
    editor.AppendLine("a");
    QCOMPARE(editor.GetText(), QByteArray("a\r\n"));
    editor.AppendLine("");
    editor.AppendLine("b");
    QCOMPARE(editor.GetText(), QByteArray("a\r\n\r\nb\r\n"));
    QCOMPARE(editor.LineCount(), 3);
    editor.SetTextBytes("x");
    editor.AppendLine("y");
    QCOMPARE(editor.GetText(), QByteArray("x\r\ny"));
  }

  void oneReportPerOperationAndNoneWhileHandlingOne() {
    TEditorControl editor;
    int reports = 0;
    QObject::connect(&editor, &TEditorControl::Changed, [&] {
      ++reports;
      // A modification made while the report is handled raises no further report.
      editor.AppendLine("nested");
    });
    editor.SetTextBytes("one\r\ntwo");
    QCOMPARE(reports, 1);
    editor.AppendLine("three");
    QCOMPARE(reports, 2);
    editor.ClearText();
    QCOMPARE(reports, 3);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    editor.PasteAtCaret();
    QCOMPARE(reports, 4);
  }

  void typingReportsOncePerKey() {
    TEditorControl editor;
    editor.show();
    editor.SetTextBytes("abc");
    editor.SetCaretPosition(0);
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, 0UL, 2L);
    QSignalSpy spy(&editor, &TEditorControl::Changed);
    // Replacing a selection deletes and inserts: still one report.
    QTest::keyClick(&editor, Qt::Key_X);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(editor.GetText(), QByteArray("xc"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(editor.GetText(), QByteArray("x\r\nc"));
  }

  // Every insert and delete is heard once, in order, with undo and redo told
  // apart; the notices come before the one change report of the operation, and
  // each listener sees the text as the operation left it.
  void everyModificationIsHeardOnceBeforeTheReport() {
    TEditorControl editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const struct {
      const char* Name;
      QByteArray Before;
      int Caret;
      int Anchor;  // -1: no selection
      std::function<void(TEditorControl&)> Act;
      QStringList Notices;
      QByteArray After;
      // Notices and reports: undo and redo are operations of their own.
      QString Order = QStringLiteral("nR");
    } kCases[] = {
        {"key",
         "abc",
         1,
         -1,
         [](TEditorControl& e) { QTest::keyClick(&e, Qt::Key_X); },
         {"+1:1"},
         "axbc"},
        {"key over a selection",
         "abcd",
         3,
         1,
         [](TEditorControl& e) { QTest::keyClick(&e, Qt::Key_X); },
         {"-1:2", "+1:1"},
         "axd",
         "nnR"},
        {"Enter",
         "ab",
         1,
         -1,
         [](TEditorControl& e) { QTest::keyClick(&e, Qt::Key_Return); },
         {"+1:2"},
         "a\r\nb"},
        {"Backspace over a line end",
         "a\r\nb",
         3,
         -1,
         [](TEditorControl& e) { QTest::keyClick(&e, Qt::Key_Backspace); },
         {"-1:2"},
         "ab"},
        {"paste",
         "ab",
         1,
         -1,
         [](TEditorControl& e) {
           QApplication::clipboard()->setText(QStringLiteral("xy\nz"));
           e.PasteAtCaret();
         },
         {"+1:5"},
         "axy\r\nzb"},
        {"cut", "abcd", 1, 3, [](TEditorControl& e) { e.cut(); }, {"-1:2"}, "ad"},
        {"undo of a key",
         "abc",
         3,
         -1,
         [](TEditorControl& e) {
           QTest::keyClick(&e, Qt::Key_X);
           e.undo();
         },
         {"+3:1", "-3:1u"},
         "abc",
         "nRnR"},
        {"redo",
         "abc",
         0,
         -1,
         [](TEditorControl& e) {
           QTest::keyClick(&e, Qt::Key_Delete);
           e.undo();
           e.redo();
         },
         {"-0:1", "+0:1u", "-0:1r"},
         "bc",
         "nRnRnR"},
        {"append a line",
         "a",
         0,
         -1,
         [](TEditorControl& e) { e.AppendLine("b"); },
         {"+1:3"},
         "a\r\nb"},
        {"clear", "abc", 0, -1, [](TEditorControl& e) { e.ClearText(); }, {"-0:3"}, ""},
        {"new text",
         "abc",
         0,
         -1,
         [](TEditorControl& e) { e.SetTextBytes("x\ny"); },
         {"-0:3", "+0:4"},
         "x\r\ny",
         "nnR"},
        {"replace all",
         "a-b-c",
         0,
         -1,
         [](TEditorControl& e) { e.ReplaceAllText("-", "+=", TSearchOptions()); },
         {"-1:1", "+1:2", "-4:1", "+4:2"},
         "a+=b+=c",
         "nnnnR"},
    };
    for (const auto& c : kCases) {
      editor.SetTextBytes(c.Before);
      editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
      editor.SendScintilla(QsciScintillaBase::SCI_SETSEL,
                           static_cast<unsigned long>(c.Anchor < 0 ? c.Caret : c.Anchor),
                           static_cast<long>(c.Caret));
      THeard heard(editor);
      c.Act(editor);
      QVERIFY2(heard.Notices == c.Notices,
               qPrintable(QString("%1: %2").arg(c.Name, heard.Notices.join(' '))));
      QCOMPARE(editor.GetText(), c.After);
      QVERIFY2(heard.Order == c.Order, qPrintable(QString("%1: %2").arg(c.Name, heard.Order)));
      // The operation is over when its notices come: all see its whole result.
      if (c.Order.count('R') == 1) {
        QVERIFY2(heard.Texts.count(c.After) == heard.Texts.size(), c.Name);
      }
    }
  }

  // A listener that answers a typed ">" with a closing text changes the
  // document inside the same operation: one change report for both, and the
  // widget joins both into one undo step.
  void listenerChangesJoinTheOperation() {
    TEditorControl editor;
    editor.show();
    editor.SetTextBytes("<b");
    editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    editor.SetCaretPosition(2);
    QObject::connect(&editor, &TEditorControl::TextModified, &editor,
                     [&editor](const TTextModification& m) {
                       if (m.Kind != TKind::Insert || m.Undo || m.Redo) return;
                       if (editor.GetText().mid(m.Position, m.Length) != ">") return;
                       editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT,
                                            static_cast<unsigned long>(m.Position + 1), "</b>");
                     });
    QSignalSpy reports(&editor, &TEditorControl::Changed);
    QSignalSpy notices(&editor, &TEditorControl::TextModified);
    QTest::keyClick(&editor, Qt::Key_Greater);
    QCOMPARE(editor.GetText(), QByteArray("<b></b>"));
    QCOMPARE(notices.count(), 2);
    QCOMPARE(reports.count(), 1);
    editor.undo();
    QCOMPARE(editor.GetText(), QByteArray("<b"));
  }

  // A change made straight through the widget, outside any operation of the
  // editor, is still heard and reported, once control is back in the event loop.
  void changesOutsideAnOperationAreStillHeard() {
    TEditorControl editor;
    editor.SetTextBytes("ab");
    QSignalSpy reports(&editor, &TEditorControl::Changed);
    QSignalSpy notices(&editor, &TEditorControl::TextModified);
    editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, 1UL, "xyz");
    editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 0UL, 1L);
    QTRY_COMPARE(reports.count(), 1);
    QCOMPARE(notices.count(), 2);
    QCOMPARE(Written(notices.at(0).at(0).value<TTextModification>()), QStringLiteral("+1:3"));
    QCOMPARE(Written(notices.at(1).at(0).value<TTextModification>()), QStringLiteral("-0:1"));
  }

  // The widget sends only its notices before a change: those after one would
  // make its own accessibility layer count the characters of the whole
  // document at every key. No bit of the mask rides on the notices after a
  // change, whatever else is switched on (folding adds one of its own).
  void onlyTheNoticesBeforeAChangeAreSent() {
    using Sci = QsciScintillaBase;
    TestEnvironment env(false);
    TEditorControl editor;
    QSignalSpy widgetReports(&editor, &QsciScintilla::textChanged);
    const long after = Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_PERFORMED_USER |
                       Sci::SC_PERFORMED_UNDO | Sci::SC_PERFORMED_REDO | Sci::SC_STARTACTION |
                       Sci::SC_MULTISTEPUNDOREDO | Sci::SC_LASTSTEPINUNDOREDO |
                       Sci::SC_MULTILINEUNDOREDO;
    const long before = Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE;
    const auto check = [&] {
      const long mask = editor.SendScintilla(Sci::SCI_GETMODEVENTMASK);
      QCOMPARE(mask & after, 0L);
      QCOMPARE(mask & before, before);
    };
    check();
    editor.LoadFile(env.WriteFile(env.TempDir() + "utf8.htm", "caf\xc3\xa9"));
    editor.SetWordWrap(true);
    editor.setFolding(QsciScintilla::BoxedFoldStyle);
    QTest::keyClick(&editor, Qt::Key_A);
    editor.undo();
    editor.ClearText();
    check();
    QCOMPARE(widgetReports.count(), 0);
  }

  void failedLoadAndSave() {
    TestEnvironment env(false);
    TEditorControl editor;
    editor.SetTextBytes("keep");
    const QString missing = env.TempDir() + "missing.htm";
    try {
      editor.LoadFile(missing);
      QFAIL("loading a missing file must fail");
    } catch (const VexaError& e) {
      QCOMPARE(e.Message, QStringLiteral("Cannot open file ") + missing);
    }
    QCOMPARE(editor.GetText(), QByteArray("keep"));

    // A save into a folder that cannot be written leaves the old file intact.
    const QString folder = env.TempDir() + "locked/";
    const QString target = env.WriteFile(folder + "page.htm", "old content");
    {
      const TReadOnlyPath locked(QFile::encodeName(folder).toStdString());
      QVERIFY2(locked.Error().empty(), locked.Error().c_str());
      try {
        editor.SaveFile(target);
        QFAIL("saving into a read-only folder must fail");
      } catch (const VexaError& e) {
        QCOMPARE(e.Message, QStringLiteral("Cannot create file ") + target);
      }
    }
    QCOMPARE(TestEnvironment::ReadFile(target), QByteArray("old content"));
  }

  void saveKeepsPermissionsAndReplacesContent() {
    TestEnvironment env(false);
    TEditorControl editor;
    const QString target = env.WriteFile(env.TempDir() + "page.htm", "old");
    QFile::setPermissions(
        target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    editor.SetTextBytes("new\nline");
    editor.SaveFile(target);
    QCOMPARE(TestEnvironment::ReadFile(target), QByteArray("new\r\nline"));
    QVERIFY(QFile::permissions(target) & QFileDevice::ReadOther);
  }

  void utf8PageIsShownTypedAndSavedAsUtf8() {
    TestEnvironment env(false);
    TEditorControl editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const QByteArray page = QByteArray("<p>caf\xc3\xa9 na\xc3\xafve</p>\r\n") +
                            "<p>\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e \xf0\x9f\x98\x80</p>";
    const QString path = env.WriteFile(env.TempDir() + "utf8.htm", page);
    QSignalSpy encodings(&editor, &TEditorControl::EncodingChanged);
    editor.LoadFile(path);
    QCOMPARE(editor.Encoding(), TTextEncoding::Utf8);
    QCOMPARE(encodings.count(), 1);
    QCOMPARE(editor.ShownText(), QString::fromUtf8(page));
    QCOMPARE(editor.text(), QString::fromUtf8(page));

    // Typed and pasted characters go in as UTF-8; the clipboard carries Unicode.
    editor.SetCaretPosition(editor.Length());
    TypeCharacters(&editor, QString::fromUtf8(" \xc3\xbc\xe2\x82\xac"));
    QApplication::clipboard()->setText(QString::fromUtf8("\xe4\xb8\xad\xf0\x9f\x8e\x89"));
    editor.PasteAtCaret();
    const QByteArray edited = page + " \xc3\xbc\xe2\x82\xac\xe4\xb8\xad\xf0\x9f\x8e\x89";
    QCOMPARE(editor.GetText(), edited);
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, 3UL, 8L);
    editor.copy();
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("caf\xc3\xa9"));

    editor.SaveFile(path);
    QCOMPARE(TestEnvironment::ReadFile(path), edited);
    TEditorControl again;
    again.LoadFile(path);
    QCOMPARE(again.GetText(), edited);
    QCOMPARE(again.Encoding(), TTextEncoding::Utf8);

    // A cleared document starts again in code page 1252.
    editor.ClearText();
    QCOMPARE(editor.Encoding(), TTextEncoding::Windows1252);
    QCOMPARE(encodings.count(), 2);
  }

  void codePage1252ShowsEveryByteAsItsCharacter() {
    TestEnvironment env(false);
    TEditorControl editor;
    editor.resize(400, 120);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b) high.append(static_cast<char>(b));
    const QString path = env.WriteFile(env.TempDir() + "high.txt", "ab\x01" + high);
    editor.LoadFile(path);
    QCOMPARE(editor.Encoding(), TTextEncoding::Windows1252);
    QCOMPARE(editor.ShownText(), QString(QChar('a')) + "b" + QChar(0x2401) + kHighHalf);
    editor.SaveFile(path);
    QCOMPARE(TestEnvironment::ReadFile(path), "ab\x01" + high);

    // Drawn, not left as the widget's blank cells: "\x80" and "\x8a" show
    // two different glyphs of ink on the paper's colour.
    editor.SendScintilla(QsciScintillaBase::SCI_SETEMPTYSELECTION, 0UL);
    editor.SetTextBytes("\x80\x8a\x81 ab");
    const QImage shot = editor.viewport()->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("VEXA_SCREENSHOT_DIR")) {
      editor.LoadFile(path);
      editor.grab().save(qEnvironmentVariable("VEXA_SCREENSHOT_DIR") + "/code_page_1252.png");
    }
    const auto cellOf = [&editor](int pos) {
      const int x = static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION,
                                                          0UL, static_cast<long>(pos)));
      const int width =
          static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL,
                                                static_cast<long>(pos + 1))) -
          x;
      return QRect(x, 0, width,
                   static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL)));
    };
    // One character's width: the columns after such a byte stay in line.
    QVERIFY(qAbs(cellOf(0).width() - cellOf(4).width()) <= 1);
    for (int pos : {0, 1, 2}) {
      const double ink = DarkShare(shot, cellOf(pos));
      QVERIFY2(ink > 0.03 && ink < 0.5, qPrintable(QString::number(ink)));
    }
    QVERIFY(shot.copy(cellOf(0)) != shot.copy(cellOf(1)));
  }

  void typedCharactersOfTheCodePageAreStoredAsTheirBytes() {
    TestEnvironment env(false);
    TEditorControl editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.SetTextBytes("x");
    editor.SetCaretPosition(1);
    QSignalSpy refused(&editor, &TEditorControl::InputRefused);
    TypeCharacters(&editor,
                   QString::fromUtf8("\xe2\x82\xac\xe2\x80\x9c\xe2\x80\x9d\xe2\x84\xa2\xc3\xa9"));
    QCOMPARE(editor.GetText(), QByteArray("x\x80\x93\x94\x99\xe9"));
    QApplication::clipboard()->setText(QString::fromUtf8("\xe2\x80\x98ok\xe2\x80\x99"));
    editor.PasteAtCaret();
    QCOMPARE(editor.GetText(), QByteArray("x\x80\x93\x94\x99\xe9\x91ok\x92"));
    QVERIFY(refused.isEmpty());
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("\xe2\x80\x98ok\xe2\x80\x99"));
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, 1UL, 2L);
    editor.copy();
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("\xe2\x82\xac"));

    // A character outside the page is refused, never stored as "?".
    const QByteArray before = editor.GetText();
    editor.SetCaretPosition(editor.Length());
    TypeCharacters(&editor, QString::fromUtf8("\xe6\x97\xa5"));
    QApplication::clipboard()->setText(QString::fromUtf8("ok \xf0\x9f\x98\x80"));
    editor.PasteAtCaret();
    QCOMPARE(editor.GetText(), before);
    QCOMPARE(refused.count(), 2);
    QVERIFY(refused.at(1).at(0).toString().contains(QString::fromUtf8("\xf0\x9f\x98\x80")));
    QVERIFY(refused.at(1).at(0).toString().contains("Windows-1252"));

    const QString out = env.TempDir() + "typed.htm";
    editor.SaveFile(out);
    QCOMPARE(TestEnvironment::ReadFile(out), before);
  }

  void invalidUtf8StaysCodePage1252() {
    TestEnvironment env(false);
    TEditorControl editor;
    for (const QByteArray& bytes :
         {QByteArray("caf\xc3 \xc3\xa9"), QByteArray("\xc0\xaf"), QByteArray("\xed\xa0\x80"),
          QByteArray("plain ascii"), QByteArray("\xe2\x82")}) {
      const QString path = env.WriteFile(env.TempDir() + "page.htm", bytes);
      editor.LoadFile(path);
      QCOMPARE(editor.Encoding(), TTextEncoding::Windows1252);
      editor.SaveFile(path);
      QCOMPARE(TestEnvironment::ReadFile(path), bytes);
    }
  }

  void guardReportsAndSkipsTheRest() {
    QStringList messages;
    SetErrorReporter([&](const QString& m) { messages << m; });
    int runs = 0;
    auto handler = Guard([&] {
      ++runs;
      throw VexaError(QStringLiteral("Cannot open file x"));
    });
    handler();
    handler(true);  // a signal's arguments are dropped for a handler without any
    SetErrorReporter({});
    QCOMPARE(runs, 2);
    QCOMPARE(messages, (QStringList{QStringLiteral("Cannot open file x"),
                                    QStringLiteral("Cannot open file x")}));
  }
};

VEXA_GUI_TEST_MAIN(TestEditorControl)
#include "test_editor_control.moc"
