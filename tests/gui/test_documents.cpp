// Document files: New, Open with the syntax taken from the extension, Save and
// Save As with their dialogs, failures that change nothing, and the save
// prompt with its answers, including "Yes" when the save does not happen.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTimer>

#include "dialogs.h"
#include "document_files.h"
#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
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

// A file that can be read but not saved again, whatever the rights of the
// test: its name is as long as names may be, so the temporary file that a
// save writes beside it cannot be created.
QString UnsavableFile(const TestEnvironment& env, const QByteArray& content) {
  return env.WriteFile(env.TempDir() + QString(251, QLatin1Char('n')) + ".htm", content);
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
    QTRY_COMPARE(shown(), (QStringList{"c.Java"}));
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

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestDocuments)
#include "test_documents.moc"
