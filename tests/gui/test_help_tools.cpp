// Help, splash and the external tools: the help browser's return to its index,
// the help pages' links, the splash timer, tool detection from marker files
// and starting a tool.
#include <unistd.h>
#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <cerrno>
#include <csignal>

#include "browser_wait.h"
#include "error_guard.h"
#include "gui_test_support.h"
#include "help_window.h"
#include "main_window.h"
#include "preview_window.h"
#include "shell_open.h"
#include "splash_window.h"
#include "tools.h"
#include "window_controls.h"

namespace {

// Parent process id of a process, from /proc.
qint64 ParentOf(qint64 pid) {
  const QByteArray stat = TestEnvironment::ReadFile(QStringLiteral("/proc/%1/stat").arg(pid));
  const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
  return fields.size() > 1 ? fields.at(1).toLongLong() : -1;
}

}  // namespace

class TestHelpTools : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestEnvironment> env;

  // A tool folder holding an executable script; returns the folder with its "/".
  QString MakeTool(const QString& name, const QByteArray& script) {
    const QString folder = env->TempDir() + "tool " + name + "/";
    const QString path = env->WriteFile(folder + name, script);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return folder;
  }

 private slots:
  void init() { env = std::make_unique<TestEnvironment>(); }
  void cleanup() { env.reset(); }

  void helpReturnsToItsIndexEveryTimeItShows() {
    env->CreateForms();
    auto* help = forms::Get<Tfrmhelp1>(QStringLiteral("frmhelp1"));
    TWebBrowser* browser = Controls(help).WebBrowser1;
    const QUrl index = web::LocalFileUrl(env->ProgramDir() + "help/index.htm");
    QVERIFY(LoadAndWait(browser, [&] { Controls(env->Main()).Action3->trigger(); }));
    QVERIFY(help->isVisible());
    QCOMPARE(browser->url(), index);
    QVERIFY(LoadAndWait(browser, [&] {
      RunScript(browser, "document.querySelector('.page a[href$=\".htm\"]').click()");
    }));
    QVERIFY(browser->url() != index);
    QVERIFY(browser->url().path().startsWith(env->ProgramDir() + "help/"));
    help->close();
    QVERIFY(!help->isVisible());
    QVERIFY(LoadAndWait(browser, [&] { Controls(env->Main()).Action3->trigger(); }));
    QCOMPARE(browser->url(), index);
    QVERIFY(!RunScript(browser, "document.body.innerText").toString().isEmpty());
  }

  void helpPagesLinkOnlyToPagesThatExist() {
    const QString folder = QStringLiteral(VEXA_SOURCE_DATA_DIR) + "/help/";
    const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#]*)(?:#[^\"]*)?\""));
    QStringList pages;
    QDirIterator it(folder, {"*.htm"});
    while (it.hasNext()) pages << it.next();
    QVERIFY(pages.size() > 1);
    for (const QString& page : pages) {
      const QString html = QString::fromLatin1(TestEnvironment::ReadFile(page));
      QVERIFY2(html.contains("<title>"), qPrintable(page));
      for (auto m = link.globalMatch(html); m.hasNext();) {
        const QString target = m.next().captured(1);
        if (target.isEmpty() || target.contains(':')) continue;
        const QString path = QFileInfo(QFileInfo(page).dir(), target).canonicalFilePath();
        QVERIFY2(!path.isEmpty(), qPrintable(page + " -> " + target));
      }
    }
  }

  void splashClosesItselfAtTheFirstTick() {
    qputenv("VEXA_SPLASH_MS", "300");
    env->CreateForms();
    auto* splash = forms::Get<TForm3>(QStringLiteral("Form3"));
    QVERIFY(Controls(splash).Timer1->isActive());
    QCOMPARE(Controls(splash).Image1->pixmap().size(), QSize(89, 121));
    QElapsedTimer shown;
    shown.start();
    forms::ShowModal(QStringLiteral("Form3"));
    QVERIFY(!splash->isVisible());
    QVERIFY(shown.elapsed() < 5000);
    // The timer runs on; its later ticks find the window hidden.
    QVERIFY(Controls(splash).Timer1->isActive());
  }

  void markerFilesEnableTheirTools() {
    env->CreateForms();
    TForm1& f = env->Main();
    tools::Detect(f);
    QVERIFY(!Controls(f).mengraphic->isEnabled());
    QVERIFY(!Controls(f).Action9->isEnabled());
    QVERIFY(Controls(f).graphicdir->text().isEmpty());

    env->WriteFile(env->SharedDir() + "vexagraphic.tcb",
                   "/opt/graphic browser/\r\n/second/line\r\n");
    tools::Detect(f);
    QVERIFY(Controls(f).mengraphic->isEnabled());
    QVERIFY(!Controls(f).Action9->isEnabled());
    QCOMPARE(Controls(f).graphicdir->text(), QStringLiteral("/opt/graphic browser/"));
    QVERIFY(Controls(f).vwthcpath1->text().isEmpty());

    // A lone CR ends the line as well.
    env->WriteFile(env->SharedDir() + "vexathumb1_0.tcb", "/opt/thumbs/\rrest");
    tools::Detect(f);
    QVERIFY(Controls(f).Action9->isEnabled());
    QCOMPARE(Controls(f).vwthcpath1->text(), QStringLiteral("/opt/thumbs/"));
  }

  void aToolStartsAndTheEditorDoesNotWait() {
    env->CreateForms();
    TForm1& f = env->Main();
    const QString pidFile = env->TempDir() + "tool.pid";
    const QString folder =
        MakeTool("vwtc.exe", "#!/bin/sh\necho $$ > '" + pidFile.toUtf8() + "'\nexec sleep 60\n");
    env->WriteFile(env->SharedDir() + "vexathumb1_0.tcb", folder.toUtf8() + "\n");
    tools::Detect(f);
    Controls(f).Action9->trigger();
    QVERIFY(env->Errors().isEmpty());
    QTRY_VERIFY(!TestEnvironment::ReadFile(pidFile).trimmed().isEmpty());
    const qint64 pid = TestEnvironment::ReadFile(pidFile).trimmed().toLongLong();
    // Still running after the menu entry returned, and not a child of the
    // editor, so it never lingers as a zombie.
    QCOMPARE(::kill(static_cast<pid_t>(pid), 0), 0);
    QVERIFY(ParentOf(pid) != QCoreApplication::applicationPid());
    ::kill(static_cast<pid_t>(pid), SIGTERM);
  }

  void aToolThatCannotStartShowsTheSystemMessage() {
    env->CreateForms();
    TForm1& f = env->Main();
    // Without its final "/" the folder's name runs into the executable's.
    const QString folder = MakeTool("vexaexp.exe", "#!/bin/sh\nexit 0\n");
    env->WriteFile(env->SharedDir() + "vexagraphic.tcb", folder.chopped(1).toUtf8() + "\r\n");
    tools::Detect(f);
    Controls(f).mengraphic->trigger();
    QCOMPARE(env->Errors(), QStringList{shell::SystemMessage(ENOENT)});
    QCOMPARE(Controls(f).graphicdir->text(), folder.chopped(1));
    QVERIFY(Controls(f).mengraphic->isEnabled());
  }

  void anUnreadableMarkerEndsTheStartUp() {
    env->CreateForms();
    TForm1& f = env->Main();
    // A folder where the marker file should be: it exists but cannot be read.
    QDir().mkpath(env->SharedDir() + "vexagraphic.tcb");
    env->WriteFile(env->SharedDir() + "vexathumb1_0.tcb", "/opt/thumbs/\n");
    QSignalSpy started(Child<TWebBrowser>(QStringLiteral("Form4"), QStringLiteral("WebBrowser1")),
                       &QWebEngineView::loadStarted);
    // A settings file, so the start-up opens no other window.
    env->WriteFile(env->ProgramDir() + "vexapro.ini", "[Vexa options]\r\nShow Project Start=0\r\n");
    RunGuarded([&] { f.FormShow(); });
    QCOMPARE(env->Errors(), QStringList{shell::SystemMessage(EISDIR)});
    // The steps after the detection did not run.
    QVERIFY(!Controls(f).Action9->isEnabled());
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line 0 of 0"));
    QTest::qWait(200);
    QCOMPARE(started.count(), 0);
  }
};

VEXA_GUI_TEST_MAIN(TestHelpTools)
#include "test_help_tools.moc"
