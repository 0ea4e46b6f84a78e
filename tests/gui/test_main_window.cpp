// The main window: its state at creation, the line display, "Goto ", word wrap,
// the edit actions and the find dialog.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include "editor_control.h"
#include "find_dialog.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "window_controls.h"

namespace {

const QByteArray kTemplateText =
    "<html>\r\n\r\n<head>\r\n<title>New Page</title>\r\n"
    "<meta name=\"GENERATOR\" content=\"Vexa Web Editor 3.0 Pro\">\r\n</head>\r\n";

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
  }
  void cleanup() { env.reset(); }

  void stateAtCreation() {
    TForm1& f = env->Main();
    QCOMPARE(f.windowTitle(), QStringLiteral("Vexa Web Editor 3.0 Pro"));
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Vexa Web Editor Pro"));
    QCOMPARE(Controls(f).Edit1->GetText(), kTemplateText);
    QCOMPARE(Controls(f).lblsaved->text(), QStringLiteral("1"));
    QVERIFY(Controls(f).prodir1->text().isEmpty());
    QCOMPARE(Controls(f).lineedit->text(), QStringLiteral("0"));
    QCOMPARE(f.StatusPanelText(0), QStringLiteral("new.htm"));
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line 0 of 0"));
    QStringList items;
    for (int i = 0; i < Controls(f).synlist->count(); ++i)
      items << Controls(f).synlist->itemText(i);
    QCOMPARE(items, (QStringList{"HTML", "PHP", "JAVA SCRIPT", "VBSCRIPT", "DELPHI SCRIPT", "SQL",
                                 "XML"}));
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("HTML"));
    QVERIFY(Controls(f).synlist->isEditable());
    QCOMPARE(Controls(f).synlist->toolTip(), QStringLiteral("Choose what syntax you will use!"));
    QVERIFY(Controls(f).Check1->isChecked());
    QVERIFY(Controls(f).CheckBox1->isChecked());
    QVERIFY(!Controls(f).CheckBox2->isChecked());
    QVERIFY(!Controls(f).Timer1->isActive());
    QCOMPARE(Controls(f).Timer1->interval(), 1000);
    QVERIFY(!Controls(f).Action9->isEnabled());
    QVERIFY(!Controls(f).mengraphic->isEnabled());
    QCOMPARE(Controls(f).Edit1->wrapMode(), QsciScintilla::WrapNone);
    // Every window exists once, under its form name.
    for (const char* name :
         {"Form1", "Form2", "Form3", "Form4", "Form5", "ImageInsert", "frmprojects", "Form8",
          "frmnotsaved", "frmmanager", "frmnewedit", "frmexcodlist1", "frmoecodlist",
          "frmopenlists", "frmopenlist1list2", "frmhelp1"}) {
      QVERIFY2(forms::Find(QString::fromLatin1(name)) != nullptr, name);
    }
  }

  void actionsCarryTheirShortcuts() {
    TForm1& f = env->Main();
    const QList<QPair<QAction*, QKeySequence>> expected = {
        {Controls(f).Action2, QKeySequence(Qt::Key_F2)},
        {Controls(f).FileOpen1, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {Controls(f).EditCopy1, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {Controls(f).EditCut1, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {Controls(f).EditPaste1, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {Controls(f).SearchFind1, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {Controls(f).Action6, QKeySequence(Qt::Key_F10)},
        {Controls(f).Action5, QKeySequence(Qt::Key_F1)},
        {Controls(f).Action8, QKeySequence(Qt::Key_F11)}};
    for (const auto& [action, keys] : expected) QCOMPARE(action->shortcut(), keys);
    QCOMPARE(Controls(f).Action1->toolTip(), QStringLiteral("Create a new file!"));
    QCOMPARE(Controls(f).FileOpen1->toolTip(), QStringLiteral("Open"));
    QCOMPARE(Controls(f).FileOpen1->statusTip(), QStringLiteral("Opens an existing file"));
  }

  void lineDisplayAndGoto() {
    TForm1& f = env->Main();
    f.SetCaretLineDisplay(false);
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line: 0 of 6"));

    Controls(f).lineedit->setText(QStringLiteral("3"));
    Controls(f).gotoline1->click();
    QCOMPARE(Controls(f).Edit1->CaretPosition(), Controls(f).Edit1->LineStart(3));
    QCOMPARE(Controls(f).lineedit->text(), QStringLiteral("3"));
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line: 3 of 6"));

    Controls(f).lineedit->setText(QStringLiteral("0"));
    Controls(f).gotoline1->click();
    QCOMPARE(Controls(f).Edit1->CaretPosition(), 0);

    Controls(f).lineedit->setText(QStringLiteral("99"));
    Controls(f).gotoline1->click();
    QCOMPARE(Controls(f).Edit1->CaretLine(), Controls(f).Edit1->LastLine());
    Controls(f).lineedit->setText(QStringLiteral("-4"));
    Controls(f).gotoline1->click();
    QCOMPARE(Controls(f).Edit1->CaretPosition(), 0);
    QVERIFY(env->Errors().isEmpty());

    Controls(f).lineedit->setText(QStringLiteral("2"));
    Controls(f).gotoline1->click();
    const int before = Controls(f).Edit1->CaretPosition();
    Controls(f).lineedit->setText(QStringLiteral("two"));
    Controls(f).gotoline1->click();
    QCOMPARE(env->Errors(), QStringList{QStringLiteral("'two' is not a valid integer value")});
    QCOMPARE(Controls(f).Edit1->CaretPosition(), before);
  }

  void wordWrapFollowsTheBoxAndDropsThePendingPreview() {
    TForm1& f = env->Main();
    Controls(f).Timer1->start();
    Controls(f).CheckBox2->click();
    QCOMPARE(Controls(f).Edit1->wrapMode(), QsciScintilla::WrapWord);
    QVERIFY(!Controls(f).Timer1->isActive());
    Controls(f).CheckBox2->click();
    QCOMPARE(Controls(f).Edit1->wrapMode(), QsciScintilla::WrapNone);
  }

  void editActionsFollowTheFocusedControl() {
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    Controls(f).Edit1->setFocus();
    Controls(f).Edit1->SetCaretPosition(0);
    QApplication::clipboard()->clear();
    QTRY_VERIFY(!Controls(f).EditCopy1->isEnabled());
    QVERIFY(!Controls(f).EditCut1->isEnabled());
    QVERIFY(!Controls(f).EditPaste1->isEnabled());
    QVERIFY(Controls(f).SearchFind1->isEnabled());

    Controls(f).Edit1->SendScintilla(QsciScintillaBase::SCI_SETSEL, 0UL, 6L);
    QTRY_VERIFY(Controls(f).EditCopy1->isEnabled());
    QVERIFY(Controls(f).EditCut1->isEnabled());
    Controls(f).EditCopy1->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<html>"));
    QTRY_VERIFY(Controls(f).EditPaste1->isEnabled());

    // The focus on the empty-able line box: find needs text there.
    Controls(f).lineedit->setFocus();
    Controls(f).lineedit->clear();
    QTRY_VERIFY(!Controls(f).SearchFind1->isEnabled());
    f.hide();
  }

  void findSelectsTheNextOccurrenceOrSaysSo() {
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    Controls(f).Edit1->setFocus();
    Controls(f).Edit1->SetCaretPosition(0);
    Controls(f).SearchFind1->trigger();
    auto* dialog = f.findChild<TFindDialog*>();
    QVERIFY(dialog);
    auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("findtext"));
    auto* next = dialog->findChild<QPushButton*>(QStringLiteral("findnext"));
    text->setText(QStringLiteral("HEAD"));
    next->click();
    QCOMPARE(Controls(f).Edit1->selectedText(), QStringLiteral("head"));
    const int first = Controls(f).Edit1->CaretPosition();
    next->click();
    QVERIFY(Controls(f).Edit1->CaretPosition() > first);
    QCOMPARE(Controls(f).Edit1->selectedText(), QStringLiteral("head"));
    QVERIFY(env->Messages().isEmpty());

    dialog->findChild<QCheckBox*>(QStringLiteral("findmatchcase"))->setChecked(true);
    next->click();
    QCOMPARE(env->Messages(),
             QStringList{QStringLiteral("Vexa Web Editor Pro|Text not found: \"HEAD\"")});
    dialog->hide();
    f.hide();
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
