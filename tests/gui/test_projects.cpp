// The projects window: creating, listing, opening and deleting projects, the
// refused titles, and the save question before a project replaces the document.
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <cerrno>
#include <cstring>

#include "dialogs.h"
#include "editor_control.h"
#include "file_lists.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "list_clicks.h"
#include "main_window.h"
#include "manager_window.h"
#include "projects_dialog.h"
#include "read_only_path.h"
#include "window_controls.h"

class TestProjects : public QObject {
  Q_OBJECT

  std::unique_ptr<TestEnvironment> env;
  Tfrmprojects* dlg = nullptr;

  QString Store() const { return env->SharedDir() + "vexapro/projects/"; }
  QString Site(const QString& name) const { return env->TempDir() + name; }
  TForm1& Main() const { return env->Main(); }

  // The dialog as the File menu shows it, over an unmodified document.
  void ShowFromMenu() {
    Main().SetModifiedFlag(QString());
    Controls(Main()).Action7->trigger();
    QVERIFY(dlg->isVisible());
  }

  void Create(const QString& title, const QString& folder) {
    Controls(dlg).projecttitle->setText(title);
    Controls(dlg).Edit1->setText(folder);
    Controls(dlg).dxButton2->click();
  }

  void OpenListed(const QString& fileName) {
    QVERIFY(ClickEntry(Controls(dlg).FileListBox1, fileName));
    Controls(dlg).dxButton3->click();
  }

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    Main().SetCurFileName(QStringLiteral("new.htm"));
    dlg = forms::Get<Tfrmprojects>(QStringLiteral("frmprojects"));
    QVERIFY(dlg);
  }
  void cleanup() {
    dialogs::ClearFileDialogAnswers();
    dlg = nullptr;
    env.reset();
  }

  void startUpDialogIsLeftOnlyThroughItsButtons() {
    // At start-up the dialog is left by a project or by quitting; Escape does
    // not close it. The File menu offers "Close" too.
    QVERIFY(!Controls(dlg).dxButton1->isEnabled());
    bool escapeClosed = true;
    AnswerNextModal([&](QWidget* modal) {
      QTest::keyClick(modal, Qt::Key_Escape);
      escapeClosed = !modal->isVisible();
      modal->hide();
    });
    dlg->exec();
    QVERIFY(!escapeClosed);
    ShowFromMenu();
    QVERIFY(Controls(dlg).dxButton1->isEnabled());
    Controls(dlg).dxButton1->click();
    QVERIFY(!dlg->isVisible());
    QCOMPARE(Controls(dlg).FileListBox1->Folder(), QStringLiteral("/"));
  }

  void drivesAndFoldersFillTheFolderBox() {
    QDir().mkpath(Site("tree/alpha"));
    QDir().mkpath(Site("tree/.hidden"));
    ShowFromMenu();
    // The box names the folder the list shows from the first showing on.
    QVERIFY(!Controls(dlg).Dir1->Folder().isEmpty());
    QCOMPARE(Controls(dlg).Edit1->text(), Controls(dlg).Dir1->Folder());
    QCOMPARE(Controls(dlg).Drive1->Drives().value(0), QStringLiteral("/"));
    Controls(dlg).Drive1->setCurrentIndex(0);
    emit Controls(dlg).Drive1->activated(0);
    QCOMPARE(Controls(dlg).Dir1->Folder(), QStringLiteral("/"));
    QCOMPARE(Controls(dlg).Edit1->text(), QStringLiteral("/"));

    Controls(dlg).Dir1->SetFolder(Site("tree/"));
    QCOMPARE(Controls(dlg).Edit1->text(), Site("tree"));
    QVERIFY(
        !Controls(dlg).Dir1->findItems(".hidden", Qt::MatchExactly | Qt::MatchRecursive).size());
    QVERIFY(DoubleClickFolder(Controls(dlg).Dir1, "alpha"));
    QCOMPARE(Controls(dlg).Edit1->text(), Site("tree/alpha"));
    QCOMPARE(Controls(dlg).Dir1->Folder(), Site("tree/alpha"));
  }

  void createKeepsAnExistingStartPageAndOpensIt() {
    const QString site = Site("shop");
    env->WriteFile(site + "/index.htm", "<p>my own shop</p>\r\n");
    env->WriteFile(site + "/images/logo.gif", "GIF89a");
    Controls(Main()).synlist->setEditText(QStringLiteral("PHP"));
    ShowFromMenu();
    Controls(Main()).Timer1->start();
    Create("Shop", site);

    QVERIFY(env->Errors().isEmpty());
    QVERIFY(!dlg->isVisible());
    QCOMPARE(env->ReadFile(Store() + "Shop.vexa"), (site + "\r\n").toUtf8());
    QCOMPARE(env->ReadFile(site + "/index.htm"), QByteArray("<p>my own shop</p>\r\n"));
    QCOMPARE(env->ReadFile(site + "/images/logo.gif"), QByteArray("GIF89a"));
    QVERIFY(QFileInfo(site + "/private").isDir());
    QVERIFY(QFileInfo(site + "/files").isDir());
    QCOMPARE(Controls(Main()).prodir1->text(), site);
    QCOMPARE(Main().windowTitle(), "Vexa Web Editor Pro -- Shop.vexa -- " + site);
    QCOMPARE(Main().CurFileName(), site + "/index.htm");
    QCOMPARE(Main().StatusPanelText(0), site + "/index.htm");
    QCOMPARE(Controls(Main()).Edit1->GetText(), QByteArray("<p>my own shop</p>\r\n"));
    QCOMPARE(Controls(Main()).synlist->currentText(), QStringLiteral("PHP"));
    QVERIFY(!Controls(Main()).Timer1->isActive());
    // A project loaded from the menu counts as a change of the document.
    QCOMPARE(Main().ModifiedFlag(), QStringLiteral("1"));
    QCOMPARE(Controls(dlg).FileListBox1->Folder(), QStringLiteral("/"));
    auto* manager = forms::Get<Tfrmmanager>(QStringLiteral("frmmanager"));
    QCOMPARE(Controls(manager).FileListBox1->Folder(), site);
    QCOMPARE(Controls(manager).FileListBox1->FileNames(), QStringList{"index.htm"});
  }

  void createTwiceWithOneTitleOverwritesTheProjectFile() {
    env->WriteFile(env->ProgramDir() + "index.htm", "<html>start</html>\r\n");
    QDir().mkpath(Site("first"));
    QDir().mkpath(Site("second"));
    ShowFromMenu();
    Create("Same", Site("first"));
    QCOMPARE(Controls(Main()).Edit1->GetText(), QByteArray("<html>start</html>\r\n"));
    ShowFromMenu();
    Create("Same", Site("second"));
    QCOMPARE(env->ReadFile(Store() + "Same.vexa"), (Site("second") + "\r\n").toUtf8());
    QCOMPARE(QDir(Store()).entryList(QDir::Files), QStringList{"Same.vexa"});
    QCOMPARE(Controls(Main()).prodir1->text(), Site("second"));
  }

  void refusedTitlesWriteNothing() {
    const QString site = Site("safe");
    QDir().mkpath(site);
    ShowFromMenu();
    Create("No folder", QString());
    QVERIFY(env->Errors().isEmpty());
    for (const char* title : {"../outside", ".."}) {
      env->Errors().clear();
      Create(title, site);
      QCOMPARE(env->Errors(), QStringList{"Cannot create file " + Store() + title + ".vexa"});
    }
    QVERIFY(dlg->isVisible());
    QVERIFY(QDir(Store()).isEmpty());
    QVERIFY(!QFileInfo::exists(env->SharedDir() + "vexapro/outside.vexa"));
    QVERIFY(QDir(site).isEmpty());
    QVERIFY(Controls(Main()).prodir1->text().isEmpty());
  }

  void openThenF2SavesToTheStartPageWithoutADialog() {
    // A project file without a folder line opens nothing.
    env->WriteFile(Store() + "empty.vexa", "\r\n/ignored\r\n");
    ShowFromMenu();
    OpenListed("empty.vexa");
    QVERIFY(Controls(dlg).Edit2->text().isEmpty());
    QVERIFY(dlg->isVisible() && Controls(Main()).prodir1->text().isEmpty());
    Controls(dlg).dxButton1->click();

    const QString site = Site("blog");
    env->WriteFile(site + "/index.htm", "<h1>Blog</h1>\r\n");
    env->WriteFile(Store() + "blog.vexa", (site + "\r\nnothing else matters\r\n").toUtf8());
    env->WriteFile(Store() + "notes.txt", "not a project");
    ShowFromMenu();
    QCOMPARE(Controls(dlg).FileListBox1->FileNames(), (QStringList{"blog.vexa", "empty.vexa"}));
    QVERIFY(ClickEntry(Controls(dlg).FileListBox1, "blog.vexa"));
    QCOMPARE(Controls(dlg).Edit2->text(), site);
    Controls(dlg).dxButton3->click();

    QVERIFY(env->Errors().isEmpty());
    QVERIFY(!dlg->isVisible());
    QCOMPARE(Main().windowTitle(), "Vexa Web Editor Pro -- blog.vexa -- " + site);
    QCOMPARE(Controls(Main()).prodir1->text(), site);
    QCOMPARE(Main().CurFileName(), site + "/index.htm");
    QCOMPARE(Controls(Main()).Edit1->GetText(), QByteArray("<h1>Blog</h1>\r\n"));

    Controls(Main()).Edit1->SetTextBytes("<h1>Blog</h1>\r\n<p>new post</p>\r\n");
    Controls(Main()).Action2->trigger();
    QVERIFY(dialogs::TakeFileDialogRequests().isEmpty());
    QCOMPARE(env->ReadFile(site + "/index.htm"),
             QByteArray("<h1>Blog</h1>\r\n<p>new post</p>\r\n"));
  }

  void deleteLeavesTheSiteAndTheNameUntilShownAgain() {
    const QString site = Site("old");
    env->WriteFile(site + "/index.htm", "old site");
    env->WriteFile(Store() + "old.vexa", (site + "\r\n").toUtf8());
    env->WriteFile(Store() + "other.vexa", "/other\r\n");
    ShowFromMenu();
    QVERIFY(ClickEntry(Controls(dlg).FileListBox1, "other.vexa"));
    QVERIFY(ClickEntry(Controls(dlg).FileListBox1, "old.vexa"));
    Controls(dlg).dxButton4->click();
    QVERIFY(!QFileInfo::exists(Store() + "old.vexa"));
    QVERIFY(QFileInfo::exists(Store() + "other.vexa"));
    QCOMPARE(env->ReadFile(site + "/index.htm"), QByteArray("old site"));
    QCOMPARE(Controls(dlg).FileListBox1->FileNames(), (QStringList{"old.vexa", "other.vexa"}));

    // The still listed name fails to read, and the folder box keeps its text.
    QVERIFY(ClickEntry(Controls(dlg).FileListBox1, "old.vexa"));
    QCOMPARE(env->Errors(), QStringList{"File not found"});
    QCOMPARE(Controls(dlg).Edit2->text(), site);

    Controls(dlg).dxButton1->click();
    Controls(Main()).Action7->trigger();
    QCOMPARE(Controls(dlg).FileListBox1->FileNames(), QStringList{"other.vexa"});
  }

  void aProjectFileThatCannotBeDeletedIsReportedAndStays() {
    env->WriteFile(Store() + "kept.vexa", "/kept\r\n");
    ShowFromMenu();
    QVERIFY(ClickEntry(Controls(dlg).FileListBox1, "kept.vexa"));
    {
      const TReadOnlyPath readOnly(QFile::encodeName(Store().chopped(1)).toStdString());
      QVERIFY2(readOnly.Error().empty(), readOnly.Error().c_str());
      Controls(dlg).dxButton4->click();
    }
    QCOMPARE(env->Errors(), QStringList{"Cannot delete file " + Store() + "kept.vexa"});
    QCOMPARE(env->Reasons(),
             QStringList{QString::fromLocal8Bit(std::strerror(::geteuid() == 0 ? EROFS : EACCES))});
    QVERIFY(QFileInfo::exists(Store() + "kept.vexa"));

    // A name whose file another program removed meanwhile is simply gone.
    QVERIFY(QFile::remove(Store() + "kept.vexa"));
    env->Errors().clear();
    Controls(dlg).dxButton4->click();
    QCOMPARE(env->Errors(), QStringList());
  }

  void aMissingStartPageKeepsTheDocument() {
    const QString site = Site("bare");
    QDir().mkpath(site);
    env->WriteFile(Store() + "bare.vexa", (site + "\r\n").toUtf8());
    const QString doc = env->WriteFile(Site("doc.htm"), "<p>keep me</p>\r\n");
    Main().OpenDocument(doc);
    ShowFromMenu();
    OpenListed("bare.vexa");

    QCOMPARE(env->Errors(), QStringList{"Cannot open file " + site + "/index.htm"});
    QVERIFY(dlg->isVisible());
    QCOMPARE(Controls(Main()).Edit1->GetText(), QByteArray("<p>keep me</p>\r\n"));
    QCOMPARE(Main().CurFileName(), doc);
    QCOMPARE(Main().StatusPanelText(0), doc);
    QCOMPARE(Controls(Main()).prodir1->text(), site);
    QCOMPARE(Main().windowTitle(), "Vexa Web Editor Pro -- bare.vexa -- " + site);
  }

  void aModifiedDocumentIsOfferedForSavingFirst() {
    const QString site = Site("next");
    env->WriteFile(site + "/index.htm", "<p>next</p>\r\n");
    env->WriteFile(Store() + "next.vexa", (site + "\r\n").toUtf8());
    Controls(Main()).Edit1->SetTextBytes("unsaved work");
    QCOMPARE(Main().ModifiedFlag(), QStringLiteral("1"));
    Controls(Main()).Action7->trigger();

    // "Yes" with the save-as dialog cancelled: the document stays, no project.
    dialogs::QueueFileDialogAnswer(QString());
    bool asked = false;
    AnswerNextModal([&](QWidget* prompt) {
      asked = prompt->objectName() == "frmnotsaved";
      prompt->findChild<TdxButton*>("dxButton1")->click();
    });
    OpenListed("next.vexa");
    QVERIFY(asked);
    QCOMPARE(Controls(Main()).Edit1->GetText(), QByteArray("unsaved work"));
    QVERIFY(Controls(Main()).prodir1->text().isEmpty());
    QVERIFY(dlg->isVisible());

    // "Yes" with a name chosen: saved, then the project opens.
    const QString saved = Site("saved.htm");
    dialogs::QueueFileDialogAnswer(saved);
    AnswerNextModal([](QWidget* prompt) { prompt->findChild<TdxButton*>("dxButton1")->click(); });
    Controls(dlg).dxButton3->click();
    QCOMPARE(env->ReadFile(saved), QByteArray("unsaved work"));
    QCOMPARE(Controls(Main()).Edit1->GetText(), QByteArray("<p>next</p>\r\n"));
    QCOMPARE(Controls(Main()).prodir1->text(), site);

    // "No" lets the change go.
    env->WriteFile(env->ProgramDir() + "index.htm", "<p>start</p>\r\n");
    QDir().mkpath(Site("fresh"));
    Controls(Main()).Edit1->SetTextBytes("throw away");
    Controls(Main()).Action7->trigger();
    AnswerNextModal([](QWidget* prompt) { prompt->findChild<TdxButton*>("dxButton2")->click(); });
    Create("Fresh", Site("fresh"));
    QVERIFY(env->Errors().isEmpty());
    QCOMPARE(Controls(Main()).Edit1->GetText(), QByteArray("<p>start</p>\r\n"));
    QCOMPARE(Controls(Main()).prodir1->text(), Site("fresh"));
  }

  void theStartUpDialogAsksNothing() {
    const QString site = Site("first");
    QDir().mkpath(site);
    QCOMPARE(Main().ModifiedFlag(), QStringLiteral("1"));
    const TShowWatch prompt(forms::Find(QStringLiteral("frmnotsaved")), [](QWidget* shown) {
      shown->findChild<TdxButton*>(QStringLiteral("dxButton2"))->click();
    });
    AnswerNextModal([&](QWidget*) { Create("First", site); });
    QCOMPARE(dlg->exec(), int(QDialog::Accepted));
    QCOMPARE(prompt.Count(), 0);
    QCOMPARE(Controls(Main()).prodir1->text(), site);
    QCOMPARE(Main().CurFileName(), site + "/index.htm");
  }
};

VEXA_GUI_TEST_MAIN(TestProjects)
#include "test_projects.moc"
