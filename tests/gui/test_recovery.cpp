// Recovery of unsaved work: the copy of a modified document in the shared
// folder, written a short while after a change and gone after a save, a
// replacement or a normal close; and an earlier run's copy offered at start,
// restored as a modified document or discarded.
#include <unistd.h>

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "dialogs.h"
#include "disk_watch.h"
#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "paths.h"
#include "read_only_path.h"
#include "recovery.h"
#include "recovery_copy.h"
#include "save_prompt.h"
#include "startup.h"
#include "window_controls.h"

namespace {

std::optional<RecoveryCopy> ReadCopy(const QString& path) {
  const QByteArray bytes = TestEnvironment::ReadFile(path);
  if (bytes.isEmpty()) return {};
  return ParseRecoveryCopy(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QStringList RecoveryFiles() {
  return QDir(paths::RecoveryDir()).entryList(QDir::Files | QDir::Hidden);
}

// An earlier run's copy, as that run wrote it.
QString PlantCopy(const TestEnvironment& env, const QString& id, const QString& fileName,
                  const QString& syntax, const QByteArray& text, std::int64_t savedAt,
                  const QString& diskState = QString()) {
  RecoveryCopy copy;
  copy.DiskState = diskState.toStdString();
  copy.FileName = QFile::encodeName(fileName).toStdString();
  copy.Syntax = syntax.toStdString();
  copy.SavedAt = savedAt;
  copy.Text = text.toStdString();
  const std::string bytes = FormatRecoveryCopy(copy);
  return env.WriteFile(paths::RecoveryDir() + id + ".vwr",
                       QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

struct Offered {
  bool Shown = false;
  QString Caption;
  QString Text;
  QString Default;
};

// Answers the recovery question with the button of that caption.
void Answer(const QString& button, Offered* offered) {
  AnswerNextModal([button, offered](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box != nullptr);
    offered->Shown = true;
    offered->Caption = box->windowTitle();
    offered->Text = box->text();
    if (box->defaultButton() != nullptr) offered->Default = box->defaultButton()->text();
    Control<QPushButton>(*box, button)->click();
  });
}

// Runs the start's offer of earlier work and tells whether it asked anything
// (what it asked is closed at once).
bool OfferAsksAnything(TForm1& f) {
  bool shown = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&shown] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shown = true;
      modal->close();
    }
  });
  poll.start(10);
  startup::OfferRecovery(f);
  return shown;
}

}  // namespace

class TestRecovery : public QObject {
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

  void aModifiedDocumentIsCopiedAShortWhileAfterTheChange() {
    TForm1& f = env->Main();
    const QString page = env->WriteFile(env->TempDir() + "page.php", "<?php\r\necho 1;\r\n");
    f.OpenDocument(page);
    auto* delay = Control<QTimer>(f, QStringLiteral("RecoveryDelay"));
    QVERIFY(!delay->isActive());
    QTest::keyClicks(Controls(f).Edit1, "ab");
    // One copy for a burst of keys, not one per key: the delay is not restarted.
    QVERIFY(delay->isActive());
    QVERIFY(delay->isSingleShot());
    QCOMPARE(delay->interval(), TRecovery::kDelayMs);
    QVERIFY(!QFile::exists(f.Recovery().CopyPath()));
    QVERIFY(f.Recovery().WriteCopy());

    QVERIFY(f.Recovery().CopyPath().startsWith(env->SharedDir() + "vexapro/recovery/"));
    const auto copy = ReadCopy(f.Recovery().CopyPath());
    QVERIFY(copy);
    QCOMPARE(QFile::decodeName(QByteArray::fromStdString(copy->FileName)), page);
    QCOMPARE(QString::fromStdString(copy->Syntax), QStringLiteral("PHP"));
    QCOMPARE(QByteArray::fromStdString(copy->Text), Controls(f).Edit1->GetText());
    QVERIFY(QByteArray::fromStdString(copy->Text).startsWith("ab<?php"));
    QVERIFY(qAbs(copy->SavedAt - QDateTime::currentSecsSinceEpoch()) < 60);

    // Saved: the copy goes, and a document that is not modified gets none.
    Controls(f).Action2->trigger();
    QVERIFY(!QFile::exists(f.Recovery().CopyPath()));
    QVERIFY(!delay->isActive());
    QVERIFY(!f.Recovery().WriteCopy());
    QVERIFY(!QFile::exists(f.Recovery().CopyPath()));
    QVERIFY(env->Errors().isEmpty());
  }

  void theCopyGoesWhenTheDocumentIsReplacedOrTheProgramCloses() {
    TForm1& f = env->Main();
    Controls(f).Edit1->SetTextBytes("draft");
    QVERIFY(f.Recovery().WriteCopy());
    QVERIFY(QFile::exists(f.Recovery().CopyPath()));
    // "No" in the save prompt, then New replaces the document.
    AnswerNextModal(
        [](QWidget* modal) { Controls(qobject_cast<Tfrmnotsaved*>(modal)).dxButton2->click(); });
    Controls(f).Action1->trigger();
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("0"));
    QVERIFY(!QFile::exists(f.Recovery().CopyPath()));

    // "Yes" with the save-as dialog cancelled keeps the unsaved work and its copy.
    Controls(f).Edit1->SetTextBytes("second draft");
    QVERIFY(f.Recovery().WriteCopy());
    dialogs::QueueFileDialogAnswer(QString());
    AnswerNextModal(
        [](QWidget* modal) { Controls(qobject_cast<Tfrmnotsaved*>(modal)).dxButton1->click(); });
    QVERIFY(!startup::FormClose(f));
    QVERIFY(QFile::exists(f.Recovery().CopyPath()));

    // A normal close ("No") leaves nothing behind, not even the run's lock.
    AnswerNextModal(
        [](QWidget* modal) { Controls(qobject_cast<Tfrmnotsaved*>(modal)).dxButton2->click(); });
    QVERIFY(startup::FormClose(f));
    QCOMPARE(RecoveryFiles(), QStringList());
    QVERIFY(env->Errors().isEmpty());
  }

  void aCopyThatCannotBeWrittenIsReportedOnceInTheStatusBar() {
    TForm1& f = env->Main();
    // The recovery folder cannot be created: a file is in its way.
    QDir(env->SharedDir() + "vexapro").removeRecursively();
    env->WriteFile(env->SharedDir() + "vexapro", "not a folder");
    Controls(f).Edit1->SetTextBytes("typed");
    QVERIFY(!f.Recovery().WriteCopy());
    const QString message = f.statusBar()->currentMessage();
    // Said as what it is, with the system's reason.
    const QString expected = QStringLiteral(
                                 "Unsaved work cannot be kept for recovery: Cannot "
                                 "create folder ") +
                             paths::RecoveryDir() + " (";
    QVERIFY2(message.startsWith(expected), qPrintable(message));
    QVERIFY2(message.endsWith(')') && message.size() > expected.size() + 1, qPrintable(message));
    f.statusBar()->clearMessage();
    QTest::keyClicks(Controls(f).Edit1, "x");
    QVERIFY(!f.Recovery().WriteCopy());
    QCOMPARE(f.statusBar()->currentMessage(), QString());
    QVERIFY(env->Errors().isEmpty());
    QVERIFY(Controls(f).Edit1->GetText().contains("typed"));
    QVERIFY(Controls(f).Edit1->GetText().contains("x"));
  }

  void eachFailureOfTheCopyIsSaidOnceWithItsReason() {
    TForm1& f = env->Main();
    const auto reason = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
    const QString folder = paths::RecoveryDir();
    QVERIFY(QDir().mkpath(folder));
    Controls(f).Edit1->SetTextBytes("typed");

    // The lock cannot be taken: the folder cannot be written.
    {
      const TReadOnlyPath readOnly(QFile::encodeName(folder.chopped(1)).toStdString());
      QVERIFY2(readOnly.Error().empty(), readOnly.Error().c_str());
      QVERIFY(!f.Recovery().WriteCopy());
      QVERIFY(!f.Recovery().WriteCopy());
    }
    const QString lock = f.Recovery().CopyPath().chopped(4) + ".lock";
    QCOMPARE(f.statusBar()->currentMessage(),
             "Unsaved work cannot be kept for recovery: Cannot lock " + lock + " (" +
                 reason(::geteuid() == 0 ? EROFS : EACCES) + ")");

    // The copy cannot be written: a folder holds its name. The write runs on
    // the worker; its failure is said when it ends.
    QVERIFY(QDir().mkpath(f.Recovery().CopyPath()));
    QSignalSpy finished(&f.Recovery(), &TRecovery::CopyFinished);
    QVERIFY(f.Recovery().StartCopy());
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.takeFirst().at(0).toBool(), false);
    QCOMPARE(f.statusBar()->currentMessage(),
             "Unsaved work cannot be kept for recovery: Cannot create file " +
                 f.Recovery().CopyPath() + " (A folder is in the way)");
    f.statusBar()->clearMessage();
    QVERIFY(f.Recovery().StartCopy());
    QVERIFY(finished.wait(10000));
    QCOMPARE(f.statusBar()->currentMessage(), QString());
    QVERIFY(env->Errors().isEmpty());

    QVERIFY(QDir().rmdir(f.Recovery().CopyPath()));
    QVERIFY(f.Recovery().WriteCopy());
    QCOMPARE(ReadCopy(f.Recovery().CopyPath())->Text, std::string("typed"));
  }

  void theCopyIsTheTextAsItWasWhileTypingGoesOn() {
    TForm1& f = env->Main();
    Controls(f).Edit1->SetTextBytes("0123456789");
    Controls(f).Edit1->SetCaretPosition(5);
    // What each copy held when it was written, read before the next begins.
    QList<QByteArray> copies;
    QObject listening;
    connect(&f.Recovery(), &TRecovery::CopyFinished, &listening, [&](bool written) {
      const auto copy = ReadCopy(f.Recovery().CopyPath());
      copies << (written && copy ? QByteArray::fromStdString(copy->Text) : QByteArray("-"));
    });
    // Keys typed while the copy is written change the document, not the copy;
    // the copy asked for meanwhile (the timer, after two more seconds of
    // typing) is taken once this one is written.
    bool typed = false;
    connect(&f.Recovery(), &TRecovery::SnapshotTaken, &listening, [&] {
      if (std::exchange(typed, true)) return;
      QVERIFY(f.Recovery().CopyPending());
      QTest::keyClicks(Controls(f).Edit1, "ab");
      Control<QTimer>(f, QStringLiteral("RecoveryDelay"))->stop();
      QVERIFY(f.Recovery().StartCopy());
    });
    QSignalSpy finished(&f.Recovery(), &TRecovery::CopyFinished);
    QVERIFY(f.Recovery().StartCopy());
    QVERIFY(f.Recovery().CopyPending());
    QVERIFY(finished.wait(10000));
    if (finished.size() < 2) QVERIFY(finished.wait(10000));
    QCOMPARE(copies, (QList<QByteArray>{"0123456789", "01234ab56789"}));
    QCOMPARE(Controls(f).Edit1->GetText(), QByteArray("01234ab56789"));
    QVERIFY(!f.Recovery().CopyPending());

    // A save while a copy is being written: the copy never lands after it.
    QTest::keyClicks(Controls(f).Edit1, "c");
    QVERIFY(f.Recovery().StartCopy());
    dialogs::QueueFileDialogAnswer(env->TempDir() + "saved.htm");
    Controls(f).Action2->trigger();
    QVERIFY(!f.Recovery().CopyPending());
    QVERIFY(!QFile::exists(f.Recovery().CopyPath()));
    // The worker's notice that its copy is written comes after the save: stale.
    QCoreApplication::processEvents();
    QVERIFY(!QFile::exists(f.Recovery().CopyPath()));
    QVERIFY(env->Errors().isEmpty());
  }

  void aCopyThatCannotBeRemovedAfterASaveIsNotOfferedAtTheNextStart() {
    TForm1& f = env->Main();
    // Another run, which saves while its recovery folder cannot be written.
    auto other = std::make_unique<TRecovery>(f, nullptr);
    Controls(f).Edit1->SetTextBytes("work that was saved");
    QVERIFY(other->WriteCopy());
    const QString copy = other->CopyPath();
    {
      const TReadOnlyPath readOnly(QFile::encodeName(paths::RecoveryDir().chopped(1)).toStdString(),
                                   {QFile::encodeName(copy).toStdString()});
      QVERIFY2(readOnly.Error().empty(), readOnly.Error().c_str());
      f.SetModifiedFlag(QString());
      other->FlagChanged();
    }
    QVERIFY2(f.statusBar()->currentMessage().startsWith("Cannot remove the recovery copy " + copy +
                                                        " ("),
             qPrintable(f.statusBar()->currentMessage()));
    // That run ends as a crash ends it: its lock goes, the copy stays.
    other.reset();
    QVERIFY(!OfferAsksAnything(f));
  }

  void aDiscardedCopyThatCannotBeRemovedIsNeverOfferedAgain() {
    if (::geteuid() != 0) QSKIP("only the superuser can pin a file in a writable folder");
    TForm1& f = env->Main();
    const QString old =
        PlantCopy(*env, "99999-7", env->TempDir() + "a.htm", "HTML", "thrown away", 1765286000);
    {
      // A file mounted onto itself cannot be removed, nor written when read-only.
      const TReadOnlyPath pinned(QFile::encodeName(old).toStdString());
      QVERIFY2(pinned.Error().empty(), pinned.Error().c_str());
      Offered offered;
      Answer(QStringLiteral("Discard"), &offered);
      startup::OfferRecovery(f);
      QVERIFY(offered.Shown);
      QVERIFY(QFile::exists(old));
      QVERIFY2(f.statusBar()->currentMessage().startsWith("Cannot remove the recovery copy " + old),
               qPrintable(f.statusBar()->currentMessage()));

      QVERIFY(!OfferAsksAnything(f));
    }
    // Once it can go, the next start removes it and its mark.
    QVERIFY(!OfferAsksAnything(f));
    QVERIFY(!QFile::exists(old));
    QCOMPARE(RecoveryFiles().filter(QStringLiteral("99999-7")), QStringList());
  }

  void aCopyOfThePreviousVersionIsOfferedAndRestored() {
    TForm1& f = env->Main();
    const QString page = env->TempDir() + "old.htm";
    const QByteArray name = QFile::encodeName(page);
    // The bytes as the previous version wrote them, whole text in one piece.
    const QByteArray bytes = "Vexa recovery copy 1\nfile " + QByteArray::number(name.size()) +
                             "\n" + name + "\nsyntax 3\nPHP\nsaved 10\n1765286400\ndisk 0\n\n" +
                             "text 9\nold\r\nwork\n";
    env->WriteFile(paths::RecoveryDir() + "4242-1765286400000.vwr", bytes);
    Offered offered;
    Answer(QStringLiteral("Restore"), &offered);
    startup::OfferRecovery(f);
    QVERIFY(offered.Shown);
    QVERIFY(offered.Text.contains(page));
    QCOMPARE(Controls(f).Edit1->GetText(), QByteArray("old\r\nwork"));
    QCOMPARE(f.CurFileName(), page);
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("PHP"));
    QVERIFY(!QFile::exists(paths::RecoveryDir() + "4242-1765286400000.vwr"));
  }

  void anEarlierRunsCopyIsRestoredAsAModifiedDocument() {
    TForm1& f = env->Main();
    const QString page = env->WriteFile(env->TempDir() + "shop/index.htm", "<p>saved</p>\r\n");
    const QByteArray work = "<?php echo 'unsaved'; ?>\r\n\xe9\x80\r\nend";
    const QString old = PlantCopy(*env, "99999-1", page, "PHP", work, 1765286400,
                                  TDiskState::Of(page, true).ToText());
    Offered offered;
    Answer(QStringLiteral("Restore"), &offered);
    startup::OfferRecovery(f);
    QVERIFY(offered.Shown);
    QCOMPARE(offered.Caption, QStringLiteral("Recover unsaved work"));
    QVERIFY2(offered.Text.contains(page), qPrintable(offered.Text));
    QVERIFY2(offered.Text.contains(QLocale::system().toString(
                 QDateTime::fromSecsSinceEpoch(1765286400), QLocale::LongFormat)),
             qPrintable(offered.Text));
    QCOMPARE(offered.Default, QStringLiteral("Restore"));

    QCOMPARE(Controls(f).Edit1->GetText(), work);
    QCOMPARE(f.CurFileName(), page);
    QCOMPARE(f.StatusPanelText(0), page);
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("PHP"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    // The work moved to this run's copy before the old one went.
    QVERIFY(!QFile::exists(old));
    const auto mine = ReadCopy(f.Recovery().CopyPath());
    QVERIFY(mine);
    QCOMPARE(QByteArray::fromStdString(mine->Text), work);

    // F2 writes it where it belongs.
    Controls(f).Action2->trigger();
    QCOMPARE(TestEnvironment::ReadFile(page), work);
    QCOMPARE(f.ModifiedFlag(), QString());
    QCOMPARE(RecoveryFiles().filter(QStringLiteral(".vwr")), QStringList());
    QVERIFY(env->Errors().isEmpty());
  }

  void aFileChangedSinceTheCopyIsNotOverwrittenUnasked() {
    TForm1& f = env->Main();
    const QString page = env->WriteFile(env->TempDir() + "page.htm", "as the crashed run saw it");
    PlantCopy(*env, "99999-6", page, "HTML", "the unsaved work", 1765286400,
              TDiskState::Of(page, true).ToText());
    env->WriteFile(page, "changed by another program later");
    Offered offered;
    Answer(QStringLiteral("Restore"), &offered);
    startup::OfferRecovery(f);
    QCOMPARE(Controls(f).Edit1->GetText(), QByteArray("the unsaved work"));
    QString asked;
    AnswerNextModal([&asked](QWidget* modal) {
      asked = qobject_cast<QMessageBox*>(modal)->text();
      Control<QPushButton>(*modal, QStringLiteral("Keep mine"))->click();
    });
    Controls(f).Action2->trigger();
    QVERIFY2(asked.startsWith(QStringLiteral("The file ") + page), qPrintable(asked));
    QCOMPARE(TestEnvironment::ReadFile(page), QByteArray("the unsaved work"));
  }

  void anUntitledCopyIsRestoredUntitled() {
    TForm1& f = env->Main();
    f.SetSyntaxText(QStringLiteral("SQL"));
    PlantCopy(*env, "99999-2", QStringLiteral("new.htm"), "HTML", "<b>new</b>", 1765286400);
    Offered offered;
    Answer(QStringLiteral("Restore"), &offered);
    startup::OfferRecovery(f);
    QVERIFY(offered.Text.contains(QStringLiteral("new.htm")));
    QCOMPARE(f.CurFileName(), QStringLiteral("new.htm"));
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("HTML"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    const QString target = env->TempDir() + "kept.htm";
    dialogs::QueueFileDialogAnswer(target);
    Controls(f).Action2->trigger();
    QCOMPARE(TestEnvironment::ReadFile(target), QByteArray("<b>new</b>"));
  }

  void discardRemovesTheCopyAndARunningEditorsCopyIsLeftAlone() {
    TForm1& f = env->Main();
    const QByteArray before = Controls(f).Edit1->GetText();
    // Another editor that is still running holds the lock of its copy.
    const QString live =
        PlantCopy(*env, "99999-3", QStringLiteral("new.htm"), "HTML", "live", 1765286900);
    QLockFile liveLock(paths::RecoveryDir() + "99999-3.lock");
    QVERIFY(liveLock.tryLock(0));
    const QString older =
        PlantCopy(*env, "99999-4", env->TempDir() + "a.htm", "HTML", "older", 1765286000);
    const QString newer =
        PlantCopy(*env, "99999-5", env->TempDir() + "b.htm", "HTML", "newer", 1765286500);
    Offered offered;
    Answer(QStringLiteral("Discard"), &offered);
    startup::OfferRecovery(f);
    // The newest copy of a run that is gone is the one offered.
    QVERIFY(offered.Text.contains(env->TempDir() + "b.htm"));
    QVERIFY(!QFile::exists(newer));
    QVERIFY(QFile::exists(older));
    QVERIFY(QFile::exists(live));
    QCOMPARE(Controls(f).Edit1->GetText(), before);
    QCOMPARE(f.CurFileName(), QStringLiteral("new.htm"));
    QCOMPARE(f.ModifiedFlag(), QString());

    // The next start offers the one that waited.
    Offered next;
    Answer(QStringLiteral("Discard"), &next);
    startup::OfferRecovery(f);
    QVERIFY(next.Text.contains(env->TempDir() + "a.htm"));
    QVERIFY(!QFile::exists(older));
    QVERIFY(QFile::exists(live));
  }

  void aNormalStartShowsNothingNew() {
    TForm1& f = env->Main();
    bool shown = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&shown] {
      QWidget* modal = QApplication::activeModalWidget();
      // The splash is the start-up's own.
      if (modal != nullptr && modal->objectName() != QLatin1String("Form3")) {
        shown = true;
        modal->close();
      }
    });
    watch.start(10);
    f.FormShow();
    // A damaged file in the folder is not a copy to offer either.
    env->WriteFile(paths::RecoveryDir() + "1-1.vwr", "Vexa recovery copy 1\nfile 3\nab");
    startup::OfferRecovery(f);
    QVERIFY(!shown);
    QCOMPARE(f.ModifiedFlag(), QString());
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestRecovery)
#include "test_recovery.moc"
