// The enabled state of Copy, Cut, Paste, Find and Replace: right while a menu
// of the main window is open over the editor (opened by mouse or from the
// keyboard), right again the moment it closes, and right after every way the
// document's text changes.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <functional>

#include "dialogs.h"
#include "disk_watch.h"
#include "editor_control.h"
#include "file_lists.h"
#include "find_dialog.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "list_clicks.h"
#include "main_window.h"
#include "manager_window.h"
#include "paths.h"
#include "projects_dialog.h"
#include "recovery_copy.h"
#include "startup.h"
#include "window_controls.h"

namespace {

// What the five actions show, in the order Copy, Cut, Paste, Find, Replace.
QString States(TForm1& f) {
  QString states;
  for (const QAction* a : {Controls(f).EditCopy1, Controls(f).EditCut1, Controls(f).EditPaste1,
                           Controls(f).SearchFind1, Controls(f).SearchReplace1}) {
    states += a->isEnabled() ? '1' : '0';
  }
  return states;
}

// How a test makes the document's text change.
using TChange = std::function<void(TestEnvironment&, TForm1&)>;

void ReplaceFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  QVERIFY(file.commit());
}

// Answers the next question with the button of that caption.
void AnswerWith(const QString& button) {
  AnswerNextModal([button](QWidget* modal) { Control<QPushButton>(*modal, button)->click(); });
}

}  // namespace

Q_DECLARE_METATYPE(TChange)

class TestEditActions : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    env->Main().SetCurFileName(QStringLiteral("new.htm"));
    env->Main().SetModifiedFlag(QString());
    dialogs::ClearFileDialogAnswers();
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    Controls(f).Edit1->FocusEditor();
  }
  void cleanup() {
    dialogs::ClearFileDialogAnswers();
    env.reset();
  }

  void aMenuShowsTheStateOfTheControlItWasOpenedOver_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("control");
    QTest::addColumn<char>("menuKey");
    QTest::addColumn<bool>("byKeyboard");
    QTest::addColumn<QString>("expected");  // Copy, Cut, Paste, Find, Replace
    const QByteArray page = "<p>find me</p>";
    for (const bool keyboard : {true, false}) {
      const char* how = keyboard ? "keyboard" : "mouse";
      for (const char menu : {'s', 'e'}) {
        const QByteArray name = QByteArray(how) + ", Alt+" + menu;
        QTest::newRow(name + ", selection and clipboard") << page << 3 << "clip"
                                                          << "Edit1" << menu << keyboard << "11111";
        QTest::newRow(name + ", text only") << page << 0 << ""
                                            << "Edit1" << menu << keyboard << "00011";
        QTest::newRow(name + ", clipboard only") << QByteArray() << 0 << "clip"
                                                 << "Edit1" << menu << keyboard << "00100";
        // The line box holds "0"; Replace works on the document whatever has the focus.
        QTest::newRow(name + ", over the line box") << page << 3 << "clip"
                                                    << "lineedit" << menu << keyboard << "00111";
        QTest::newRow(name + ", over a check box") << page << 3 << "clip"
                                                   << "Check1" << menu << keyboard << "00001";
      }
    }
  }

  void aMenuShowsTheStateOfTheControlItWasOpenedOver() {
    QFETCH(QByteArray, text);
    QFETCH(int, selected);
    QFETCH(QString, clipboard);
    QFETCH(QString, control);
    QFETCH(char, menuKey);
    QFETCH(bool, byKeyboard);
    QFETCH(QString, expected);
    TForm1& f = env->Main();
    TEditorControl* editor = Controls(f).Edit1;
    editor->SetTextBytes(text);
    editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, 0UL, static_cast<long>(selected));
    if (clipboard.isEmpty()) {
      QApplication::clipboard()->clear();
    } else {
      QApplication::clipboard()->setText(clipboard);
    }
    QWidget* focused = Control<QWidget>(f, control);
    focused->setFocus();
    QTRY_COMPARE(States(f), expected);

    QMenuBar* bar = Controls(f).ActionMainMenuBar1;
    if (byKeyboard) {
      QTest::keyClick(focused, menuKey, Qt::AltModifier);
    } else {
      const int index = menuKey == 's' ? 2 : 1;
      QTest::mouseClick(bar, Qt::LeftButton, {},
                        bar->actionGeometry(bar->actions().at(index)).center());
    }
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    QCOMPARE(popup->objectName(), QString::fromLatin1(menuKey == 's' ? "Search1" : "Edit2"));
    QCOMPARE(States(f), expected);

    // Escape closes the menu; a menu opened from the keyboard leaves the menu
    // bar holding the keys, and a second Escape gives them back.
    QTest::keyClick(popup, Qt::Key_Escape);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QCOMPARE(States(f), expected);
    if (byKeyboard) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
      QCOMPARE(QApplication::focusWidget(), focused);
      QCOMPARE(States(f), expected);
    }
    QCOMPARE(editor->GetText(), text);
  }

  // Ctrl+F right after a menu opened from the keyboard was left.
  void findOpensAfterAKeyboardMenu() {
    TForm1& f = env->Main();
    TEditorControl* editor = Controls(f).Edit1;
    editor->SetTextBytes("<p>find me</p>");
    QTest::keyClick(editor, 's', Qt::AltModifier);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    QTest::keyClick(popup, Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    auto* dialog = f.findChild<TFindDialog*>();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    dialog->hide();
  }

  void everyChangeOfTheTextSetsFind_data() {
    QTest::addColumn<TChange>("change");
    QTest::addColumn<bool>("startsEmpty");
    QTest::addColumn<bool>("endsWithText");

    const TChange open = [](TestEnvironment& env, TForm1& f) {
      dialogs::QueueFileDialogAnswer(env.WriteFile(env.TempDir() + "page.htm", "<p>page</p>"));
      Controls(f).FileOpen1->trigger();
    };
    const TChange openEmpty = [](TestEnvironment& env, TForm1& f) {
      dialogs::QueueFileDialogAnswer(env.WriteFile(env.TempDir() + "empty.htm", ""));
      Controls(f).FileOpen1->trigger();
    };
    const TChange fresh = [](TestEnvironment&, TForm1& f) { Controls(f).Action1->trigger(); };
    const TChange project = [](TestEnvironment& env, TForm1& f) {
      auto* projects = forms::Get<Tfrmprojects>(QStringLiteral("frmprojects"));
      QVERIFY(QDir().mkpath(env.TempDir() + "site"));
      Controls(f).Action7->trigger();
      Controls(projects).Edit1->setText(env.TempDir() + "site");
      Controls(projects).dxButton2->click();
    };
    const TChange fileList = [](TestEnvironment& env, TForm1&) {
      auto* manager = forms::Get<Tfrmmanager>(QStringLiteral("frmmanager"));
      env.WriteFile(env.TempDir() + "list/listed.htm", "<p>listed</p>");
      manager->show();
      Controls(manager).PageControl1->setCurrentWidget(Controls(manager).TabSheet1);
      Controls(manager).FileListBox1->SetFolder(env.TempDir() + "list/");
      QVERIFY(DoubleClickEntry(Controls(manager).FileListBox1, QStringLiteral("listed.htm")));
    };
    const TChange frames = [](TestEnvironment&, TForm1&) {
      auto* manager = forms::Get<Tfrmmanager>(QStringLiteral("frmmanager"));
      Controls(manager).Button[10]->click();
    };
    const TChange reload = [](TestEnvironment& env, TForm1& f) {
      const QString page = env.WriteFile(env.TempDir() + "outside.htm", "");
      f.OpenDocument(page);
      ReplaceFile(page, "<p>written by another program</p>");
      f.DiskWatch().Check();
    };
    const TChange recovery = [](TestEnvironment& env, TForm1& f) {
      RecoveryCopy copy;
      copy.FileName = "new.htm";
      copy.Syntax = "HTML";
      copy.SavedAt = 1765286400;
      copy.Text = "<b>unsaved</b>";
      const std::string bytes = FormatRecoveryCopy(copy);
      env.WriteFile(paths::RecoveryDir() + "99999-1.vwr",
                    QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
      AnswerWith(QStringLiteral("Restore"));
      startup::OfferRecovery(f);
    };
    QTest::newRow("open") << open << true << true;
    QTest::newRow("open an empty file") << openEmpty << false << false;
    QTest::newRow("new") << fresh << true << true;
    QTest::newRow("project") << project << true << true;
    QTest::newRow("manager's file list") << fileList << true << true;
    QTest::newRow("frames") << frames << true << true;
    QTest::newRow("reload after an outside change") << reload << true << true;
    QTest::newRow("recovery") << recovery << true << true;
  }

  void everyChangeOfTheTextSetsFind() {
    QFETCH(TChange, change);
    QFETCH(bool, startsEmpty);
    QFETCH(bool, endsWithText);
    TForm1& f = env->Main();
    TEditorControl* editor = Controls(f).Edit1;
    editor->SetTextBytes(startsEmpty ? QByteArray() : QByteArray("<p>text</p>"));
    editor->SetCaretPosition(0);
    f.SetModifiedFlag(QString());
    QTRY_COMPARE(Controls(f).SearchFind1->isEnabled(), !startsEmpty);
    change(*env, f);
    QCOMPARE(editor->Length() > 0, endsWithText);
    QCOMPARE(Controls(f).SearchFind1->isEnabled(), endsWithText);
    QCOMPARE(Controls(f).SearchReplace1->isEnabled(), endsWithText);
    QVERIFY2(env->Errors().isEmpty(), qPrintable(env->Errors().join('\n')));
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestEditActions)
#include "test_edit_actions.moc"
