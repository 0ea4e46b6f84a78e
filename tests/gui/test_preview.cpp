// The preview: the scratch file and where it goes, the manual and the automatic
// update, the start page, the offline switch, history and links, all with the
// real browser engine.
#include <cerrno>
#include <cstring>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "browser_wait.h"
#include "editor_control.h"
#include "error_guard.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "paths.h"
#include "preview.h"
#include "preview_window.h"
#include "window_controls.h"

class TestPreview : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestEnvironment> env;

  TForm4& Preview() const { return *forms::Get<TForm4>(QStringLiteral("Form4")); }
  TWebBrowser* Browser() const { return Controls(Preview()).WebBrowser1; }

  // Puts a document into the editor as if it had been opened from path.
  void SetDocument(const QString& path, const QByteArray& text) {
    TForm1& f = env->Main();
    f.SetCurFileName(path);
    f.SetStatusFileName(path);
    Controls(f).Edit1->SetTextBytes(text);
    Controls(f).Timer1->stop();
  }

  bool ClickUpdate() {
    return LoadAndWait(Browser(), [this] { Controls(env->Main()).dxButton2->click(); });
  }

  QString BodyText() {
    return RunScript(Browser(), "document.body.innerText").toString().trimmed();
  }

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
  }
  void cleanup() { env.reset(); }

  void scratchFileLiesBesideTheDocument() {
    TForm1& f = env->Main();
    QCOMPARE(preview::ScratchPath(f), env->SharedDir() + "temp.vwe");
    f.SetStatusFileName("/srv/site/pages/index.htm");
    QCOMPARE(preview::ScratchPath(f), QStringLiteral("/srv/site/pages/temp.vwe"));
    // Only the exact untitled name counts as untitled.
    QCOMPARE(preview::ScratchPathFor("New.htm"), QStringLiteral("temp.vwe"));
    QCOMPARE(preview::ScratchPathFor("new.htm"), paths::SharedScratchFile());
  }

  void updatePreviewWritesTheTextAndShowsIt() {
    TForm1& f = env->Main();
    const QByteArray text = "<html><body><p id=\"x\">Hello \xe9t\xe9</p></body></html>";
    Controls(f).Edit1->SetTextBytes(text);
    QVERIFY(Controls(f).Timer1->isActive());
    QVERIFY(ClickUpdate());
    QVERIFY(!Controls(f).Timer1->isActive());
    QCOMPARE(TestEnvironment::ReadFile(env->SharedDir() + "temp.vwe"), text);
    QCOMPARE(Browser()->url(), web::LocalFileUrl(env->SharedDir() + "temp.vwe"));
    // Served as a page although the name ends in ".vwe"; single-byte text.
    QCOMPARE(RunScript(Browser(), "document.getElementById('x').textContent").toString(),
             QString::fromUtf8("Hello \u00e9t\u00e9"));
    // New goes back to the start page, also a page although it ends in ".vwe".
    f.SetModifiedFlag(QString());
    QVERIFY(LoadAndWait(Browser(), [&] { Controls(f).Action1->trigger(); }));
    QCOMPARE(Browser()->url(), web::LocalFileUrl(env->ProgramDir() + "vexa.vwe"));
    QVERIFY(!Controls(f).Timer1->isActive());
    QCOMPARE(RunScript(Browser(), "document.querySelector('h1').textContent").toString(),
             QStringLiteral("Vexa Web Editor Pro"));
  }

  void pagesFindTheirPicturesBesideTheDocument() {
    // A folder name with a blank, "#" and "%" must survive the trip through the address.
    const QString site = env->TempDir() + "my site #1 100%/";
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QDir().mkpath(site + "images");
    QVERIFY(picture.save(site + "images/pic.jpg", "JPEG"));
    SetDocument(site + "index.htm",
                "<html><body><img id=\"i\" src=\"images/pic.jpg\"></body></html>");
    QVERIFY(ClickUpdate());
    QVERIFY(QFile::exists(site + "temp.vwe"));
    QVERIFY(ScriptBecomes(Browser(), "document.getElementById('i').naturalWidth", 7));
  }

  void unwritableScratchFileLeavesTheBrowserAlone() {
    TForm1& f = env->Main();
    f.ShowPreviewStartPage();
    QTRY_COMPARE_WITH_TIMEOUT(Browser()->url(), web::LocalFileUrl(env->ProgramDir() + "vexa.vwe"),
                              10000);
    SetDocument("/nonexistent-folder/page.htm", "<p>x</p>");
    Controls(f).dxButton2->click();
    QCOMPARE(env->Errors(), QStringList{"Cannot create file /nonexistent-folder/temp.vwe"});
    QCOMPARE(RequestedUrl(Browser()), web::LocalFileUrl(env->ProgramDir() + "vexa.vwe"));
    QCOMPARE(Browser()->url(), web::LocalFileUrl(env->ProgramDir() + "vexa.vwe"));
  }

  void aScratchFileThatCannotBeWrittenIsBoxedOnceAndCostsNoKey() {
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const QString failure = QStringLiteral("Cannot create file /nonexistent-folder/temp.vwe");
    const QString reason = QString::fromLocal8Bit(std::strerror(ENOENT));
    SetDocument("/nonexistent-folder/page.htm", "one");
    Controls(f).Edit1->SetCaretPosition(3);
    Controls(f).Edit1->FocusEditor();
    // The real box this time: it must neither wait for an answer nor take
    // the key the user types next.
    const ErrorReporter recorder = SetErrorReporter({});
    {
      TModalAnswers modal([](QWidget* window) { window->close(); });
      f.Timer1Timer();
      QMessageBox* box = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
      }
      QVERIFY(box != nullptr);
      QCOMPARE(box->text(), failure);
      QCOMPARE(box->informativeText(), reason);
      QCOMPARE(modal.Count(), 0);
      QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&f));
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Controls(f).Edit1));
      QTest::keyClicks(QApplication::focusWidget(), " two");
      QCOMPARE(Controls(f).Edit1->GetText(), QByteArray("one two"));
      box->close();
      QCOMPARE(modal.Count(), 0);
    }
    SetErrorReporter(recorder);

    // Later failures of the same kind go to the status bar, by either update.
    auto* bar = Child<QStatusBar>(QStringLiteral("Form1"), QStringLiteral("StatusBar1"));
    f.Timer1Timer();
    QCOMPARE(bar->currentMessage(), failure + " (" + reason + ")");
    bar->clearMessage();
    Controls(f).dxButton2->click();
    QCOMPARE(bar->currentMessage(), failure + " (" + reason + ")");
    QCOMPARE(env->Errors(), QStringList());
    // Another document, or another folder: the box once more.
    SetDocument("/nonexistent-folder/other.htm", "x");
    Controls(f).dxButton2->click();
    QCOMPARE(env->Errors(), QStringList{failure});
    SetDocument("/nonexistent-2/other.htm", "x");
    Controls(f).dxButton2->click();
    Controls(f).dxButton2->click();
    QCOMPARE(env->Errors(),
             (QStringList{failure, QStringLiteral("Cannot create file /nonexistent-2/temp.vwe")}));
  }

  void aSharedFolderThatCannotBeMadeIsNamedOnceAtStartUp() {
    TForm1& f = env->Main();
    const QString shared = env->WriteFile(env->TempDir() + "a file", "x") + "/shared/";
    qputenv("VEXA_SHARED_DIR", shared.toLocal8Bit());
    f.show();
    QTRY_COMPARE(env->Errors(),
                 QStringList{"Cannot create the shared folder " + shared + ": Not a directory"});
    // The untitled page's preview reports its own failure once, then quietly.
    env->Errors().clear();
    f.Timer1Timer();
    f.Timer1Timer();
    QCOMPARE(env->Errors(), QStringList{"Cannot create file " + shared + "temp.vwe"});
  }

  void threeQuickKeystrokesGiveOneUpdateASecondAfterTheLast() {
    TForm1& f = env->Main();
    QTimer* timer = Controls(f).Timer1;
    QSignalSpy started(Browser(), &QWebEngineView::loadStarted);
    for (char c : {'a', 'b', 'c'}) {
      // Whatever countdown an earlier key left is dropped here, so this key
      // itself must start a full second anew.
      timer->stop();
      QElapsedTimer sinceKey;
      sinceKey.start();
      QTest::keyClick(Controls(f).Edit1, c);
      QVERIFY(timer->isActive());
      QCOMPARE(timer->interval(), 1000);
      // A coarse timer may round its deadline by up to 5 %.
      QVERIFY2(timer->remainingTime() >= 950 - sinceKey.elapsed(),
               qPrintable(QString::number(timer->remainingTime())));
      QVERIFY(!QFile::exists(env->SharedDir() + "temp.vwe"));
    }
    QVERIFY(LoadAndWait(Browser(), [&] { FireTimer(timer); }));
    QCOMPARE(started.count(), 1);
    QVERIFY(!timer->isActive());
    QVERIFY(TestEnvironment::ReadFile(env->SharedDir() + "temp.vwe").startsWith("abc<html>"));
  }

  void phpDropsTheAutomaticUpdateButNotTheManualOne() {
    TForm1& f = env->Main();
    Controls(f).synlist->setEditText(QStringLiteral("PHP"));
    f.synlistChange();
    QVERIFY(!Controls(f).Check1->isChecked());
    const QUrl shown = RequestedUrl(Browser());
    QTest::keyClick(Controls(f).Edit1, 'x');
    QVERIFY(Controls(f).Timer1->isActive());
    FireTimer(Controls(f).Timer1);
    QVERIFY(!Controls(f).Timer1->isActive());
    QVERIFY(!QFile::exists(env->SharedDir() + "temp.vwe"));
    QCOMPARE(RequestedUrl(Browser()), shown);
    QVERIFY(ClickUpdate());
    QVERIFY(TestEnvironment::ReadFile(env->SharedDir() + "temp.vwe").startsWith("x<html>"));
  }

  void offlineBlocksTheNetworkAndOnlineLetsItThrough() {
    TForm1& f = env->Main();
    TLocalHttpServer server("text/html", "<html><body>served over http</body></html>");
    // First run: the box shows checked, but the browser has not been told yet.
    QVERIFY(Controls(f).CheckBox1->isChecked());
    QVERIFY(!Browser()->Offline());
    Controls(f).CheckBox1->click();
    Controls(f).CheckBox1->click();
    QVERIFY(Controls(f).CheckBox1->isChecked());
    QVERIFY(Browser()->Offline());

    const QByteArray page = "<html><body><img id=\"r\" src=\"" + server.Url("/pic").toLatin1() +
                            "\"><p>local</p></body></html>";
    Controls(f).Edit1->SetTextBytes(page);
    QVERIFY(ClickUpdate());
    QCOMPARE(BodyText(), QStringLiteral("local"));
    QVERIFY(!LoadAndWait(Browser(), [&] { Browser()->load(QUrl(server.Url())); }));

    Controls(f).CheckBox1->click();
    QVERIFY(!Browser()->Offline());
    QVERIFY(LoadAndWait(Browser(), [&] { Browser()->load(QUrl(server.Url("/online"))); }));
    QCOMPARE(BodyText(), QStringLiteral("served over http"));
    // The first request the server ever saw is the one made online: neither
    // the picture nor the page went out while offline.
    QCOMPARE(server.Paths.value(0), QStringLiteral("/online"));
  }

  void onlineEveryRequestOfThePageGoesOut() {
    TForm1& f = env->Main();
    TLocalHttpServer server("text/plain", "x");
    const QByteArray base = server.Url().toLatin1();
    const QByteArray page = "<html><head><link rel=\"stylesheet\" href=\"" + base +
                            "style.css\">"
                            "<style>@font-face{font-family:Hosted;src:url(" +
                            base +
                            "font.woff)}"
                            "p{font-family:Hosted}</style>"
                            "<script src=\"" +
                            base +
                            "script.js\"></script></head>"
                            "<body><img src=\"" +
                            base + "picture.png\"><p>text</p></body></html>";
    const QStringList hosted = {"/style.css", "/font.woff", "/script.js", "/picture.png"};
    Controls(f).Edit1->SetTextBytes(page);
    f.SetWorkingOffline(true);
    QVERIFY(ClickUpdate());
    // Offline: each of them gives up (the font once the text asks for it),
    // and none of them was asked for.
    QVERIFY(ScriptBecomes(Browser(),
                          "document.fonts.load('1em Hosted').catch(() => 0), "
                          "[...document.fonts].every(f => f.status == 'error' || "
                          "f.status == 'loaded') && [...document.images].every(i => i.complete)",
                          true));
    QCOMPARE(server.Paths, QStringList());
    // Online: every one is.
    Controls(f).CheckBox1->click();
    QVERIFY(!Browser()->Offline());
    QVERIFY(ClickUpdate());
    QTRY_VERIFY_WITH_TIMEOUT(
        std::all_of(hosted.begin(), hosted.end(),
                    [&](const QString& path) { return server.Paths.contains(path); }),
        10000);
  }

  void networkPagesCannotReadLocalFiles() {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString local = env->TempDir() + "secret.png";
    QVERIFY(picture.save(local, "PNG"));
    const QString url = web::LocalFileUrl(local).toString();
    // The same picture works from a local page ...
    SetDocument(env->TempDir() + "page.htm", "<img id=\"i\" src=\"" + url.toUtf8() + "\">");
    QVERIFY(ClickUpdate());
    QVERIFY(ScriptBecomes(Browser(), "document.getElementById('i').naturalWidth", 4));
    // ... but not from one that came over the network.
    TLocalHttpServer server("text/html",
                            "<html><body><img id=\"i\" src=\"" + url.toUtf8() +
                                "\" onerror=\"document.title='refused'\"></body></html>");
    Browser()->SetOffline(false);
    QVERIFY(LoadAndWait(Browser(), [&] { Browser()->load(QUrl(server.Url())); }));
    QTRY_COMPARE_WITH_TIMEOUT(Browser()->title(), QStringLiteral("refused"), 10000);
  }

  void historyAndLinksStayInThePreview() {
    TForm4& p = Preview();
    const QString first = env->WriteFile(
        env->TempDir() + "first.htm", "<a id=\"l\" target=\"_blank\" href=\"second.htm\">on</a>");
    const QString second = env->WriteFile(env->TempDir() + "second.htm", "<p>second page</p>");
    QVERIFY(LoadAndWait(Browser(), [&] { Browser()->Navigate(first); }));
    // A link that asks for a new window opens in the preview itself.
    QVERIFY(LoadAndWait(Browser(),
                        [&] { RunScript(Browser(), "document.getElementById('l').click()"); }));
    QCOMPARE(Browser()->url(), web::LocalFileUrl(second));
    QVERIFY(LoadAndWait(Browser(), [&] { Controls(p).Back1->trigger(); }));
    QCOMPARE(Browser()->url(), web::LocalFileUrl(first));
    QVERIFY(LoadAndWait(Browser(), [&] { Controls(p).Forward1->trigger(); }));
    QCOMPARE(Browser()->url(), web::LocalFileUrl(second));
    QCOMPARE(BodyText(), QStringLiteral("second page"));
  }

  void f1SwitchesBetweenCodeAndPreview() {
    TForm1& f = env->Main();
    TForm4& p = Preview();
    // Settings that open no other window when the main window first shows.
    env->WriteFile(env->ProgramDir() + "vexapro.ini",
                   "[Vexa options]\r\nShow Project Start=0\r\nShow Manager Start=0\r\n"
                   "Show Preview Start=0\r\n[Vexa Interface]\r\nHeight=400\r\nWidth=800\r\n"
                   "Left=0\r\nTop=0\r\nHeight Pr=390\r\nWidth Pr=803\r\nLeft Pr=211\r\n"
                   "Top Pr=337\r\n");
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(Controls(f).Edit1, Qt::Key_F1);
    QVERIFY(p.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&p));
    QWidget* view = Browser()->focusProxy() ? Browser()->focusProxy() : Browser();
    QTest::keyClick(view, Qt::Key_F1);
    QVERIFY(QTest::qWaitForWindowActive(&f));
    p.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&p));
    QTest::keyClick(view, Qt::Key_F10);
    QVERIFY(forms::Find(QStringLiteral("Form5"))->isVisible());
    // No Alt combination does anything in the preview, nor types into the document.
    const QByteArray text = Controls(f).Edit1->GetText();
    p.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&p));
    for (char letter = 'a'; letter <= 'z'; ++letter) {
      QTest::keyClick(view, letter, Qt::AltModifier);
      QVERIFY2(QApplication::activePopupWidget() == nullptr, QByteArray(1, letter).constData());
      QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&p));
    }
    QCOMPARE(Controls(f).Edit1->GetText(), text);
    // Closing the preview only hides it.
    p.close();
    QVERIFY(!p.isVisible());
    QVERIFY(forms::Find(QStringLiteral("Form4")) == &p);
  }
};

VEXA_GUI_TEST_MAIN(TestPreview)
#include "test_preview.moc"
