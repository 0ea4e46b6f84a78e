// Document files: New, Open with the syntax taken from the extension, Save and
// Save As with their dialogs, failures that change nothing, and the save
// prompt with its answers, including "Yes" when the save does not happen.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTimer>

#include "dialogs.h"
#include "document_files.h"
#include "editor_control.h"
#include "error_guard.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "handed_files.h"
#include "main_window.h"
#include "paths.h"
#include "read_only_path.h"
#include "save_prompt.h"
#include "window_controls.h"

namespace {

const QByteArray kTemplateText =
    "<html>\r\n\r\n<head>\r\n<title>New Page</title>\r\n"
    "<meta name=\"GENERATOR\" content=\"Vexa Web Editor 3.0 Pro\">\r\n</head>\r\n";

Tfrmnotsaved& Prompt() { return *forms::Get<Tfrmnotsaved>(QStringLiteral("frmnotsaved")); }

// Answers the next save prompt; `then` runs right after the click, while the
// prompt may still be open.
void AnswerPrompt(bool yes, std::function<void()> then = {}) {
  AnswerNextModal([yes, then](QWidget* modal) {
    auto* prompt = qobject_cast<Tfrmnotsaved*>(modal);
    QVERIFY(prompt != nullptr);
    (yes ? Controls(prompt).dxButton1 : Controls(prompt).dxButton2)->click();
    if (then) then();
  });
}

struct DocumentState {
  QByteArray Text;
  QString Name;
  QString Panel;
  QString Flag;
  QString Syntax;
  bool operator==(const DocumentState& o) const {
    return Text == o.Text && Name == o.Name && Panel == o.Panel && Flag == o.Flag &&
           Syntax == o.Syntax;
  }
};

DocumentState StateOf(TForm1& f) {
  return {Controls(f).Edit1->GetText(), f.CurFileName(), f.StatusPanelText(0), f.ModifiedFlag(),
          Controls(f).synlist->currentText()};
}

char* toString(const DocumentState& s) {
  return QTest::toString(QStringLiteral("[%1|%2|%3|%4|%5]")
                             .arg(QString::fromLatin1(s.Text), s.Name, s.Panel, s.Flag, s.Syntax));
}

// Sets or clears a file's immutable flag, which binds the superuser too.
bool SetImmutable(const QString& path, bool on) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return done;
}

// A file that can be read but neither replaced nor written, whatever the
// rights of the test: write-protected, and immutable for the superuser, whom
// permissions do not bind. Empty when the file system cannot make one.
QString UnsavableFile(const TestEnvironment& env, const QByteArray& content) {
  const QString path = env.WriteFile(env.TempDir() + "locked.htm", content);
  if (::geteuid() != 0) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    return path;
  }
  return SetImmutable(path, true) ? path : QString();
}

}  // namespace

class TestDocuments : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    // As the start-up sequence leaves it.
    env->Main().SetCurFileName(QStringLiteral("new.htm"));
    env->Main().SetModifiedFlag(QString());
    dialogs::ClearFileDialogAnswers();
  }
  void cleanup() {
    dialogs::ClearFileDialogAnswers();
    // An immutable file would outlive its temporary folder.
    const QString locked = env->TempDir() + "locked.htm";
    if (QFile::exists(locked) && ::geteuid() == 0) SetImmutable(locked, false);
    env.reset();
  }

  void newKeepsTheSyntaxAndSetsTheFlagToZero() {
    TForm1& f = env->Main();
    f.SetSyntaxText(QStringLiteral("PHP"));
    Controls(f).Edit1->SetTextBytes("changed");
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QSignalSpy prompts(&Prompt(), &QDialog::finished);
    AnswerPrompt(false);
    Controls(f).Action1->trigger();
    QCOMPARE(prompts.count(), 1);
    QCOMPARE(Controls(f).Edit1->GetText(), kTemplateText);
    QCOMPARE(f.CurFileName(), QStringLiteral("new.htm"));
    QCOMPARE(f.StatusPanelText(0), QStringLiteral("new.htm"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("0"));
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("PHP"));
    QVERIFY(!Controls(f).Check1->isChecked());
    QVERIFY(!Controls(f).Timer1->isActive());

    // "0" is not modified: Open asks nothing before its dialog.
    dialogs::QueueFileDialogAnswer(QString());
    Controls(f).FileOpen1->trigger();
    QCOMPARE(prompts.count(), 1);
    const QList<dialogs::FileDialogRequest> asked = dialogs::TakeFileDialogRequests();
    QCOMPARE(asked.size(), 1);
    QVERIFY(!asked[0].Save);
    QCOMPARE(asked[0].Filter, QString::fromLatin1(documents::kOpenFilter));
    QCOMPARE(asked[0].InitialFolder, QStringLiteral("/"));
    QCOMPARE(asked[0].DefaultExt, QStringLiteral("*.htm;*.html"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("0"));
  }

  void openChoosesTheSyntaxByExtension() {
    TForm1& f = env->Main();
    const QList<QPair<QString, QString>> rows = {
        {"page.htm", "HTML"},     {"page.html", "HTML"},        {"page.php", "PHP"},
        {"page.vbs", "VBSCRIPT"}, {"page.java", "JAVA SCRIPT"}, {"page.js", "JAVA SCRIPT"},
        {"page.xml", "XML"},      {"page.pas", "DELPHI SCRIPT"}};
    const QByteArray content = "<a href=\"x\">{ 'text' } // end</a>\nSELECT 1;\r\n";
    for (const auto& [name, syntax] : rows) {
      f.SetSyntaxText(QStringLiteral("SQL"));
      f.SetModifiedFlag(QString());
      const QString path = env->WriteFile(env->TempDir() + name, content);
      f.OpenDocument(path);
      QCOMPARE(Controls(f).synlist->currentText(), syntax);
      QCOMPARE(f.CurFileName(), path);
      QCOMPARE(f.StatusPanelText(0), path);
      QCOMPARE(f.ModifiedFlag(), QString());
      QCOMPARE(Controls(f).Check1->isChecked(), syntax == QLatin1String("HTML"));
    }
    QCOMPARE(Controls(f).Edit1->GetText(),
             QByteArray("<a href=\"x\">{ 'text' } // end</a>\r\nSELECT 1;\r\n"));

    // No row matches: the syntax stays as chosen.
    for (const QString name : {"notes.txt", "index.HTM", "page.Html", "page.php3", "README",
                               "site.htm/page", "page.htm.bak"}) {
      f.SetSyntaxText(QStringLiteral("SQL"));
      f.OpenDocument(env->WriteFile(env->TempDir() + name, content));
      QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("SQL"));
      QVERIFY(!Controls(f).Check1->isChecked());
    }
    QVERIFY(env->Errors().isEmpty());
  }

  void openFailureChangesNothing() {
    TForm1& f = env->Main();
    const QString named = env->WriteFile(env->TempDir() + "kept.xml", "<a/>");
    f.OpenDocument(named);
    Controls(f).Edit1->AppendLine("<b/>");
    const DocumentState before = StateOf(f);
    QCOMPARE(before.Flag, QStringLiteral("1"));
    const QString missing = env->TempDir() + "missing.htm";
    AnswerPrompt(false);
    dialogs::QueueFileDialogAnswer(missing);
    Controls(f).FileOpen1->trigger();
    QCOMPARE(env->Errors(), QStringList{QStringLiteral("Cannot open file ") + missing});
    QCOMPARE(StateOf(f), before);
  }

  void aFailedOpenOrSaveSaysWhyUnderItsMessage() {
    TForm1& f = env->Main();
    const QString fifo = env->TempDir() + "pipe.htm";
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    const QString locked = env->TempDir() + "locked";
    QVERIFY(QDir().mkpath(locked));
    struct Case {
      QString Path;
      bool Save;
      QString Reason;
    };
    const auto said = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    const QList<Case> cases = {
        {env->TempDir() + "none.htm", false, said(ENOENT)},
        {fifo, false, QStringLiteral("Not a regular file")},
        {env->TempDir() + "no folder/page.htm", true, said(ENOENT)},
        {fifo, true, QStringLiteral("A FIFO (named pipe) is in the way")},
        {locked + "/page.htm", true, said(::geteuid() == 0 ? EROFS : EACCES)},
    };
    const TReadOnlyPath readOnly(QFile::encodeName(locked).toStdString());
    QVERIFY2(readOnly.Error().empty(), readOnly.Error().c_str());
    for (const Case& c : cases) {
      env->Errors().clear();
      env->Reasons().clear();
      f.SetModifiedFlag(QString());
      dialogs::QueueFileDialogAnswer(c.Path);
      (c.Save ? Controls(f).FileSaveAs1 : Controls(f).FileOpen1)->trigger();
      const QString message = c.Save ? QStringLiteral("Cannot create file ") + c.Path
                                     : QStringLiteral("Cannot open file ") + c.Path;
      // The message stays as it always was; the reason comes beside it.
      QCOMPARE(env->Errors(), QStringList{message});
      QCOMPARE(env->Reasons(), QStringList{c.Reason});
    }
  }

  void theErrorBoxShowsTheReasonOnALineOfItsOwn() {
    TForm1& f = env->Main();
    const ErrorReporter recorder = SetErrorReporter({});
    const QString path = env->TempDir() + "no folder/page.htm";
    QString text;
    QString reason;
    AnswerNextModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box != nullptr);
      text = box->text();
      reason = box->informativeText();
      box->button(QMessageBox::Ok)->click();
    });
    dialogs::QueueFileDialogAnswer(path);
    Controls(f).FileSaveAs1->trigger();
    SetErrorReporter(recorder);
    QCOMPARE(text, QStringLiteral("Cannot create file ") + path);
    QCOMPARE(reason, QString::fromLocal8Bit(std::strerror(ENOENT)));
  }

  void saveAndSaveAs() {
    TForm1& f = env->Main();
    f.SetSyntaxText(QStringLiteral("XML"));
    Controls(f).Edit1->SetTextBytes("one\ntwo");
    const QString path = env->TempDir() + "saved.php";
    dialogs::QueueFileDialogAnswer(path);
    Controls(f).Action2->trigger();  // untitled: Save runs Save As
    const QList<dialogs::FileDialogRequest> asked = dialogs::TakeFileDialogRequests();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].Save);
    QCOMPARE(asked[0].Filter, QString::fromLatin1(documents::kSaveFilter));
    QCOMPARE(asked[0].InitialFolder, QStringLiteral("/"));
    QCOMPARE(TestEnvironment::ReadFile(path), QByteArray("one\r\ntwo"));
    QCOMPARE(f.CurFileName(), path);
    QCOMPARE(f.StatusPanelText(0), path);
    QCOMPARE(f.ModifiedFlag(), QString());
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("XML"));  // not taken from ".php"

    // A named document is saved in place, without a dialog.
    Controls(f).Edit1->AppendLine("three");
    Controls(f).Action2->trigger();
    QVERIFY(dialogs::TakeFileDialogRequests().isEmpty());
    QCOMPARE(TestEnvironment::ReadFile(path), QByteArray("one\r\ntwo\r\nthree"));
    QCOMPARE(f.ModifiedFlag(), QString());

    // With a project open the dialogs start in its folder.
    f.SetProjectDir(env->TempDir() + "site");
    const QString other = env->TempDir() + "other.htm";
    dialogs::QueueFileDialogAnswer(other);
    Controls(f).FileSaveAs1->trigger();
    QCOMPARE(dialogs::TakeFileDialogRequests().value(0).InitialFolder, env->TempDir() + "site/");
    QCOMPARE(f.CurFileName(), other);
    QCOMPARE(TestEnvironment::ReadFile(other), QByteArray("one\r\ntwo\r\nthree"));

    // Cancelling the dialog of an untitled document keeps it untitled and modified.
    Controls(f).Action1->trigger();
    Controls(f).Edit1->AppendLine("x");
    dialogs::QueueFileDialogAnswer(QString());
    Controls(f).Action2->trigger();
    QCOMPARE(f.CurFileName(), QStringLiteral("new.htm"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
  }

  void failedSavesKeepTheFlagTheNameAndTheOldFile() {
    TForm1& f = env->Main();
    const QString path = UnsavableFile(*env, "old content");
    if (path.isEmpty()) QSKIP("no immutable files on this file system");
    f.OpenDocument(path);
    Controls(f).Edit1->AppendLine("new line");
    Controls(f).Action2->trigger();
    QCOMPARE(env->Errors(), QStringList{QStringLiteral("Cannot create file ") + path});
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QCOMPARE(TestEnvironment::ReadFile(path), QByteArray("old content"));

    const QString elsewhere = env->TempDir() + "no such folder/copy.htm";
    dialogs::QueueFileDialogAnswer(elsewhere);
    Controls(f).FileSaveAs1->trigger();
    QCOMPARE(env->Errors().last(), QStringLiteral("Cannot create file ") + elsewhere);
    QCOMPARE(f.CurFileName(), path);
    QCOMPARE(f.StatusPanelText(0), path);
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QVERIFY(!QFile::exists(elsewhere));
  }

  void promptYesSavesThenTheOperationGoesOn() {
    TForm1& f = env->Main();
    const QString path = env->WriteFile(env->TempDir() + "page.htm", "<p>old</p>");
    f.OpenDocument(path);
    Controls(f).Edit1->AppendLine("<p>added</p>");
    AnswerPrompt(true);
    Controls(f).Action1->trigger();
    QCOMPARE(TestEnvironment::ReadFile(path), QByteArray("<p>old</p>\r\n<p>added</p>"));
    QCOMPARE(Controls(f).Edit1->GetText(), kTemplateText);
    QCOMPARE(f.CurFileName(), QStringLiteral("new.htm"));
  }

  void promptYesWithoutASaveKeepsTheDocument() {
    TForm1& f = env->Main();
    Controls(f).Edit1->SetTextBytes("unsaved work");
    const DocumentState before = StateOf(f);

    // New: "Yes", then the save-as dialog is cancelled.
    AnswerPrompt(true);
    dialogs::QueueFileDialogAnswer(QString());
    Controls(f).Action1->trigger();
    QCOMPARE(StateOf(f), before);

    // Open: the open dialog is not even shown.
    AnswerPrompt(true);
    dialogs::QueueFileDialogAnswer(QString());
    Controls(f).FileOpen1->trigger();
    const QList<dialogs::FileDialogRequest> asked = dialogs::TakeFileDialogRequests();
    QCOMPARE(asked.size(), 2);
    QVERIFY(asked[0].Save && asked[1].Save);
    QCOMPARE(StateOf(f), before);

    // Other windows and closing the program get the same answer.
    AnswerPrompt(true);
    dialogs::QueueFileDialogAnswer(QString());
    QVERIFY(!MainShell().SavePrompt());
    AnswerPrompt(true);
    dialogs::QueueFileDialogAnswer(QString());
    QVERIFY(!f.close());
    QCOMPARE(StateOf(f), before);

    // "No" still discards, as the user chose.
    AnswerPrompt(false);
    Controls(f).Action1->trigger();
    QCOMPARE(Controls(f).Edit1->GetText(), kTemplateText);
  }

  void promptStaysOpenAfterAFailedSave() {
    TForm1& f = env->Main();
    const QString path = UnsavableFile(*env, "old");
    if (path.isEmpty()) QSKIP("no immutable files on this file system");
    f.OpenDocument(path);
    Controls(f).Edit1->AppendLine("more");
    bool stillOpen = false;
    // "Yes" fails with an error and asks again; "No" then lets New go on.
    AnswerPrompt(true, [&] {
      stillOpen = Prompt().isVisible();
      AnswerPrompt(false);
    });
    Controls(f).Action1->trigger();
    QVERIFY(stillOpen);
    QCOMPARE(env->Errors(), QStringList{QStringLiteral("Cannot create file ") + path});
    QCOMPARE(TestEnvironment::ReadFile(path), QByteArray("old"));
    QCOMPARE(Controls(f).Edit1->GetText(), kTemplateText);
  }

  void promptWindow() {
    Tfrmnotsaved& p = Prompt();
    QCOMPARE(p.windowTitle(), QStringLiteral("File Save"));
    QCOMPARE(p.minimumSize(), QSize(253, 76));
    QCOMPARE(p.maximumSize(), QSize(253, 76));
    QVERIFY(!(p.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(Controls(p).Label1->text(), QStringLiteral("Do you want to save this file?"));
    QVERIFY(Controls(p).Label1->font().bold());
    QCOMPARE(Controls(p).dxButton1->text(), QStringLiteral("Yes"));
    QCOMPARE(Controls(p).dxButton2->text(), QStringLiteral("No"));
    QVERIFY(Controls(p).dxButton1->geometry().right() < Controls(p).dxButton2->geometry().left());
    QVERIFY(Controls(p).Bevel1->geometry().top() > Controls(p).Label1->geometry().bottom());
    p.show();
    QTest::keyClick(&p, Qt::Key_Escape);  // no way out but the two answers
    QVERIFY(p.isVisible());
    p.hide();
  }

  void fileDialogsShowTheFiltersAndMatchOurPatterns() {
    const QList<dialogs::FileFilterEntry> open =
        dialogs::ParseFilter(QString::fromLatin1(documents::kOpenFilter));
    QCOMPARE(open.size(), 8);
    QCOMPARE(open[0].Description, QStringLiteral("Html Files (*.html, *.htm)"));
    QCOMPARE(open[1].Patterns, QStringLiteral("*.php;*.php?"));
    QCOMPARE(dialogs::ParseFilter(QString::fromLatin1(documents::kSaveFilter)).size(), 9);

    const QString folder = env->TempDir() + "files/";
    for (const char* name :
         {"a.php", "a.php3", "a.php34", "b.htm", "b.html", "c.Java", "c.java", "d.txt"}) {
      env->WriteFile(folder + name, "x");
    }
    dialogs::FileDialogRequest request;
    request.Filter = QString::fromLatin1(documents::kOpenFilter);
    request.InitialFolder = folder;
    request.DefaultExt = QString::fromLatin1(documents::kDefaultExt);
    std::unique_ptr<QFileDialog> dialog = dialogs::CreateFileDialog(nullptr, request);
    QStringList descriptions;
    for (const auto& e : open) descriptions << e.Description;
    QCOMPARE(dialog->nameFilters(), descriptions);
    QCOMPARE(dialog->selectedNameFilter(), descriptions[0]);
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("htm"));
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);

    auto* filter = dialog->proxyModel();
    auto* files = qobject_cast<QFileSystemModel*>(filter->sourceModel());
    QVERIFY(files != nullptr);
    auto shown = [&] {
      QStringList names;
      const QModelIndex root = filter->mapFromSource(files->index(folder));
      for (int i = 0; i < filter->rowCount(root); ++i) {
        names << filter->index(i, 0, root).data().toString();
      }
      names.sort();
      return names;
    };
    QTRY_COMPARE(shown(), (QStringList{"b.htm", "b.html"}));
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types != nullptr);
    for (int i : {1, 2}) {
      types->setCurrentIndex(i);
      emit types->activated(i);
      emit types->textActivated(types->itemText(i));
    }
    // Names match the patterns without regard to case.
    QTRY_COMPARE(shown(), (QStringList{"c.Java", "c.java"}));
    types->setCurrentIndex(1);
    emit types->activated(1);
    emit types->textActivated(types->itemText(1));
    QTRY_COMPARE(shown(), (QStringList{"a.php", "a.php3"}));

    request.Save = true;
    request.Filter = QString::fromLatin1(documents::kSaveFilter);
    dialog = dialogs::CreateFileDialog(nullptr, request);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(dialog->nameFilters().first(), QStringLiteral("Htm Files(*.htm)"));
  }

  // Files from the command line wait for the start-up sequence, which would
  // otherwise put the template's state back over them.
  void handedFilesOpenTheFirstOnceStarted() {
    TForm1& f = env->Main();
    env->WriteFile(paths::SettingsFile(), "[Vexa options]\r\nShow Manager Start=0\r\n");
    const QString page = env->WriteFile(env->TempDir() + "site/page.php", "<?php echo 1; ?>");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(env->TempDir());
    app::OpenWhenStarted({QStringLiteral("site/page.php"), QStringLiteral("b.htm")});
    QDir::setCurrent(cwd);
    QCOMPARE(Controls(f).Edit1->GetText(), kTemplateText);
    f.FormShow();
    QCOMPARE(StateOf(f),
             (DocumentState{"<?php echo 1; ?>", page, page, QString(), QStringLiteral("PHP")}));
    QCOMPARE(f.statusBar()->currentMessage(),
             QStringLiteral("Only one document is open at a time: 1 other file was not opened"));
    QVERIFY(env->Errors().isEmpty());
  }

  void aHandedFileThatCannotBeOpenedLeavesTheTemplate() {
    TForm1& f = env->Main();
    env->WriteFile(paths::SettingsFile(), "[Vexa options]\r\nShow Manager Start=0\r\n");
    const QString missing = env->TempDir() + "missing.htm";
    app::OpenWhenStarted({missing});
    f.FormShow();
    QCOMPARE(env->Errors(), QStringList{QStringLiteral("Cannot open file ") + missing});
    QCOMPARE(StateOf(f),
             (DocumentState{kTemplateText, QStringLiteral("new.htm"), QStringLiteral("new.htm"),
                            QString(), QStringLiteral("HTML")}));
    QCOMPARE(f.statusBar()->currentMessage(), QString());
    // The task ran once: a later start-up sequence opens nothing.
    f.FormShow();
    QCOMPARE(env->Errors().size(), 1);
  }

  void openTakesATypedNameAsItIsWhenThatFileExists() {
    const QString folder = env->TempDir() + "typed/";
    const QString readme = env->WriteFile(folder + "README", "plain");
    env->WriteFile(folder + "index.htm", "page");
    dialogs::FileDialogRequest request;
    request.Filter = QString::fromLatin1(documents::kOpenFilter);
    request.InitialFolder = folder;
    request.DefaultExt = QString::fromLatin1(documents::kDefaultExt);
    auto accepted = [&](const QString& typed) {
      std::unique_ptr<QFileDialog> dialog = dialogs::CreateFileDialog(nullptr, request);
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (name == nullptr) return QStringLiteral("no name field");
      dialog->show();
      name->setText(typed);
      // A refused name ("File not found") shows a box, modal, before accept() returns.
      bool refused = false;
      {
        TModalAnswers answers([&refused](QWidget* box) {
          refused = true;
          box->close();
        });
        QMetaObject::invokeMethod(dialog.get(), "accept");
      }
      if (refused || dialog->result() != QDialog::Accepted) return QStringLiteral("refused");
      return dialog->selectedFiles().value(0);
    };
    QCOMPARE(accepted(readme), readme);
    QCOMPARE(accepted(QStringLiteral("README")), readme);
    // A name that does not exist as typed still gets the default extension.
    QCOMPARE(accepted(folder + "index"), folder + "index.htm");
    QCOMPARE(accepted(folder + "missing"), QStringLiteral("refused"));
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestDocuments)
#include "test_documents.moc"
