// The manager window: its pages and controls, the file list and its folder
// rule, opening a page by double-click, "Refresh List", the fragment buttons,
// quick-code insertion and "Frames".
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "editor_control.h"
#include "file_lists.h"
#include "flat_button.h"
#include "fragments.h"
#include "gui_test_support.h"
#include "list_box.h"
#include "list_chooser.h"
#include "list_clicks.h"
#include "list_files.h"
#include "main_window.h"
#include "manager_window.h"
#include "window_controls.h"

class TestManager : public QObject {
  Q_OBJECT

  std::unique_ptr<TestEnvironment> env;
  Tfrmmanager* m = nullptr;

  TForm1& Main() const { return env->Main(); }
  TEditorControl* Editor() const { return Controls(env->Main()).Edit1; }

  // A folder of pages and scripts, with names the mask takes and leaves.
  QString Pages() {
    const QString dir = env->TempDir() + "pages/";
    const char* names[] = {"index.htm", "PAGE.HTM",  "shop.asp",  "old.php3", "new.php",
                           "x.php34",   "notes.txt", "style.css", "app.js",   "Form.java"};
    for (const char* name : names) {
      env->WriteFile(dir + name, QByteArray("<p>") + name + "</p>\r\n");
    }
    return dir;
  }

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    Main().SetCurFileName(QStringLiteral("new.htm"));
    Main().SetModifiedFlag(QString());
    m = forms::Get<Tfrmmanager>(QStringLiteral("frmmanager"));
    QVERIFY(m);
  }
  void cleanup() {
    m = nullptr;
    env.reset();
  }

  void windowAndControls() {
    QCOMPARE(Controls(m).PageControl1->currentWidget(),
             Controls(m).TabSheet2);  // "Quick Code" first
    QCOMPARE(Controls(m).PageControl1->tabPosition(), QTabWidget::West);
    QCOMPARE(Controls(m).showmanagercheck->text(), QStringLiteral("Show  Vexa Manager at start"));
    QVERIFY(
        !m->rect().intersects(Controls(m).Edit1->geometry()));  // the transfer field is never seen
    QCOMPARE(Controls(m).Timer1->interval(), 500);
    QVERIFY(!Controls(m).Timer1->isActive());
  }

  // The file list control itself: mask rules, and reading only on a change of folder.
  void fileListReadsItsFolderOnlyWhenPointedElsewhere() {
    const QString dir = Pages();
    TFileList* list = Controls(m).FileListBox1;
    list->SetFolder(dir);
    QCOMPARE(list->Folder(), dir.chopped(1));
    // Case-sensitive patterns; "*.php?" takes "new.php" and "old.php3", not "x.php34".
    QCOMPARE(list->FileNames(), (QStringList{"app.js", "Form.java", "index.htm", "new.php",
                                             "notes.txt", "old.php3", "shop.asp"}));

    env->WriteFile(dir + "later.html", "later");
    list->SetFolder(dir);
    QVERIFY(!list->FileNames().contains("later.html"));
    list->SetFolder(QString());
    QCOMPARE(list->Folder(), dir.chopped(1));
    list->SetFolder(QStringLiteral("/"));
    list->SetFolder(dir.chopped(1));
    QVERIFY(list->FileNames().contains("later.html"));

    list->SetMask(QStringLiteral("*.HTM;*.JAVA"));
    QCOMPARE(list->FileNames(), QStringList{"PAGE.HTM"});
  }

  void showingPointsTheListByTheFolderRule() {
    m->show();
    QCOMPARE(Controls(m).FileListBox1->Folder() + "/", env->ProgramDir());
    QVERIFY(Controls(m).FileListBox1->FileNames().contains("index.htm"));
    QVERIFY(Controls(m).FileListBox1->FileNames().contains("frametemp.htm"));

    const QString dir = Pages();
    Main().OpenDocument(dir + "notes.txt");
    QCOMPARE(Controls(m).FileListBox1->Folder() + "/", dir);

    const QString site = env->TempDir() + "site";
    QDir().mkpath(site);
    Main().SetProjectDir(site);
    m->hide();
    m->show();
    QCOMPARE(Controls(m).FileListBox1->Folder(), site);
  }

  void doubleClickOpensTheFileWithTheSyntaxOfItsExtension() {
    const QString dir = Pages();
    m->show();
    Controls(m).PageControl1->setCurrentWidget(Controls(m).TabSheet1);
    Controls(m).FileListBox1->SetFolder(dir);

    // Extensions outside the table, or in other case, keep the syntax. The
    // mask leaves "PAGE.HTM" out, so the last round lists every file.
    Controls(Main()).synlist->setEditText(QStringLiteral("SQL"));
    for (const char* name : {"shop.asp", "old.php3", "notes.txt", "PAGE.HTM"}) {
      if (name[0] == 'P') Controls(m).FileListBox1->SetMask(QStringLiteral("*.*"));
      QVERIFY(DoubleClickEntry(Controls(m).FileListBox1, name));
      QCOMPARE(Main().CurFileName(), dir + name);
      QCOMPARE(Main().StatusPanelText(0), dir + name);
      QCOMPARE(Editor()->GetText(), QByteArray("<p>") + name + "</p>\r\n");
      QCOMPARE(Controls(Main()).synlist->currentText(), QStringLiteral("SQL"));
      QVERIFY(Main().ModifiedFlag() != "1");
    }
    QVERIFY(DoubleClickEntry(Controls(m).FileListBox1, "new.php"));
    QCOMPARE(Controls(Main()).synlist->currentText(), QStringLiteral("PHP"));
    QVERIFY(DoubleClickEntry(Controls(m).FileListBox1, "Form.java"));
    QCOMPARE(Controls(Main()).synlist->currentText(), QStringLiteral("JAVA SCRIPT"));
    QVERIFY(DoubleClickEntry(Controls(m).FileListBox1, "index.htm"));
    QCOMPARE(Controls(Main()).synlist->currentText(), QStringLiteral("HTML"));
    QVERIFY(env->Errors().isEmpty());
  }

  void doubleClickAsksFirstAndFailsWithoutHarm() {
    const QString dir = Pages();
    m->show();
    Controls(m).FileListBox1->SetFolder(dir);

    Editor()->SetTextBytes("my unsaved text");
    bool asked = false;
    AnswerNextModal([&](QWidget* prompt) {
      asked = prompt->objectName() == "frmnotsaved";
      prompt->findChild<TdxButton*>("dxButton2")->click();
    });
    QVERIFY(DoubleClickEntry(Controls(m).FileListBox1, "app.js"));
    QVERIFY(asked);
    QCOMPARE(Main().CurFileName(), dir + "app.js");

    // A file gone since the list was read: the error, and nothing changes.
    QFile::remove(dir + "notes.txt");
    Controls(Main()).synlist->setEditText(QStringLiteral("XML"));
    QVERIFY(DoubleClickEntry(Controls(m).FileListBox1, "notes.txt"));
    QCOMPARE(env->Errors(), QStringList{"Cannot open file " + dir + "notes.txt"});
    QCOMPARE(Main().CurFileName(), dir + "app.js");
    QCOMPARE(Editor()->GetText(), QByteArray("<p>app.js</p>\r\n"));
    QCOMPARE(Controls(Main()).synlist->currentText(), QStringLiteral("XML"));
  }

  void refreshListReturnsWhenTheTimerFires() {
    const QString dir = Pages();
    m->show();
    Controls(m).FileListBox1->SetFolder(dir);
    env->WriteFile(dir + "added.htm", "new");
    Controls(m).dxButton4->click();
    QCOMPARE(Controls(m).FileListBox1->Folder(), QStringLiteral("/"));
    QVERIFY(Controls(m).Timer1->isActive());
    m->Timer1Timer();
    QVERIFY(!Controls(m).Timer1->isActive());
    QCOMPARE(Controls(m).FileListBox1->Folder() + "/", dir);
    QVERIFY(Controls(m).FileListBox1->FileNames().contains("added.htm"));

    // A second press within the interval makes the root the folder to return to.
    Controls(m).dxButton4->click();
    Controls(m).dxButton4->click();
    m->Timer1Timer();
    QCOMPARE(Controls(m).FileListBox1->Folder(), QStringLiteral("/"));
  }

  void everyFragmentButtonInsertsItsText() {
    QStringList texts;
    for (int i = 0; i < 16; ++i) {
      Editor()->ClearText();
      QAbstractButton* button = i < 6 ? static_cast<QAbstractButton*>(Controls(m).ToolButton[i])
                                      : Controls(m).Button[i - 6];
      QCOMPARE(button->objectName(), QString::fromLatin1(quickcode::kFragments[i].Button));
      if (i >= 6) QCOMPARE(button->text(), QString::fromLatin1(quickcode::kFragments[i].Caption));
      button->click();
      texts << QString::fromLatin1(Editor()->GetText());
    }
    QCOMPARE(texts, (QStringList{"<div align=\"left\"></div>", "<div align=\"center\"></div>",
                                 "<div align=\"right\"></div>", "<b></b>", "<i></i>", "<u></u>",
                                 "<br>", "&nbsp", "&#8220;", "&#8221;", "&copy;", "&reg;",
                                 "&#8482;", "&#8222;", "&lt", "&gt"}));
    QCOMPARE(Controls(m).Button[2]->text(), QStringLiteral("<\""));
    QCOMPARE(Controls(m).Button[7]->text(), QStringLiteral("''"));
  }

  void aFragmentReplacesTheSelectionAndTheClipboard() {
    QApplication::clipboard()->setText(QStringLiteral("what the user copied"));
    Editor()->SetTextBytes("Hello World\r\nnext");
    Editor()->SendScintilla(QsciScintillaBase::SCI_SETSEL, 6UL, 11L);
    Controls(m).Button[4]->click();  // "Copyright"
    QCOMPARE(Editor()->GetText(), QByteArray("Hello &copy;\r\nnext"));
    QCOMPARE(Editor()->CaretPosition(), 12);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("&copy;"));
    QCOMPARE(Main().ModifiedFlag(), QStringLiteral("1"));
  }

  void quickCodeEntriesGoInAsTheyRead() {
    env->WriteFile(env->ProgramDir() + "qcode/html1.qvw",
                   "<a href=\"\"></a>\r\n\r\n  <td>\t</td>  \r\n\x80 &euro;");
    m->show();
    QCOMPARE(Controls(m).ListBox1->count(), 4);
    QVERIFY(Controls(m).ListBox2->count() > 20);

    Editor()->ClearText();
    QVERIFY(DoubleClickEntry(Controls(m).ListBox1, "  <td>\t</td>  "));
    QCOMPARE(Editor()->GetText(), QByteArray("  <td>\t</td>  "));
    QVERIFY(DoubleClickEntry(Controls(m).ListBox1, QString(QChar(0x20AC)) + " &euro;"));
    QCOMPARE(Editor()->GetText(), QByteArray("  <td>\t</td>  \x80 &euro;"));

    // The empty entry inserts nothing, whatever the clipboard held before.
    QApplication::clipboard()->setText(QStringLiteral("stale"));
    Controls(m).ListBox1->setCurrentRow(1);
    QTest::mouseDClick(
        Controls(m).ListBox1->viewport(), Qt::LeftButton, {},
        Controls(m).ListBox1->visualItemRect(Controls(m).ListBox1->item(1)).center());
    QCOMPARE(Editor()->GetText(), QByteArray("  <td>\t</td>  \x80 &euro;"));

    Controls(m).ListBox1->clearSelection();
    DoubleClickEmptyPart(Controls(m).ListBox1);
    QCOMPARE(env->Errors(), QStringList{"List index out of bounds (-1)"});
    QCOMPARE(Editor()->GetText(), QByteArray("  <td>\t</td>  \x80 &euro;"));

    const QString first = Controls(m).ListBox2->item(0)->text();
    QVERIFY(DoubleClickEntry(Controls(m).ListBox2, first));
    QVERIFY(Editor()->GetText().endsWith(first.toLatin1()));
  }

  void showingLoadsTheDefaultListsOnlyWhileTheChooserIsEmpty() {
    auto* chooser = forms::Get<Tfrmopenlists>(QStringLiteral("frmopenlists"));
    Controls(chooser).Edit1->setText(QStringLiteral("/chosen/list1.qvu"));
    Controls(m).ListBox1->addItem(QStringLiteral("kept"));
    m->show();
    QCOMPARE(quickcode::ListBoxEntries(Controls(m).ListBox1), QStringList{"kept"});
    QVERIFY(Controls(m).ListBox2->count() > 0);

    // A missing List 1 is reported and List 2 is not read; the window shows.
    m->hide();
    Controls(chooser).Edit1->clear();
    Controls(m).ListBox2->clear();
    QFile::remove(env->ProgramDir() + "qcode/html1.qvw");
    m->show();
    QVERIFY(m->isVisible());
    QCOMPARE(env->Errors(),
             QStringList{"Cannot open file " + env->ProgramDir() + "qcode/html1.qvw"});
    QCOMPARE(Controls(m).ListBox2->count(), 0);
  }

  void framesAndAMissingTemplate() {
    Controls(Main()).synlist->setEditText(QStringLiteral("PHP"));
    Main().SetCurFileName(env->TempDir() + "page.htm");
    Editor()->SetTextBytes("changed");
    AnswerNextModal([](QWidget* prompt) { prompt->findChild<TdxButton*>("dxButton2")->click(); });
    Controls(m).Button[10]->click();
    QCOMPARE(Main().CurFileName(), QStringLiteral("new.htm"));
    QCOMPARE(Main().StatusPanelText(0), QStringLiteral("new.htm"));
    QByteArray frames = env->ReadFile(env->ProgramDir() + "frametemp.htm");
    frames.replace("\r\n", "\n").replace("\n", "\r\n");
    QVERIFY(frames.contains("<frameset"));
    QCOMPARE(Editor()->GetText(), frames);
    QCOMPARE(Controls(Main()).synlist->currentText(), QStringLiteral("PHP"));
    QCOMPARE(Main().ModifiedFlag(), QStringLiteral("1"));

    QFile::remove(env->ProgramDir() + "frametemp.htm");
    Main().SetCurFileName(env->TempDir() + "other.htm");
    Main().SetModifiedFlag(QString());
    Controls(m).Button[10]->click();
    QCOMPARE(env->Errors(), QStringList{"Cannot open file " + env->ProgramDir() + "frametemp.htm"});
    QCOMPARE(Editor()->GetText(), QByteArray());
    QCOMPARE(Main().CurFileName(), QStringLiteral("new.htm"));
  }

  void openNewEditAndClose() {
    m->show();
    Controls(m).dxButton2->click();
    QVERIFY(forms::Find("frmopenlists")->isVisible());
    QVERIFY(!forms::Find("frmopenlists")->isModal());
    Controls(m).dxButton3->click();
    QVERIFY(forms::Find("frmnewedit")->isVisible());
    Controls(m).dxButton1->click();
    QVERIFY(!m->isVisible());
  }
};

VEXA_GUI_TEST_MAIN(TestManager)
#include "test_manager.moc"
