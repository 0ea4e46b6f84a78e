// The editor control on its own: bytes and line ends, the change report, file
// loads and saves.
#include <QClipboard>
#include <QFile>
#include <QSignalSpy>

#include "editor_control.h"
#include "error_guard.h"
#include "gui_test_support.h"
#include "read_only_path.h"
#include "vexa_error.h"

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
