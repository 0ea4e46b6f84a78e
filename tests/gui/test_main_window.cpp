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
    QCOMPARE(f.Edit1->GetText(), kTemplateText);
    QCOMPARE(f.lblsaved->text(), QStringLiteral("1"));
    QVERIFY(f.prodir1->text().isEmpty());
    QCOMPARE(f.lineedit->text(), QStringLiteral("0"));
    QCOMPARE(f.StatusPanelText(0), QStringLiteral("new.htm"));
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line 0 of 0"));
    QStringList items;
    for (int i = 0; i < f.synlist->count(); ++i) items << f.synlist->itemText(i);
    QCOMPARE(items, (QStringList{"HTML", "PHP", "JAVA SCRIPT", "VBSCRIPT", "DELPHI SCRIPT", "SQL",
                                 "XML"}));
    QCOMPARE(f.synlist->currentText(), QStringLiteral("HTML"));
    QVERIFY(f.synlist->isEditable());
    QCOMPARE(f.synlist->toolTip(), QStringLiteral("Choose what syntax you will use!"));
    QVERIFY(f.Check1->isChecked());
    QVERIFY(f.CheckBox1->isChecked());
    QVERIFY(!f.CheckBox2->isChecked());
    QVERIFY(!f.Timer1->isActive());
    QCOMPARE(f.Timer1->interval(), 1000);
    QVERIFY(!f.Action9->isEnabled());
    QVERIFY(!f.mengraphic->isEnabled());
    QCOMPARE(f.Edit1->wrapMode(), QsciScintilla::WrapNone);
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
        {f.Action2, QKeySequence(Qt::Key_F2)},
        {f.FileOpen1, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {f.EditCopy1, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {f.EditCut1, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {f.EditPaste1, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {f.SearchFind1, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {f.Action6, QKeySequence(Qt::Key_F10)},
        {f.Action5, QKeySequence(Qt::Key_F1)},
        {f.Action8, QKeySequence(Qt::Key_F11)}};
    for (const auto& [action, keys] : expected) QCOMPARE(action->shortcut(), keys);
    QCOMPARE(f.Action1->toolTip(), QStringLiteral("Create a new file!"));
    QCOMPARE(f.FileOpen1->toolTip(), QStringLiteral("Open"));
    QCOMPARE(f.FileOpen1->statusTip(), QStringLiteral("Opens an existing file"));
  }

  void lineDisplayAndGoto() {
    TForm1& f = env->Main();
    f.SetCaretLineDisplay(false);
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line: 0 of 6"));

    f.lineedit->setText(QStringLiteral("3"));
    f.gotoline1->click();
    QCOMPARE(f.Edit1->CaretPosition(), f.Edit1->LineStart(3));
    QCOMPARE(f.lineedit->text(), QStringLiteral("3"));
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line: 3 of 6"));

    f.lineedit->setText(QStringLiteral("0"));
    f.gotoline1->click();
    QCOMPARE(f.Edit1->CaretPosition(), 0);

    f.lineedit->setText(QStringLiteral("99"));
    f.gotoline1->click();
    QCOMPARE(f.Edit1->CaretLine(), f.Edit1->LastLine());
    f.lineedit->setText(QStringLiteral("-4"));
    f.gotoline1->click();
    QCOMPARE(f.Edit1->CaretPosition(), 0);
    QVERIFY(env->Errors().isEmpty());

    f.lineedit->setText(QStringLiteral("2"));
    f.gotoline1->click();
    const int before = f.Edit1->CaretPosition();
    f.lineedit->setText(QStringLiteral("two"));
    f.gotoline1->click();
    QCOMPARE(env->Errors(), QStringList{QStringLiteral("'two' is not a valid integer value")});
    QCOMPARE(f.Edit1->CaretPosition(), before);
  }

  void wordWrapFollowsTheBoxAndDropsThePendingPreview() {
    TForm1& f = env->Main();
    f.Timer1->start();
    f.CheckBox2->click();
    QCOMPARE(f.Edit1->wrapMode(), QsciScintilla::WrapWord);
    QVERIFY(!f.Timer1->isActive());
    f.CheckBox2->click();
    QCOMPARE(f.Edit1->wrapMode(), QsciScintilla::WrapNone);
  }

  void editActionsFollowTheFocusedControl() {
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.Edit1->setFocus();
    f.Edit1->SetCaretPosition(0);
    QApplication::clipboard()->clear();
    QTRY_VERIFY(!f.EditCopy1->isEnabled());
    QVERIFY(!f.EditCut1->isEnabled());
    QVERIFY(!f.EditPaste1->isEnabled());
    QVERIFY(f.SearchFind1->isEnabled());

    f.Edit1->SendScintilla(QsciScintillaBase::SCI_SETSEL, 0UL, 6L);
    QTRY_VERIFY(f.EditCopy1->isEnabled());
    QVERIFY(f.EditCut1->isEnabled());
    f.EditCopy1->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<html>"));
    QTRY_VERIFY(f.EditPaste1->isEnabled());

    // The focus on the empty-able line box: find needs text there.
    f.lineedit->setFocus();
    f.lineedit->clear();
    QTRY_VERIFY(!f.SearchFind1->isEnabled());
    f.hide();
  }

  void findSelectsTheNextOccurrenceOrSaysSo() {
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.Edit1->setFocus();
    f.Edit1->SetCaretPosition(0);
    f.SearchFind1->trigger();
    auto* dialog = f.findChild<TFindDialog*>();
    QVERIFY(dialog);
    auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("findtext"));
    auto* next = dialog->findChild<QPushButton*>(QStringLiteral("findnext"));
    text->setText(QStringLiteral("HEAD"));
    next->click();
    QCOMPARE(f.Edit1->selectedText(), QStringLiteral("head"));
    const int first = f.Edit1->CaretPosition();
    next->click();
    QVERIFY(f.Edit1->CaretPosition() > first);
    QCOMPARE(f.Edit1->selectedText(), QStringLiteral("head"));
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
