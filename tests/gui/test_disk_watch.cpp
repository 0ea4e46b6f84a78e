// Files changed by another program: a document not modified here is
// reloaded, a modified one only when the user says so, a deleted one keeps
// its text as unsaved work; the editor's own saves and the preview's scratch
// file never count, and a save asks before it overwrites a changed file.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>

#include "dialogs.h"
#include "disk_watch.h"
#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "window_controls.h"

namespace {

// Another program replaces the file the way editors do: a new file renamed over it.
void Replace(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  QVERIFY(file.commit());
}

// Every question that opens while it lives is recorded and answered.
class TQuestions {
 public:
  explicit TQuestions(const QString& answer) {
    QObject::connect(&Poll_, &QTimer::timeout, [this, answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      Asked << box->text();
      Control<QPushButton>(*box, answer)->click();
    });
    Poll_.start(10);
  }
  QStringList Asked;

 private:
  QTimer Poll_;
};

QString Question(const QString& path) {
  return QStringLiteral(
             "The file %1 was changed by another program. Reload it and lose your "
             "changes?")
      .arg(path);
}

}  // namespace

class TestDiskWatch : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    env->Main().SetCurFileName(QStringLiteral("new.htm"));
    env->Main().SetModifiedFlag(QString());
    dialogs::ClearFileDialogAnswers();
  }
  void cleanup() {
    dialogs::ClearFileDialogAnswers();
    env.reset();
  }

  void anUnmodifiedDocumentIsReloadedWithItsSyntaxAndCaretLine() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    const QString page = env->WriteFile(env->TempDir() + "page.htm", "a\r\nb\r\nc\r\nd\r\n");
    f.OpenDocument(page);
    // The user chose another syntax after opening, and stands on the fourth line.
    f.SetSyntaxText(QStringLiteral("XML"));
    f.SynlistChange();
    f.SetModifiedFlag(QString());
    e.SetCaretPosition(e.LineStart(3));
    TQuestions questions(QStringLiteral("Reload"));

    Replace(page, "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
    f.DiskWatch().Check();
    QCOMPARE(e.GetText(), QByteArray("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n"));
    QCOMPARE(e.CaretPosition(), e.LineStart(3));
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("XML"));
    QCOMPARE(f.ModifiedFlag(), QString());
    QCOMPARE(f.CurFileName(), page);
    QCOMPARE(f.statusBar()->currentMessage(),
             page + QStringLiteral(" was changed by another program and has been reloaded"));

    // A shorter text: the caret goes to the last line there is.
    Replace(page, "only");
    f.DiskWatch().Check();
    QCOMPARE(e.GetText(), QByteArray("only"));
    QCOMPARE(e.CaretLine(), 0);
    QVERIFY(questions.Asked.isEmpty());
    QVERIFY(env->Errors().isEmpty());
  }

  void theWatchNoticesByItselfAndAgainAfterAReplacement() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    // No automatic preview: its scratch file beside the document would bring
    // the folder's notices, and this is about the file's own watch.
    f.SetSyntaxText(QStringLiteral("SQL"));
    const QString page = env->WriteFile(env->TempDir() + "watched.txt", "first");
    f.OpenDocument(page);
    QVERIFY(!Controls(f).Check1->isChecked());
    Replace(page, "second version");
    QTRY_COMPARE_WITH_TIMEOUT(e.GetText(), QByteArray("second version"), 10000);
    // The rename ended the file's own watch; it was taken up again.
    Replace(page, "third");
    QTRY_COMPARE_WITH_TIMEOUT(e.GetText(), QByteArray("third"), 10000);
    // Written in place, as some programs do.
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("fourth, in place");
    file.close();
    QTRY_COMPARE_WITH_TIMEOUT(e.GetText(), QByteArray("fourth, in place"), 10000);
    QCOMPARE(f.ModifiedFlag(), QString());
  }

  void aModifiedDocumentAsksAndKeepingMeansTheNextSaveWritesIt() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    const QString page = env->WriteFile(env->TempDir() + "mine.htm", "original");
    f.OpenDocument(page);
    QTest::keyClicks(&e, "my ");
    const QByteArray mine = e.GetText();
    {
      TQuestions questions(QStringLiteral("Keep mine"));
      Replace(page, "theirs, longer");
      f.DiskWatch().Check();
      QCOMPARE(questions.Asked, QStringList{Question(page)});
      QCOMPARE(e.GetText(), mine);
      QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
      // Asked once: the change is known now, and F2 overwrites without asking again.
      f.DiskWatch().Check();
      Controls(f).Action2->trigger();
      QCOMPARE(questions.Asked.size(), 1);
    }
    QCOMPARE(TestEnvironment::ReadFile(page), mine);
    QCOMPARE(f.ModifiedFlag(), QString());

    QTest::keyClicks(&e, "more ");
    TQuestions questions(QStringLiteral("Reload"));
    Replace(page, "theirs again");
    f.DiskWatch().Check();
    QCOMPARE(questions.Asked, QStringList{Question(page)});
    QCOMPARE(e.GetText(), QByteArray("theirs again"));
    QCOMPARE(f.ModifiedFlag(), QString());
    QVERIFY(env->Errors().isEmpty());
  }

  void aDeletedFileKeepsItsTextAsUnsavedWork() {
    TForm1& f = env->Main();
    const QString page = env->WriteFile(env->TempDir() + "gone.htm", "keep me");
    f.OpenDocument(page);
    TQuestions questions(QStringLiteral("Reload"));
    QVERIFY(QFile::remove(page));
    f.DiskWatch().Check();
    QCOMPARE(Controls(f).Edit1->GetText(), QByteArray("keep me"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QCOMPARE(f.CurFileName(), page);
    QCOMPARE(f.statusBar()->currentMessage(),
             page + QStringLiteral(
                        " was deleted by another program; the text is kept as unsaved changes"));
    // Said once; F2 writes the file again.
    f.statusBar()->clearMessage();
    f.DiskWatch().Check();
    QCOMPARE(f.statusBar()->currentMessage(), QString());
    Controls(f).Action2->trigger();
    QCOMPARE(TestEnvironment::ReadFile(page), QByteArray("keep me"));
    QVERIFY(questions.Asked.isEmpty());
  }

  void ownSavesAndTheScratchFileAreNoChange() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    const QString page = env->WriteFile(env->TempDir() + "own.htm", "<p>x</p>");
    f.OpenDocument(page);
    TQuestions questions(QStringLiteral("Reload"));
    QTest::keyClicks(&e, "typed ");
    const QByteArray typed = e.GetText();
    Controls(f).Action2->trigger();
    Controls(f).dxButton2->click();  // the scratch file beside the document
    QVERIFY(QFile::exists(env->TempDir() + "temp.vwe"));
    QTest::keyClicks(&e, "again ");
    const QByteArray unsaved = e.GetText();
    // The watcher's own notices come and go, too: the save and the scratch
    // file were written before this, so their notices are all in, and they
    // end in one look at the file after the pause.
    auto* pause = f.findChild<QTimer*>(QStringLiteral("DiskWatchPause"));
    QVERIFY(pause != nullptr);
    QSignalSpy looked(pause, &QTimer::timeout);
    QTRY_VERIFY(!looked.isEmpty() && !pause->isActive());
    f.DiskWatch().Check();
    QVERIFY(questions.Asked.isEmpty());
    QCOMPARE(f.statusBar()->currentMessage(), QString());
    QCOMPARE(e.GetText(), unsaved);
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QCOMPARE(TestEnvironment::ReadFile(page), typed);

    // A touch, or the same bytes written again, is not a change either.
    Replace(page, typed);
    f.DiskWatch().Check();
    QVERIFY(questions.Asked.isEmpty());
    QCOMPARE(e.GetText(), unsaved);
  }

  void aSaveAsksBeforeItOverwritesAChangeNotYetNoticed() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    const QString page = env->WriteFile(env->TempDir() + "race.htm", "start");
    f.OpenDocument(page);
    QTest::keyClicks(&e, "mine ");
    {
      // The other program wrote just before F2, before any notice came.
      TQuestions questions(QStringLiteral("Reload"));
      Replace(page, "theirs");
      Controls(f).Action2->trigger();
      QCOMPARE(questions.Asked, QStringList{Question(page)});
      QCOMPARE(TestEnvironment::ReadFile(page), QByteArray("theirs"));
      QCOMPARE(e.GetText(), QByteArray("theirs"));
      QCOMPARE(f.ModifiedFlag(), QString());
    }
    QTest::keyClicks(&e, "mine ");
    TQuestions questions(QStringLiteral("Keep mine"));
    Replace(page, "theirs, twice");
    Controls(f).Action2->trigger();
    QCOMPARE(questions.Asked, QStringList{Question(page)});
    QCOMPARE(TestEnvironment::ReadFile(page), QByteArray("mine theirs"));
    QCOMPARE(f.ModifiedFlag(), QString());
    QVERIFY(env->Errors().isEmpty());
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestDiskWatch)
#include "test_disk_watch.moc"
