// Typing a page into the real main window: closing tags and end tags,
// indentation, the places where no tag is ever added, matching pairs, Emmet
// abbreviations, the line numbers, and the switches in the Edit menu and the
// settings file. Each flow types with the keyboard and compares the saved bytes.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>

#include "editor_control.h"
#include "gui_test_support.h"
#include "html_typing.h"
#include "ini_file.h"
#include "line_number_margin.h"
#include "main_window.h"
#include "paths.h"
#include "settings.h"
#include "startup.h"
#include "window_controls.h"

namespace {

using Sci = QsciScintillaBase;

QAction* Switch(TForm1& f, const char* name) {
  auto* action = f.findChild<QAction*>(QString::fromLatin1(name));
  if (action == nullptr) qFatal("no action %s", name);
  return action;
}

// The indicator's runs, as "from-to" pairs.
QString Marked(TEditorControl& e, int indicator) {
  QStringList runs;
  const long length = e.Length();
  for (long pos = 0; pos < length;) {
    const long end =
        e.SendScintilla(Sci::SCI_INDICATOREND, static_cast<unsigned long>(indicator), pos);
    if (e.SendScintilla(Sci::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator), pos)) {
      runs << QStringLiteral("%1-%2").arg(pos).arg(end);
    }
    if (end <= pos) break;
    pos = end;
  }
  return runs.join(' ');
}

}  // namespace

class TestTyping : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    TForm1& f = env->Main();
    // Once the start-up sequence has run, the page opened stays the document.
    bool started = false;
    startup::WhenStarted([&started] { started = true; });
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTRY_VERIFY(started);
    page = env->WriteFile(env->TempDir() + "page.htm", "");
    f.OpenDocument(page);
    QCOMPARE(f.CurFileName(), page);
    Controls(f).Edit1->FocusEditor();
  }
  void cleanup() { env.reset(); }

  void aPageIsTypedWithoutWritingAClosingTagAndWithoutDoublingOne() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    QSignalSpy changes(&e, &TEditorControl::Changed);
    QTest::keyClicks(&e, "<div>");
    // The closing tag and the key: one change, the caret between the tags.
    QCOMPARE(changes.count(), 5);
    QCOMPARE(e.GetText(), QByteArray("<div></div>"));
    QCOMPARE(e.CaretPosition(), 5);
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "<p class=\"a\">Hello");
    // A closing tag typed by hand over the one put there: not a second one,
    // also where the keyboard reports the Shift of ">" as a key of its own.
    QTest::keyClicks(&e, "</p");
    QTest::keyClick(&e, Qt::Key_Shift);
    QTest::keyClick(&e, '>', Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "<br><img src=\"a.png\"><b>x</b>");
    Controls(f).Action2->trigger();
    QCOMPARE(TestEnvironment::ReadFile(page),
             QByteArray("<div>\r\n  <p class=\"a\">Hello</p>\r\n"
                        "  <br><img src=\"a.png\"><b>x</b>\r\n</div>"));
    // One undo takes back the last key and what it brought.
    QTest::keyClicks(&e, "<i>");
    QCOMPARE(e.GetText().count("</i>"), 1);
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!e.GetText().contains("</i>"));
    QVERIFY(e.GetText().contains("</b><i\r\n"));
    QVERIFY(env->Errors().isEmpty());
  }

  void endTagsAreCompletedAndGoBackToTheirStartTag() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    Switch(f, "closetags")->trigger();
    QVERIFY(!Switch(f, "closetags")->isChecked());
    QTest::keyClicks(&e, "<ul>");
    QCOMPARE(e.GetText(), QByteArray("<ul>"));
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "<li>one</");
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "</");
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "<script>");
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "if (a) {");
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "b();");
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "}");
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "</");
    Controls(f).Action2->trigger();
    QCOMPARE(TestEnvironment::ReadFile(page),
             QByteArray("<ul>\r\n  <li>one</li>\r\n</ul>\r\n<script>\r\n  if (a) {\r\n"
                        "    b();\r\n  }\r\n</script>"));
  }

  void noTagIsAddedWhereNoneBelongs() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    const char* lines[] = {
        "<br><hr/><input type=\"text\"><meta charset=\"utf-8\">",
        "<a title=\"<b>\" alt='<i' href='x'>",
        "<!-- <p> -->",
        "<?php echo \"<td>\"; ?>",
        "<% Response.Write \"<tr>\" %>",
        "<![CDATA[ <q> ]]>",
    };
    for (const char* line : lines) {
      QTest::keyClicks(&e, line);
      e.SetCaretPosition(e.Length());
      QTest::keyClick(&e, Qt::Key_Return);
    }
    // Inside a script: its own end tag, nothing for the markup in its strings.
    QTest::keyClicks(&e, "<script>document.write(\"<p>\");");
    Controls(f).Action2->trigger();
    QCOMPARE(TestEnvironment::ReadFile(page),
             QByteArray("<br><hr/><input type=\"text\"><meta charset=\"utf-8\">\r\n"
                        "<a title=\"<b>\" alt='<i' href='x'></a>\r\n"
                        "<!-- <p> -->\r\n"
                        "<?php echo \"<td>\"; ?>\r\n"
                        "<% Response.Write \"<tr>\" %>\r\n"
                        "<![CDATA[ <q> ]]>\r\n"
                        "<script>document.write(\"<p>\");</script>"));
  }

  // A server block opened at the top of a long page makes the rest of it
  // code; a tag typed far below, before the colours there are finished,
  // gets no closing tag either.
  void aBlockOpenedAboveCountsBeforeItsColoursAreFinished() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    e.SetTextBytes("<p>top</p>\r\n" +
                   QByteArray("<div class=\"c\">cell</div>\r\n").repeated(20000) + "<b");
    f.synlistChange();
    e.SettleStyles();
    e.SetCaretPosition(0);
    QTest::keyClicks(&e, "<%");
    QVERIFY(e.StylesPending());
    e.SetCaretPosition(e.Length());
    QTest::keyClicks(&e, ">");
    QVERIFY(e.GetText().endsWith("</div>\r\n<b>"));
  }

  void matchingPairsAreMarkedAndCtrlBGoesToTheOther() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    e.SetTextBytes("<div><p>x</p></div>\r\n<script>f(a[1]);g( </script>");
    e.SetCaretPosition(2);
    QTRY_COMPARE(Marked(e, 8), QStringLiteral("0-5 13-19"));
    QTest::keyClick(&e, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(e.CaretPosition(), 13);
    QTest::keyClick(&e, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(e.CaretPosition(), 0);
    // Brackets in script code; a lone one is marked as such.
    e.SetCaretPosition(31);  // after "f("
    QTRY_COMPARE(Marked(e, 8), QStringLiteral("30-31 35-36"));
    QCOMPARE(Marked(e, 9), QString());
    e.SetCaretPosition(39);  // after "g("
    QTRY_COMPARE(Marked(e, 9), QStringLiteral("38-39"));
    QCOMPARE(Marked(e, 8), QString());
    // Switched off, nothing is marked.
    Switch(f, "matchpairs")->trigger();
    QTRY_COMPARE(Marked(e, 9), QString());
    e.SetCaretPosition(2);
    QTest::qWait(0);
    QCOMPARE(Marked(e, 8), QString());
  }

  void abbreviationsExpandWithCtrlEAndWithTabWhenAsked() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    QTest::keyClicks(&e, "  ul>li.item$*2");
    QTest::keyClick(&e, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(e.GetText(), QByteArray("  <ul>\r\n    <li class=\"item1\"></li>\r\n"
                                     "    <li class=\"item2\"></li>\r\n  </ul>"));
    // The caret at the first place to fill in.
    QCOMPARE(e.CaretPosition(), e.GetText().indexOf("</li>"));
    // One undo step gives the abbreviation back.
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.GetText(), QByteArray("  ul>li.item$*2"));

    // A bad abbreviation changes nothing and says why.
    e.SetTextBytes("x>y>>z");
    e.SetCaretPosition(e.Length());
    QTest::keyClick(&e, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(e.GetText(), QByteArray("x>y>>z"));
    QVERIFY2(f.statusBar()->currentMessage().contains("x>y>>z"),
             qPrintable(f.statusBar()->currentMessage()));

    // Tab expands only when asked to.
    e.SetTextBytes("p");
    e.SetCaretPosition(1);
    QTest::keyClick(&e, Qt::Key_Tab);
    QCOMPARE(e.GetText(), QByteArray("p\t"));
    Switch(f, "tabexpands")->trigger();
    e.SetTextBytes("p");
    e.SetCaretPosition(1);
    QTest::keyClick(&e, Qt::Key_Tab);
    QCOMPARE(e.GetText(), QByteArray("<p></p>"));
    QCOMPARE(e.CaretPosition(), 3);

    // A page skeleton declares the encoding the page is kept in.
    e.SetTextBytes("!");
    e.SetCaretPosition(1);
    QTest::keyClick(&e, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(e.GetText().contains("<meta charset=\"windows-1252\">"));
    Controls(f).Action2->trigger();
    QCOMPARE(TestEnvironment::ReadFile(page), e.GetText());
  }

  void lineNumbersCountFromZeroAsTheGotoBoxDoes() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    QByteArray text;
    for (int i = 0; i < 150; ++i) text += "line\r\n";
    e.SetTextBytes(text);
    e.SetCaretPosition(0);
    auto* typing = f.findChild<THtmlTyping*>();
    QVERIFY(typing != nullptr);
    const auto numbers = typing->LineNumbers()->NumbersInView();
    QVERIFY(numbers.size() > 3);
    QCOMPARE(numbers[0], qMakePair(0, 0));
    QCOMPARE(numbers[3].first, 3);
    // Wide enough for the largest number, "150".
    const long width = e.SendScintilla(Sci::SCI_GETMARGINWIDTHN, 0UL);
    QVERIFY(width >= typing->LineNumbers()->fontMetrics().horizontalAdvance("150"));
    // A number read in the margin, typed into the box, goes to that line.
    Controls(f).lineedit->setText(QString::number(numbers[3].first));
    Controls(f).gotoline1->click();
    QCOMPARE(e.CaretLine(), 3);
    Switch(f, "linenumbers")->trigger();
    QCOMPARE(e.SendScintilla(Sci::SCI_GETMARGINWIDTHN, 0UL), 0L);
    QVERIFY(!typing->LineNumbers()->isVisible());
    // The caret line is highlighted, and that too can be switched off.
    QCOMPARE(e.SendScintilla(Sci::SCI_GETCARETLINEVISIBLE), 1L);
    Switch(f, "caretline")->trigger();
    QCOMPARE(e.SendScintilla(Sci::SCI_GETCARETLINEVISIBLE), 0L);
  }

  void theSwitchesFollowPasteAndAreKeptInTheirOwnSection() {
    TForm1& f = env->Main();
    auto* edit = f.findChild<QMenu*>(QStringLiteral("Edit2"));
    const QList<QAction*> entries = edit->actions();
    QCOMPARE(entries.mid(0, 3), (QList<QAction*>{Controls(f).EditCopy1, Controls(f).EditCut1,
                                                 Controls(f).EditPaste1}));
    QVERIFY(entries[3]->isSeparator());
    QCOMPARE(entries[4]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    QCOMPARE(entries[5]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    QMenu* switches = entries[6]->menu();
    QVERIFY(switches != nullptr);
    QStringList on;
    for (QAction* a : switches->actions()) {
      QVERIFY(a->isCheckable());
      if (a->isChecked()) on << a->objectName();
    }
    QCOMPARE(on, (QStringList{"linenumbers", "caretline", "closetags", "completeendtags",
                              "matchpairs", "autoindent"}));

    Switch(f, "closetags")->trigger();
    Switch(f, "tabexpands")->trigger();
    settings::Write(f);
    const QByteArray ini = TestEnvironment::ReadFile(paths::SettingsFile());
    QVERIFY(ini.indexOf("[Vexa Editing]") > ini.indexOf("[Vexa Interface]"));
    QVERIFY(ini.contains("Close Tags=0\r\n"));
    QVERIFY(ini.contains("Tab Expands=1\r\n"));

    // Read back at the next start.
    Switch(f, "closetags")->trigger();
    settings::ReadAndApply(f);
    QVERIFY(!Switch(f, "closetags")->isChecked());
    QVERIFY(Switch(f, "tabexpands")->isChecked());
    TEditorControl& e = *Controls(f).Edit1;
    QTest::keyClicks(&e, "<p>");
    QCOMPARE(e.GetText(), QByteArray("<p>"));
  }

 private:
  std::unique_ptr<TestEnvironment> env;
  QString page;
};

VEXA_GUI_TEST_MAIN(TestTyping)
#include "test_typing.moc"
