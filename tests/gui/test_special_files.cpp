// What a real machine holds in place of a file, met by the windows: FIFOs,
// devices, links planted by others and files too large to hold. Nothing
// waits on them, nothing is written through them, and the document stays as
// it was.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <cerrno>

#include "browser_wait.h"
#include "dialogs.h"
#include "editor_control.h"
#include "error_guard.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "paths.h"
#include "preview_window.h"
#include "save_prompt.h"
#include "shell_open.h"
#include "special_files.h"
#include "window_controls.h"

namespace {

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString MakeFifo(const QString& path) {
  return ::mkfifo(Bytes(path).c_str(), 0644) == 0 ? path : QString();
}

bool IsFifo(const QString& path) { return S_ISFIFO(special_files::LinkInfo(Bytes(path)).st_mode); }

// Answers the next save prompt with "No".
void DeclineSaving() {
  AnswerNextModal([](QWidget* modal) {
    if (auto* prompt = qobject_cast<Tfrmnotsaved*>(modal)) Controls(prompt).dxButton2->click();
  });
}

// The names of the files in a folder that anybody opened since the watch began.
class OpenedFiles {
 public:
  explicit OpenedFiles(const QString& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ >= 0) ::inotify_add_watch(fd_, Bytes(folder).c_str(), IN_OPEN | IN_ACCESS);
  }
  ~OpenedFiles() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Watching() const { return fd_ >= 0; }
  QStringList Names() {
    alignas(inotify_event) char buffer[8192];
    ssize_t n;
    while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* p = buffer; p < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(p);
        if (event->len > 0 && !(event->mask & IN_ISDIR)) names_ << QFile::decodeName(event->name);
        p += sizeof(inotify_event) + event->len;
      }
    }
    names_.removeDuplicates();
    return names_;
  }

 private:
  int fd_;
  QStringList names_;
};

}  // namespace

class TestSpecialFiles : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    dialogs::ClearFileDialogAnswers();
  }
  void cleanup() {
    dialogs::ClearFileDialogAnswers();
    env.reset();
  }

  void openTakesOnlyRegularFilesAndKeepsTheDocument() {
    env->CreateForms();
    TForm1& f = env->Main();
    const QString kept = env->WriteFile(env->TempDir() + "kept.htm", "<p>kept</p>");
    f.OpenDocument(kept);
    Controls(f).Edit1->AppendLine("typed");
    const QByteArray text = Controls(f).Edit1->GetText();

    const QString fifo = MakeFifo(env->TempDir() + "pipe.htm");
    QVERIFY(!fifo.isEmpty());
    special_files::FifoWatchdog watchdog(Bytes(fifo));
    // 2 GiB of nothing: a sparse file takes no room on disk.
    const QString big = env->WriteFile(env->TempDir() + "big.pas", "");
    QVERIFY(::truncate(Bytes(big).c_str(), qint64(1) << 31) == 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), big}) {
      env->Errors().clear();
      DeclineSaving();
      dialogs::QueueFileDialogAnswer(path);
      Controls(f).FileOpen1->trigger();
      QCOMPARE(env->Errors(), QStringList{"Cannot open file " + path});
      QCOMPARE(Controls(f).Edit1->GetText(), text);
      QCOMPARE(f.CurFileName(), kept);
      QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
      QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("HTML"));
    }
    QVERIFY(!watchdog.Fired());
  }

  void saveAsOntoAFifoOrADeviceLeavesItAsItIs() {
    env->CreateForms();
    TForm1& f = env->Main();
    const QString page = env->WriteFile(env->TempDir() + "page.htm", "old");
    f.OpenDocument(page);
    Controls(f).Edit1->AppendLine("new");
    QStringList targets{MakeFifo(env->TempDir() + "pipe.htm")};
    if (special_files::IsSuperuser()) {
      // A device node of our own, so a mistake cannot cost the system its /dev/null.
      const QString null = env->TempDir() + "null";
      QVERIFY(::mknod(Bytes(null).c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0);
      targets << null;
    }
    for (const QString& target : targets) {
      env->Errors().clear();
      dialogs::QueueFileDialogAnswer(target);
      Controls(f).FileSaveAs1->trigger();
      QCOMPARE(env->Errors(), QStringList{"Cannot create file " + target});
      QCOMPARE(f.CurFileName(), page);
      QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    }
    QVERIFY(IsFifo(targets.first()));
    if (targets.size() > 1) QVERIFY(S_ISCHR(special_files::LinkInfo(Bytes(targets[1])).st_mode));
    QCOMPARE(TestEnvironment::ReadFile(page), QByteArray("old"));
  }

  void theScratchFileIsNeverWrittenThroughAPlantedLink() {
    env->CreateForms();
    TForm1& f = env->Main();
    // A shared folder where another user planted the scratch name, first as
    // a link to a file of the user's, then as a link to a missing path.
    const QString shared = env->TempDir() + "upload/";
    const QString victim = env->WriteFile(env->TempDir() + "private.txt", "precious");
    const QString page = env->WriteFile(shared + "page.htm", "<p>page</p>");
    QVERIFY(QFile::link(victim, shared + "temp.vwe"));
    f.OpenDocument(page);
    Controls(f).dxButton2->click();
    QCOMPARE(env->Errors(), QStringList{"Cannot create file " + shared + "temp.vwe"});
    QCOMPARE(TestEnvironment::ReadFile(victim), QByteArray("precious"));

    QVERIFY(QFile::remove(shared + "temp.vwe"));
    const QString missing = env->TempDir() + "created.txt";
    QVERIFY(QFile::link(missing, shared + "temp.vwe"));
    Controls(f).Check1->setChecked(true);
    RunGuarded([&] { f.Timer1Timer(); });
    // The same failure for the same document is told in the status bar, not in a second box.
    QCOMPARE(env->Errors().size(), 1);
    QVERIFY(f.statusBar()->currentMessage().contains("Cannot create file " + shared + "temp.vwe"));
    QVERIFY(!QFile::exists(missing));
    QVERIFY(QFileInfo(shared + "temp.vwe").isSymLink());
  }

  void aFifoInPlaceOfTheSettingsFileNeitherHoldsTheStartNorIsReplaced() {
    QFile::remove(paths::SettingsFile());
    QVERIFY(!MakeFifo(paths::SettingsFile()).isEmpty());
    special_files::FifoWatchdog watchdog(Bytes(paths::SettingsFile()));
    env->CreateForms();
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_COMPARE(Controls(f).lblsaved->text(), QString());  // the start-up has run
    QVERIFY(env->Errors().isEmpty());
    QVERIFY(!watchdog.Fired());

    QVERIFY(f.close());
    QCOMPARE(env->Errors(), QStringList{"Unable to write to " + paths::SettingsFile()});
    QVERIFY(IsFifo(paths::SettingsFile()));
  }

  void aFifoInPlaceOfAMarkerEndsTheStartUpWithAMessage() {
    env->CreateForms();
    TForm1& f = env->Main();
    const QString marker = env->SharedDir() + "vexagraphic.tcb";
    QVERIFY(!MakeFifo(marker).isEmpty());
    special_files::FifoWatchdog watchdog(Bytes(marker));
    env->WriteFile(env->ProgramDir() + "vexapro.ini", "[Vexa options]\r\nShow Project Start=0\r\n");
    RunGuarded([&] { f.FormShow(); });
    QCOMPARE(env->Errors(), QStringList{shell::SystemMessage(EINVAL)});
    QVERIFY(!watchdog.Fired());
  }

  void aPageInPlaceOfAFifoIsNotFoundRatherThanWaitedFor() {
    env->CreateForms();
    const QString fifo = MakeFifo(env->TempDir() + "start.vwe");
    QVERIFY(!fifo.isEmpty());
    special_files::FifoWatchdog watchdog(Bytes(fifo));
    TWebBrowser* browser =
        Child<TWebBrowser>(QStringLiteral("Form4"), QStringLiteral("WebBrowser1"));
    // The browser shows the page that says the file is missing; what matters
    // here is that the load ends without anyone opening the FIFO.
    LoadAndWait(browser, [&] { browser->Navigate(fifo); });
    QVERIFY(!watchdog.Fired());
  }

  void fileDialogsListAFolderWithoutOpeningItsFiles() {
    // Names that say nothing of their type, which a listing would have to
    // read to learn it: a FIFO, and plain files without an extension.
    const QString folder = env->TempDir() + "odd";
    env->WriteFile(folder + "/README", "plain text");
    env->WriteFile(folder + "/kmsg", "<6>kernel");
    env->WriteFile(folder + "/page.htm", "<p>x</p>");
    const QString fifo = MakeFifo(folder + "/events");
    QVERIFY(!fifo.isEmpty());
    special_files::FifoWatchdog watchdog(Bytes(fifo));
    OpenedFiles opened(folder);
    QVERIFY(opened.Watching());

    for (bool save : {false, true}) {
      dialogs::FileDialogRequest request;
      request.Save = save;
      request.Filter = QStringLiteral("All files (*.*)|*.*");
      request.InitialFolder = folder;
      std::unique_ptr<QFileDialog> dialog = dialogs::CreateFileDialog(nullptr, request);
      dialog->setViewMode(QFileDialog::Detail);
      dialog->show();
      auto* files = qobject_cast<QFileSystemModel*>(dialog->proxyModel()->sourceModel());
      QVERIFY(files != nullptr);
      const QModelIndex root = files->index(folder);
      // The FIFO is a system entry, which the dialog does not list.
      QTRY_COMPARE(files->rowCount(root), 3);
      // The type column is filled in the background; wait until it is, for
      // every row, with the icons asked for too.
      auto typed = [&] {
        for (int row = 0; row < files->rowCount(root); ++row) {
          files->index(row, 0, root).data(Qt::DecorationRole);
          if (files->index(row, 2, root).data().toString().isEmpty()) return false;
        }
        return true;
      };
      QTRY_VERIFY(typed());
      QCOMPARE(files->data(files->index(folder + "/page.htm", 2)).toString(),
               QStringLiteral("HTML document"));
      dialog->reject();
    }
    QCOMPARE(opened.Names(), QStringList());
    QVERIFY(!watchdog.Fired());
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestSpecialFiles)
#include "test_special_files.moc"
