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
