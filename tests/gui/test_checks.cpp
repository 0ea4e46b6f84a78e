// Check Page, Tidy Page and Check Site in the main window: the problems
// listed and marked, marks that follow edits, the automatic re-check, the
// tidy-up as one undo step, the site report compared whole with the test
// site's list, opening a reported page through the save prompt, and Cancel.
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>
#include <QTreeView>

#include "check_commands.h"
#include "check_marks.h"
#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "ini_file.h"
#include "main_window.h"
#include "page_checker.h"
#include "paths.h"
#include "problems_window.h"
#include "save_prompt.h"
#include "settings.h"
#include "site_check_window.h"
#include "tidy_dialog.h"
#include "window_controls.h"

namespace {

constexpr int kWaitMs = 60000;

const QByteArray kPage =
    "<!DOCTYPE html>\r\n<html><head><title>t</title></head>\r\n<body>\r\n<p>one <b>two</p>\r\n"
    "<foo>x</foo>\r\n<img src=\"a.png\">\r\n</body></html>\r\n";

QAction* Action(TForm1& f, const char* name) {
  return Control<QAction>(f, QString::fromLatin1(name));
}

// The rows of a view as "a|b|c" texts.
QStringList Rows(QAbstractItemView* view) {
  QStringList rows;
  const QAbstractItemModel* model = view->model();
  for (int r = 0; r < model->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < model->columnCount(); ++c) {
      cells << model->index(r, c).data().toString();
    }
    rows << cells.join(QLatin1Char('|'));
  }
  return rows;
}

// Copies a folder whole.
void CopyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  const QDir source(from);
  for (const QFileInfo& info : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    if (info.isDir()) {
      CopyFolder(info.filePath(), to + "/" + info.fileName());
    } else {
      QFile::copy(info.filePath(), to + "/" + info.fileName());
    }
  }
}

}  // namespace

class TestChecks : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestEnvironment> env;

  TForm1& Main() { return env->Main(); }
  TEditorControl* Editor() { return Controls(Main()).Edit1; }
  TPageChecker& Checker() { return Main().Checks().Checker(); }
  TProblemsWindow& Problems() { return Main().Checks().ProblemsWindow(); }
  QTreeView* ProblemList() { return Control<QTreeView>(Problems(), "problemslist"); }
  QString Note() { return Control<QLabel>(Problems(), "problemsnote")->text(); }

  void Open(const QString& name, const QByteArray& text) {
    Main().OpenDocument(env->WriteFile(env->TempDir() + name, text));
  }

  // Runs a check and waits until its problems are listed and marked.
  void CheckAndWait(const std::function<void()>& start) {
    QSignalSpy finished(&Checker(), &TPageChecker::Finished);
    start();
    QVERIFY(finished.count() > 0 || finished.wait(kWaitMs));
  }

  int MarkersAt(int line) { return static_cast<int>(Editor()->markersAtLine(line)); }
  bool SquiggleAt(int indicator, long position) {
    return Editor()->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, indicator, position) !=
           0;
  }

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    Main().SetCurFileName(QStringLiteral("new.htm"));
    Main().SetModifiedFlag(QString());
  }
  void cleanup() { env.reset(); }

  void checkPageListsAndMarksEveryProblem() {
    Open("page.htm", kPage);
    CheckAndWait([&] { Action(Main(), "CheckPage1")->trigger(); });
    QVERIFY(Problems().isVisible());
    QCOMPARE(Note(), QStringLiteral("6 problems in page.htm."));
    QCOMPARE(Rows(ProblemList()), (QStringList{
                                      "Warning|3|7|missing </b> before </p>",
                                      "Error|4|0|<foo> is not recognized!",
                                      "Warning|4|0|discarding unexpected <foo>",
                                      "Warning|4|5|inserting implicit <b>",
                                      "Warning|4|6|discarding unexpected </foo>",
                                      "Warning|5|0|<img> lacks \"alt\" attribute",
                                  }));
    // One symbol a line, the gravest; squiggles under the places.
    QVERIFY(Editor()->marginWidth(TCheckMarks::kMargin) > 0);
    QCOMPARE(MarkersAt(2), 0);
    QCOMPARE(MarkersAt(3), 1 << TCheckMarks::kWarningMarker);
    QCOMPARE(MarkersAt(4), 1 << TCheckMarks::kErrorMarker);
    QCOMPARE(MarkersAt(5), 1 << TCheckMarks::kWarningMarker);
    const long foo = kPage.indexOf("<foo>");
    QVERIFY(SquiggleAt(TCheckMarks::kErrorIndicator, foo + 1));
    QVERIFY(!SquiggleAt(TCheckMarks::kErrorIndicator, foo + 5));
    QVERIFY(SquiggleAt(TCheckMarks::kWarningIndicator, kPage.indexOf("<b>")));
    QVERIFY(env->Errors().isEmpty());
  }

  void marksAndRowsFollowTheTextAndEnterGoesThere() {
    Open("page.htm", kPage);
    CheckAndWait([&] { Checker().CheckNow(); });
    // Two lines above everything, typed after the check.
    QSignalSpy moved(&Checker(), &TPageChecker::Moved);
    Editor()->SetCaretPosition(0);
    QTest::keyClicks(Editor(), "x");
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClick(Editor(), Qt::Key_Return);
    QCOMPARE(MarkersAt(6), 1 << TCheckMarks::kErrorMarker);
    QCOMPARE(MarkersAt(4), 0);
    QVERIFY(moved.wait(kWaitMs));
    QCOMPARE(Rows(ProblemList())[1], QStringLiteral("Error|6|0|<foo> is not recognized!"));

    Problems().ShowAndFocus();
    ProblemList()->setCurrentIndex(ProblemList()->model()->index(3, 0));
    QTest::keyClick(ProblemList(), Qt::Key_Return);
    QCOMPARE(Editor()->CaretLine(), 6);
    QCOMPARE(Editor()->CaretPosition(), kPage.indexOf("x</foo>") + 5);  // "x", two line ends
    QVERIFY(Editor()->hasFocus() || !QApplication::focusWidget());
  }

  void editsWhileTheCheckRunsAreFollowed() {
    Open("page.htm", kPage);
    CheckAndWait([&] {
      Checker().CheckNow();
      // The copy is taken: these edits happen while the thread checks it.
      Editor()->SetCaretPosition(0);
      QTest::keyClicks(Editor(), "<!-- a -->");
      QTest::keyClick(Editor(), Qt::Key_Return);
    });
    QCOMPARE(Rows(ProblemList())[1], QStringLiteral("Error|5|0|<foo> is not recognized!"));
    QCOMPARE(MarkersAt(5), 1 << TCheckMarks::kErrorMarker);
    Checker().GoTo(1);
    QCOMPARE(Editor()->CaretPosition(), kPage.indexOf("<foo>") + 12);
  }

  void checkingAgainAutomaticallyASecondAfterTheLastChange() {
    Open("page.htm", kPage);
    QVERIFY(!Checker().Automatic());
    Action(Main(), "CheckAuto1")->trigger();
    QVERIFY(Checker().Automatic());
    QTimer* delay = Checker().DelayTimer();
    QCOMPARE(delay->interval(), 1000);
    // Keys only restart the pause: nothing is copied or checked per key.
    Editor()->SetCaretPosition(Editor()->Length());
    QTest::keyClicks(Editor(), "<p>");
    QVERIFY(delay->isActive());
    QVERIFY(!Checker().Busy());
    QVERIFY(!Problems().isVisible());
    CheckAndWait([&] { FireTimer(delay); });
    QVERIFY(Checker().Problems().size() >= 6);
    // The automatic check marks; it does not take the keyboard away.
    QVERIFY(!Problems().isVisible());
    QVERIFY(MarkersAt(4) != 0);
    // A script is checked by hand only: its pause says nothing.
    Main().SetSyntaxText(QStringLiteral("JAVA SCRIPT"));
    QTest::keyClicks(Editor(), "x");
    FireTimer(delay);
    QVERIFY(!Checker().Busy());
    QVERIFY(Checker().Problems().empty());
    QCOMPARE(MarkersAt(4), 0);
    QVERIFY(Checker().Note().isEmpty());
    Action(Main(), "CheckAuto1")->trigger();
    QVERIFY(!delay->isActive());
  }

  void otherDocumentsClearTheMarks() {
    Open("page.htm", kPage);
    CheckAndWait([&] { Checker().CheckNow(); });
    QVERIFY(MarkersAt(4) != 0);
    Open("other.htm", kPage);
    QVERIFY(Checker().Problems().empty());
    QCOMPARE(MarkersAt(4), 0);
    QCOMPARE(Editor()->marginWidth(TCheckMarks::kMargin), 0);
  }

  void scriptsAreNoPages() {
    Open("a.js", "var a = '<foo>';\r\n");
    CheckAndWait([&] { Action(Main(), "CheckPage1")->trigger(); });
    QVERIFY(Checker().Problems().empty());
    QVERIFY(Note().contains(QStringLiteral("\"JAVA SCRIPT\" is none of them")));
  }

  void xmlDocumentsAreCheckedForWellFormedness() {
    Open("feed.xml", "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b></c>\r\n</a>\r\n");
    CheckAndWait([&] { Checker().CheckNow(); });
    QCOMPARE(Rows(ProblemList()),
             QStringList{"Error|2|5|Opening and ending tag mismatch: b line 3 and c"});
  }

  void tidyPageIsOneUndoStep() {
    const QByteArray messy =
        "<!DOCTYPE html>\r\n<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><DIV><P>one\r\n"
        "two<?php echo 1 ?></P></DIV></BODY></HTML>\r\n";
    Open("page.php", messy);
    Editor()->SetCaretPosition(messy.indexOf("two"));
    AnswerNextModal([](QWidget* modal) {
      auto* dialog = qobject_cast<TTidyDialog*>(modal);
      QVERIFY(dialog != nullptr);
      QVERIFY(Control<QCheckBox>(*dialog, "tidyindent")->isChecked());
      Control<QSpinBox>(*dialog, "tidyspaces")->setValue(3);
      Control<QPushButton>(*dialog, "tidyok")->click();
    });
    // The editor's own Ctrl+Shift+T (copy a line) gives way to the command.
    Main().show();
    Main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Main()));
    Editor()->FocusEditor();
    QTest::keyClick(Editor(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    const QByteArray tidied = Editor()->GetText();
    QCOMPARE(tidied, QByteArray("<!DOCTYPE html>\r\n<HTML>\r\n<HEAD>\r\n   <TITLE>t</TITLE>\r\n"
                                "</HEAD>\r\n<BODY>\r\n   <DIV>\r\n      <P>one\r\n"
                                "      two<?php echo 1 ?></P>\r\n   </DIV>\r\n</BODY>\r\n"
                                "</HTML>\r\n"));
    QCOMPARE(Editor()->CaretPosition(), tidied.indexOf("two"));
    QCOMPARE(Main().ModifiedFlag(), QStringLiteral("1"));
    QCOMPARE(Main().Checks().TidyOptions().IndentSpaces, 3);
    Editor()->undo();
    QCOMPARE(Editor()->GetText(), messy);
    Editor()->redo();
    QCOMPARE(Editor()->GetText(), tidied);
  }

  void tidyPageChangesNothingOnErrors() {
    Open("page.htm", kPage);
    AnswerNextModal([](QWidget* modal) { Control<QPushButton>(*modal, "tidyok")->click(); });
    CheckAndWait([&] { Action(Main(), "TidyPage1")->trigger(); });
    QCOMPARE(Editor()->GetText(), kPage);
    QCOMPARE(Main().ModifiedFlag(), QString());
    QVERIFY(Problems().isVisible());
    QCOMPARE(Note(), QStringLiteral("HTML Tidy found errors it cannot repair: the page was not "
                                    "changed."));
    QVERIFY(Rows(ProblemList()).contains(QStringLiteral("Error|4|0|<foo> is not recognized!")));
    // Cancelled, the dialog changes nothing either.
    AnswerNextModal([](QWidget* modal) { Control<QPushButton>(*modal, "tidycancel")->click(); });
    Action(Main(), "TidyPage1")->trigger();
    QCOMPARE(Editor()->GetText(), kPage);
  }

  void settingsInSectionsOfTheirOwn() {
    TForm1& f = Main();
    env->WriteFile(paths::SettingsFile(),
                   "[Vexa options]\r\nShow Project Start=0\r\nShow Manager Start=0\r\n"
                   "Show Preview Start=0\r\n[Vexa Checks]\r\nCheck Automatically=1\r\n"
                   "[Vexa Tidy]\r\nIndent Spaces=5\r\n");
    settings::ReadAndApply(f);
    QVERIFY(Action(f, "CheckAuto1")->isChecked());
    QVERIFY(Checker().Automatic());
    QCOMPARE(f.Checks().TidyOptions().IndentSpaces, 5);
    settings::Write(f);
    const IniFile kept(QFile::encodeName(paths::SettingsFile()).toStdString());
    QCOMPARE(QString::fromStdString(kept.ReadString("Vexa Checks", "Check Automatically", "")),
             QStringLiteral("1"));
    // A new file: the options left at their defaults are not written; the
    // others come after the specified sections.
    Action(f, "CheckAuto1")->trigger();
    QFile::remove(paths::SettingsFile());
    settings::Write(f);
    const QByteArray text = TestEnvironment::ReadFile(paths::SettingsFile());
    QCOMPARE(text.indexOf("[Vexa Checks]"), -1);
    QVERIFY(text.indexOf("[Vexa Interface]") < text.indexOf("[Vexa Tidy]\r\nIndent=1\r\n"
                                                            "Indent Spaces=5\r\n"));
  }

  void theCommandsComeAfterTheToolsEntries() {
    QMenu* tools = Control<QMenu>(Main(), "Tools1");
    QStringList names;
    for (QAction* a : tools->actions()) names << (a->isSeparator() ? "-" : a->objectName());
    // Entries added later may follow; these come right after the specified ones.
    QCOMPARE(names.mid(0, 7), (QStringList{"Action9", "mengraphic", "-", "CheckPage1", "CheckSite1",
                                           "TidyPage1", "CheckAuto1"}));
    QCOMPARE(Action(Main(), "CheckPage1")->shortcut(), QKeySequence(Qt::Key_F7));
    QCOMPARE(Action(Main(), "CheckSite1")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F7));
    QCOMPARE(Action(Main(), "TidyPage1")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  }

  void checkSiteReportsTheTestSiteWhole() {
    const QString site = env->TempDir() + "site";
    CopyFolder(QStringLiteral(VEXA_TEST_DATA_DIR "/site"), site);
    Main().SetProjectDir(site);
    TSiteCheckWindow& window = Main().Checks().SiteWindow();
    QSignalSpy finished(&window, &TSiteCheckWindow::Finished);
    Action(Main(), "CheckSite1")->trigger();
    QVERIFY(window.isVisible());
    QVERIFY(finished.wait(kWaitMs));
    // The window's rows in the command's form: the same list, counted from 1.
    QStringList lines;
    const QAbstractItemModel* model = Control<QTreeView>(window, "sitelist")->model();
    for (int r = 0; r < model->rowCount(); ++r) {
      const auto cell = [&](int c) { return model->index(r, c).data().toString(); };
      QString line = "site/" + cell(0);
      if (!cell(1).isEmpty()) {
        line += QStringLiteral(":%1:%2").arg(cell(1).toInt() + 1).arg(cell(2).toInt() + 1);
      }
      line += ": " + model->index(r, 3).data(Qt::ToolTipRole).toString().toLower() + ": " + cell(3);
      if (!cell(4).isEmpty()) line += ": " + cell(4);
      lines << line;
    }
    auto* unreferenced = Control<QListWidget>(window, "siteunreferenced");
    for (int i = 0; i < unreferenced->count(); ++i) {
      lines << "site/" + unreferenced->item(i)->text() + ": note: not referenced by any page";
    }
    lines << "vexa-check: site: " + Control<QLabel>(window, "sitesummary")->text();
    const QString expected = QString::fromUtf8(
        TestEnvironment::ReadFile(QStringLiteral(VEXA_TEST_DATA_DIR "/site-report.txt")));
    QCOMPARE(lines.join('\n') + '\n', expected);
    QVERIFY(window.width() <= 1024 && window.height() <= 700);
  }

  void aReportedPageOpensThroughTheSavePromptAtItsPlace() {
    const QString site = env->TempDir() + "site";
    CopyFolder(QStringLiteral(VEXA_TEST_DATA_DIR "/site"), site);
    Main().SetProjectDir(site);
    Editor()->SetTextBytes("unsaved work");
    QCOMPARE(Main().ModifiedFlag(), QStringLiteral("1"));
    TSiteCheckWindow& window = Main().Checks().SiteWindow();
    QSignalSpy finished(&window, &TSiteCheckWindow::Finished);
    Main().Checks().CheckSite();
    QVERIFY(finished.wait(kWaitMs));
    auto* list = Control<QTreeView>(window, "sitelist");
    // The row "about.htm", line 11, column 13: Images/Logo.PNG.
    int row = -1;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
      if (list->model()->index(r, 4).data().toString() == "Images/Logo.PNG") row = r;
    }
    QVERIFY(row >= 0);
    QSignalSpy prompts(forms::Find(QStringLiteral("frmnotsaved")), SIGNAL(finished(int)));
    AnswerNextModal([](QWidget* modal) {
      Controls(qobject_cast<Tfrmnotsaved*>(modal)).dxButton2->click();  // "No"
    });
    list->setFocus();
    list->setCurrentIndex(list->model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(Main().CurFileName(), site + "/about.htm");
    QCOMPARE(Main().ModifiedFlag(), QString());
    QCOMPARE(Editor()->CaretLine(), 11);
    const QByteArray text = Editor()->GetText();
    QCOMPARE(Editor()->CaretPosition(), text.indexOf("Images/Logo.PNG"));
    // The page is open now: the next row of it asks nothing.
    list->setCurrentIndex(list->model()->index(row + 1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(Editor()->CaretPosition(), text.indexOf("<img src=\"images/photo.jpg\">"));
  }

  void cancelStopsAtOnce() {
    const QString site = env->TempDir() + "big";
    QByteArray page = "<!DOCTYPE html>\r\n<html><head><title>t</title></head><body>\r\n";
    for (int i = 0; i < 200; ++i)
      page += "<p><a href=\"gone.htm\">x</a><img src=\"a.png\"></p>\r\n";
    page += "</body></html>\r\n";
    for (int i = 0; i < 400; ++i) env->WriteFile(site + QStringLiteral("/p%1.htm").arg(i), page);
    Main().SetProjectDir(site);
    TSiteCheckWindow& window = Main().Checks().SiteWindow();
    QSignalSpy finished(&window, &TSiteCheckWindow::Finished);
    Main().Checks().CheckSite();
    QVERIFY(window.Running());
    Control<QPushButton>(window, "sitecancel")->click();
    QCOMPARE(finished.count(), 1);
    QVERIFY(!window.Running());
    QCOMPARE(Control<QLabel>(window, "sitesummary")->text(), QStringLiteral("Cancelled."));
    QCOMPARE(Control<QTreeView>(window, "sitelist")->model()->rowCount(), 0);
    // Check Again finishes it.
    Control<QPushButton>(window, "siteagain")->click();
    QVERIFY(finished.wait(kWaitMs));
    QCOMPARE(window.Report().Pages, 400);
  }

  void noSiteWithoutAProjectOrAName() {
    Action(Main(), "CheckSite1")->trigger();
    QCOMPARE(env->Errors().size(), 1);
    QVERIFY(env->Errors()[0].startsWith(QStringLiteral("Check Site checks the open project")));
  }
};

VEXA_GUI_TEST_MAIN(TestChecks)
#include "test_checks.moc"
