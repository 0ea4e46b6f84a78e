// The settings file at start-up and close: the first run, the options applied
// in order, the nineteen keys written in order, windows restored on the next
// run and kept reachable, and a close that ends even when nothing can be written.
#include <QCheckBox>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>

#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "ini_file.h"
#include "list_chooser.h"
#include "main_window.h"
#include "manager_window.h"
#include "paths.h"
#include "preview_window.h"
#include "projects_dialog.h"
#include "save_prompt.h"
#include "settings.h"
#include "startup.h"
#include "web_browser.h"
#include "window_controls.h"

namespace {

// Records the order in which watched windows are shown.
class ShowRecorder : public QObject {
 public:
  explicit ShowRecorder(std::initializer_list<const char*> names) {
    for (const char* name : names) forms::Find(QString::fromLatin1(name))->installEventFilter(this);
  }
  QStringList Shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) Shown << watched->objectName();
    return false;
  }
};

Tfrmmanager& Manager() { return *forms::Get<Tfrmmanager>(QStringLiteral("frmmanager")); }
TForm4& Preview() { return *forms::Get<TForm4>(QStringLiteral("Form4")); }
Tfrmopenlists& Chooser() { return *forms::Get<Tfrmopenlists>(QStringLiteral("frmopenlists")); }

// Answers the modal projects dialog as the user would leave it after a choice.
void CloseProjectsWhenShown(std::function<void()> whileOpen = {}) {
  AnswerNextModal([whileOpen](QWidget* modal) {
    auto* projects = qobject_cast<Tfrmprojects*>(modal);
    QVERIFY(projects != nullptr);
    if (whileOpen) whileOpen();
    projects->done(QDialog::Rejected);
  });
}

}  // namespace

class TestSettings : public QObject {
  Q_OBJECT

 private slots:
  void init() { env = std::make_unique<TestEnvironment>(); }
  void cleanup() { env.reset(); }

  void firstRunShowsProjectsThenPreviewThenManager() {
    QFile::remove(paths::SettingsFile());
    env->CreateForms();
    TForm1& f = env->Main();
    ShowRecorder shows{"frmprojects", "Form4", "frmmanager"};
    bool modalFirst = false;
    CloseProjectsWhenShown([&] { modalFirst = !Preview().isVisible() && !Manager().isVisible(); });
    settings::ReadAndApply(f);

    QVERIFY(modalFirst);
    QCOMPARE(shows.Shown, (QStringList{"frmprojects", "Form4", "frmmanager"}));
    // Every option as created; nothing is written before the close.
    QVERIFY(Controls(f).Check1->isChecked());
    QVERIFY(Controls(f).CheckBox1->isChecked());
    QVERIFY(!Controls(f).CheckBox2->isChecked());
    QVERIFY(Controls(Manager()).showprcheck->isChecked());
    QVERIFY(Controls(Manager()).showmanagercheck->isChecked());
    QVERIFY(Controls(Manager()).showpreviewcheck->isChecked());
    QVERIFY(!Controls(Preview()).WebBrowser1->Offline());
    QVERIFY(!QFile::exists(paths::SettingsFile()));
    QVERIFY(env->Errors().isEmpty());
  }

  void optionsAreAppliedInOrder() {
    env->WriteFile(paths::SettingsFile(),
                   "[Vexa options]\r\nAutomatic Preview=yes\r\nWord Wrap=1\r\n"
                   "Working Offline=0\r\nShow Project Start=1\r\nShow Manager Start=0\r\n"
                   "Show Preview Start=1\r\n");
    env->CreateForms();
    TForm1& f = env->Main();
    ShowRecorder shows{"frmprojects", "Form4", "frmmanager"};
    // The projects dialog comes after the three main-window options and
    // before the manager and the preview.
    bool stateWhileModal = false;
    CloseProjectsWhenShown([&] {
      stateWhileModal = !Controls(f).Check1->isChecked() && Controls(f).CheckBox2->isChecked() &&
                        !Controls(f).CheckBox1->isChecked() &&
                        Controls(Manager()).showprcheck->isChecked() &&
                        Controls(Manager()).showmanagercheck->isChecked() && !Preview().isVisible();
    });
    settings::ReadAndApply(f);

    QVERIFY(stateWhileModal);
    QCOMPARE(shows.Shown, (QStringList{"frmprojects", "Form4"}));
    QVERIFY(!Controls(f).Check1->isChecked());  // only "1" is on
    QCOMPARE(Controls(f).Edit1->wrapMode(), QsciScintilla::WrapWord);
    QVERIFY(!Controls(Preview()).WebBrowser1->Offline());
    QVERIFY(!Controls(Manager()).showmanagercheck->isChecked());
    QVERIFY(!Manager().isVisible());
    QVERIFY(Controls(Manager()).showpreviewcheck->isChecked());
    QCOMPARE(Controls(f).lblsaved->text(), QString());

    // Offline on is given to the browser as well.
    env->WriteFile(paths::SettingsFile(), "[Vexa options]\r\nWorking Offline=1\r\n");
    settings::ReadAndApply(f);
    QVERIFY(Controls(f).CheckBox1->isChecked());
    QVERIFY(Controls(Preview()).WebBrowser1->Offline());
    QVERIFY(!Controls(f).CheckBox2->isChecked());
    QCOMPARE(Controls(f).Edit1->wrapMode(), QsciScintilla::WrapNone);
  }

  void theStartUpReadsSettingsBeforeToolsAndTheStartPage() {
    env->WriteFile(paths::SettingsFile(), "[Vexa options]\r\nShow Project Start=1\r\n");
    env->WriteFile(env->SharedDir() + "vexathumb1_0.tcb", "/opt/thumbs/\r\n");
    env->CreateForms();
    TForm1& f = env->Main();
    bool toolsLater = false;
    CloseProjectsWhenShown([&] { toolsLater = !Controls(f).Action9->isEnabled(); });
    f.FormShow();
    QVERIFY(toolsLater);
    QVERIFY(Controls(f).Action9->isEnabled());
    QVERIFY(f.StatusPanelText(1).startsWith(QStringLiteral("Line: 0 of ")));
    QCOMPARE(Controls(f).lblsaved->text(), QString());
    QVERIFY(env->Errors().isEmpty());
  }

  void closeWritesTheNineteenKeysInOrder() {
    QFile::remove(paths::SettingsFile());
    env->CreateForms();
    TForm1& f = env->Main();
    f.SetModifiedFlag(QString());
    Controls(f).Check1->setChecked(false);
    Controls(f).CheckBox2->setChecked(true);
    Controls(Manager()).showprcheck->setChecked(false);
    Controls(Manager()).showpreviewcheck->setChecked(false);
    Controls(Manager()).PageControl1->setCurrentIndex(2);
    Controls(Chooser()).Edit1->setText(QStringLiteral("/lists/one.qvw"));
    Controls(Chooser()).Edit2->setText(QStringLiteral("/lists/two words.qvu"));
    f.setGeometry(40, 30, 500, 300);
    Preview().setGeometry(100, 200, 420, 260);
    Manager().move(590, 12);

    QVERIFY(startup::FormClose(f));
    QCOMPARE(TestEnvironment::ReadFile(paths::SettingsFile()),
             QByteArray("[Vexa options]\r\nAutomatic Preview=0\r\nWord Wrap=1\r\n"
                        "Working Offline=1\r\nShow Project Start=0\r\nShow Manager Start=1\r\n"
                        "Show Preview Start=0\r\n"
                        "[Vexa Manager options]\r\nTab=2\r\nQlist1=/lists/one.qvw\r\n"
                        "Qlist2=/lists/two words.qvu\r\n"
                        "[Vexa Interface]\r\nHeight=300\r\nWidth=500\r\nLeft=40\r\nTop=30\r\n"
                        "Height Pr=260\r\nWidth Pr=420\r\nLeft Pr=100\r\nTop Pr=200\r\n"
                        "Left Manager=590\r\nTop Manager=12\r\n"
                        "[Vexa Recent]\r\nFile1=\r\nFile2=\r\nFile3=\r\nFile4=\r\n"
                        "File5=\r\nFile6=\r\nFile7=\r\nFile8=\r\n"
                        "[Vexa Editing]\r\nLine Numbers=1\r\nCaret Line=1\r\nClose Tags=1\r\n"
                        "Complete End Tags=1\r\nMatch Pairs=1\r\nAuto Indent=1\r\n"
                        "Tab Expands=0\r\n"
                        "[Vexa Preview Caret]\r\nOutline=1\r\n"));
    QVERIFY(env->Errors().isEmpty());
  }

  void keysOfAnOlderFileAreUpdatedInPlace() {
    env->WriteFile(paths::SettingsFile(),
                   "; kept\r\n[Vexa Interface]\r\nTOP=7\r\nColour=blue\r\n\r\n[Other]\r\nx=1\r\n");
    env->CreateForms();
    TForm1& f = env->Main();
    f.SetModifiedFlag(QString());
    f.move(5, 6);
    QVERIFY(startup::FormClose(f));
    // The known key is replaced where it stands; the rest of the file stays.
    const QByteArray text = TestEnvironment::ReadFile(paths::SettingsFile());
    QVERIFY2(text.startsWith("; kept\r\n[Vexa Interface]\r\nTop=6\r\nColour=blue\r\n"
                             "Height=304\r\nWidth=792\r\nLeft=5\r\nHeight Pr=390\r\n"),
             text.constData());
    QVERIFY2(text.contains("\r\n\r\n[Other]\r\nx=1\r\n[Vexa options]\r\nAutomatic Preview=1\r\n"),
             text.constData());
  }

  void aSecondRunRestoresTheWindows() {
    env->CreateForms();
    TForm1& f = env->Main();
    Controls(Manager()).showprcheck->setChecked(false);
    Controls(Manager()).showmanagercheck->setChecked(false);
    Controls(Manager()).showpreviewcheck->setChecked(false);
    f.setGeometry(40, 30, 500, 300);
    Preview().setGeometry(100, 200, 420, 260);
    Manager().move(590, 12);
    settings::Write(f);

    f.setGeometry(0, 0, 792, 304);
    Preview().setGeometry(211, 337, 803, 390);
    Manager().move(0, 0);
    settings::ReadAndApply(f);
    QCOMPARE(f.frameGeometry(), QRect(40, 30, 500, 300));
    QCOMPARE(Preview().frameGeometry(), QRect(100, 200, 420, 260));
    QCOMPARE(Manager().pos(), QPoint(590, 12));
    QCOMPARE(Manager().size(), QSize(203, 694));
  }

  void unusableBoundsAreMended() {
    const QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
    env->WriteFile(paths::SettingsFile(),
                   "[Vexa Interface]\r\nHeight=0\r\nLeft=30\r\nTop=20\r\n"
                   "Height Pr=300\r\nWidth Pr=400\r\nLeft Pr=-5000\r\nTop Pr=$7FFFFFFF\r\n"
                   "Left Manager=99999\r\nTop Manager=40\r\n");
    env->CreateForms();
    TForm1& f = env->Main();
    settings::ReadAndApply(f);
    // Missing or zero sizes keep the design size; the place is as stored.
    QCOMPARE(f.frameGeometry(), QRect(30, 20, 792, 304));
    // Off every screen: back on the primary screen, size kept.
    const QRect preview = Preview().frameGeometry();
    QCOMPARE(preview.size(), QSize(400, 300));
    QCOMPARE(preview.left(), primary.left());
    QVERIFY(primary.contains(preview.topLeft()));
    QVERIFY(primary.contains(Manager().pos()));
    // A height far beyond any screen fits the screen, title bar and all.
    env->WriteFile(paths::SettingsFile(),
                   "[Vexa Interface]\r\nHeight Pr=0x7FFFFFFF\r\nWidth Pr=803\r\nLeft Pr=211\r\n"
                   "Top Pr=337\r\n");
    settings::ReadAndApply(f);
    QVERIFY2(primary.contains(Preview().frameGeometry()),
             qPrintable(QDebug::toString(Preview().frameGeometry())));

    const QList<QRect> twoScreens{QRect(0, 0, 1000, 800), QRect(1000, 0, 1000, 800)};
    const QRect first = twoScreens[0];
    const QSize design(792, 304);
    // Partly off an edge, but the title strip can still be grabbed: kept.
    QCOMPARE(settings::MendBounds(QRect(900, 700, 400, 300), design, {first}, first),
             QRect(900, 700, 400, 300));
    // On the second screen: kept.
    QCOMPARE(settings::MendBounds(QRect(1500, 100, 400, 300), design, twoScreens, first),
             QRect(1500, 100, 400, 300));
    // Only the bottom of the window is on screen: the title bar is not.
    QCOMPARE(settings::MendBounds(QRect(100, -250, 400, 300), design, {first}, first),
             QRect(100, 0, 400, 300));
    // Right of every screen: as near as fits.
    QCOMPARE(settings::MendBounds(QRect(2500, 100, 400, 300), design, twoScreens, first),
             QRect(600, 100, 400, 300));
    // Larger than the screen: shrunk to it and placed on it, also when the
    // title strip was on the screen.
    QCOMPARE(settings::MendBounds(QRect(-3000, -3000, 1200, 900), design, {first}, first),
             QRect(0, 0, 1000, 800));
    QCOMPARE(settings::MendBounds(QRect(211, 337, 803, 100000), design, twoScreens, first),
             QRect(197, 0, 803, 800));
    QCOMPARE(settings::MendBounds(QRect(1100, 10, 1200, 300), design, twoScreens, first),
             QRect(1000, 10, 1000, 300));
    // Negative and too small sizes take the design size.
    QCOMPARE(settings::MendBounds(QRect(10, 10, -5, 99), design, {first}, first),
             QRect(10, 10, 792, 304));
  }

  void closeAsksBeforeWritingSettings() {
    const QByteArray before = TestEnvironment::ReadFile(paths::SettingsFile());
    env->CreateForms();
    TForm1& f = env->Main();
    f.SetModifiedFlag(QStringLiteral("1"));
    bool unchangedWhileAsking = false;
    AnswerNextModal([&](QWidget* modal) {
      auto* prompt = qobject_cast<Tfrmnotsaved*>(modal);
      QVERIFY(prompt != nullptr);
      unchangedWhileAsking = TestEnvironment::ReadFile(paths::SettingsFile()) == before;
      Controls(prompt).dxButton2->click();  // "No"
    });
    QVERIFY(startup::FormClose(f));
    QVERIFY(unchangedWhileAsking);
    QVERIFY(TestEnvironment::ReadFile(paths::SettingsFile()).contains("[Vexa Manager options]"));
  }

  void aSettingsFileThatCannotBeWrittenDoesNotKeepTheProgramOpen() {
    // A folder in the file's place: it can be neither read nor replaced.
    QFile::remove(paths::SettingsFile());
    QVERIFY(QDir().mkpath(paths::SettingsFile()));
    env->CreateForms();
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_COMPARE(Controls(f).lblsaved->text(), QString());  // the start-up has run
    QVERIFY(env->Errors().isEmpty());

    QVERIFY(f.close());
    QVERIFY(!f.isVisible());
    QCOMPARE(env->Errors(), QStringList{"Unable to write to " + paths::SettingsFile()});
    QVERIFY(QFileInfo(paths::SettingsFile()).isDir());
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestSettings)
#include "test_settings.moc"
