// The quick-code list windows: the list chooser with its picker, the list
// editor with its two pickers, saving lists, and the failed loads and saves.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include "existing_list_picker.h"
#include "file_lists.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "list_box.h"
#include "list_chooser.h"
#include "list_clicks.h"
#include "list_editor.h"
#include "list_file_picker.h"
#include "list_files.h"
#include "manager_window.h"
#include "user_list_picker.h"
#include "window_controls.h"

class TestQuickCode : public QObject {
  Q_OBJECT

  std::unique_ptr<TestEnvironment> env;
  Tfrmopenlists* chooser = nullptr;
  Tfrmopenlist1list2* filePicker = nullptr;
  Tfrmnewedit* editor = nullptr;
  Tfrmexcodlist1* sourcePicker = nullptr;
  Tfrmoecodlist* userPicker = nullptr;
  Tfrmmanager* manager = nullptr;

  QString Qcode() const { return env->ProgramDir() + "qcode/"; }
  QStringList Entries(QListWidget* list) const { return quickcode::ListBoxEntries(list); }
  QStringList FileEntries(const QString& name) const {
    return quickcode::ReadListFile(Qcode() + name);
  }

  // Answers the next picker: picks a file (when given) and presses a button.
  // Checks wait until the picker is closed, so a failure never leaves it open.
  void Pick(TListPicker* picker, const QString& file, bool ok = true) {
    AnswerNextModal([=](QWidget*) {
      if (!file.isEmpty()) ClickEntry(Controls(picker).FileListBox1, file);
      (ok ? Controls(picker).dxButton1 : Controls(picker).dxButton2)->click();
    });
  }

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->WriteFile(env->ProgramDir() + "qcode/mine.qvu", "<em></em>\r\n<kbd></kbd>");
    env->WriteFile(env->ProgramDir() + "qcode/readme.txt", "not a list");
    env->CreateForms();
    chooser = forms::Get<Tfrmopenlists>(QStringLiteral("frmopenlists"));
    filePicker = forms::Get<Tfrmopenlist1list2>(QStringLiteral("frmopenlist1list2"));
    editor = forms::Get<Tfrmnewedit>(QStringLiteral("frmnewedit"));
    sourcePicker = forms::Get<Tfrmexcodlist1>(QStringLiteral("frmexcodlist1"));
    userPicker = forms::Get<Tfrmoecodlist>(QStringLiteral("frmoecodlist"));
    manager = forms::Get<Tfrmmanager>(QStringLiteral("frmmanager"));
    QVERIFY(chooser && filePicker && editor && sourcePicker && userPicker && manager);
  }
  void cleanup() { env.reset(); }

  void chooserPicksAndLoadsBothLists() {
    chooser->show();
    QCOMPARE(Controls(chooser).Edit1->text(), Qcode() + "html1.qvw");
    QCOMPARE(Controls(chooser).Edit2->text(), Qcode() + "html2.qvw");

    QStringList listed;
    QString caption, picked;
    AnswerNextModal([&](QWidget*) {
      caption = filePicker->windowTitle();
      listed = Controls(filePicker).FileListBox1->FileNames();
      ClickEntry(Controls(filePicker).FileListBox1, "mine.qvu");
      picked = Controls(filePicker).Edit1->text();
      Controls(filePicker).dxButton1->click();
    });
    Controls(chooser).dxButton1->click();
    QCOMPARE(caption, QStringLiteral("Open List1"));
    QCOMPARE(picked, Qcode() + "mine.qvu");
    QCOMPARE(listed, (QStringList{"html1.qvw", "html2.qvw", "mine.qvu"}));
    QCOMPARE(Controls(chooser).Edit1->text(), Qcode() + "mine.qvu");
    QCOMPARE(Controls(manager).ListBox1->count(), 0);

    // "Cancel" copies nothing; a list added meanwhile shows at the next showing.
    env->WriteFile(Qcode() + "later.qvw", "<s></s>\r\n");
    AnswerNextModal([&](QWidget*) {
      caption = filePicker->windowTitle();
      listed = Controls(filePicker).FileListBox1->FileNames();
      Controls(filePicker).dxButton2->click();
    });
    Controls(chooser).dxButton2->click();
    QCOMPARE(caption, QStringLiteral("Open List2"));
    QVERIFY(listed.contains("later.qvw"));
    QCOMPARE(Controls(chooser).Edit2->text(), Qcode() + "html2.qvw");
    QCOMPARE(Controls(filePicker).Edit1->text(), Qcode() + "mine.qvu");

    Controls(chooser).dxButton3->click();
    QVERIFY(!chooser->isVisible());
    QCOMPARE(Entries(Controls(manager).ListBox1), (QStringList{"<em></em>", "<kbd></kbd>"}));
    QCOMPARE(Entries(Controls(manager).ListBox2), FileEntries("html2.qvw"));
    QVERIFY(env->Errors().isEmpty());
  }

  void closingTheChooserByItsTitleBarLoadsNothing() {
    manager->show();
    const QStringList defaults = Entries(Controls(manager).ListBox1);
    QCOMPARE(defaults, FileEntries("html1.qvw"));
    chooser->show();
    Pick(filePicker, "mine.qvu");
    Controls(chooser).dxButton1->click();
    chooser->close();
    QCOMPARE(Controls(chooser).Edit1->text(), Qcode() + "mine.qvu");
    QCOMPARE(Entries(Controls(manager).ListBox1), defaults);

    // The field is not empty, so the manager's next showing reads no list.
    Controls(manager).ListBox1->addItem(QStringLiteral("marker"));
    manager->hide();
    manager->show();
    QCOMPARE(Entries(Controls(manager).ListBox1), defaults + QStringList{"marker"});
  }

  void aPickerOkWithoutChoiceEmptiesTheFieldAndTheLoadFails() {
    Controls(manager).ListBox2->addItem(QStringLiteral("previous"));
    chooser->show();
    Pick(filePicker, QString());
    Controls(chooser).dxButton2->click();
    QCOMPARE(Controls(chooser).Edit2->text(), QString());
    Controls(chooser).dxButton3->click();
    QCOMPARE(env->Errors(), QStringList{"Cannot open file "});
    QVERIFY(chooser->isVisible());
    QCOMPARE(Entries(Controls(manager).ListBox1), FileEntries("html1.qvw"));
    QCOMPARE(Entries(Controls(manager).ListBox2), QStringList{"previous"});
  }

  void editorBuildsANewListAndSavesIt() {
    editor->show();
    QStringList offered;
    AnswerNextModal([&](QWidget*) {
      offered = Controls(sourcePicker).FileListBox1->FileNames();
      ClickEntry(Controls(sourcePicker).FileListBox1, "mine.qvu");
      Controls(sourcePicker).dxButton1->click();
    });
    Controls(editor).dxButton3->click();
    QCOMPARE(offered, (QStringList{"html1.qvw", "html2.qvw", "mine.qvu"}));
    QCOMPARE(Entries(Controls(editor).ListBox1), (QStringList{"<em></em>", "<kbd></kbd>"}));
    QVERIFY(!sourcePicker->isVisible());

    QVERIFY(DoubleClickEntry(Controls(editor).ListBox1, "<kbd></kbd>"));
    Controls(editor).dxButton2->click();  // All >>
    Controls(editor).Edit1->setText(QStringLiteral("<p class=\"note\"></p>"));
    Controls(editor).dxButton1->click();  // >>
    QCOMPARE(Controls(editor).Edit1->text(), QStringLiteral("<p class=\"note\"></p>"));
    Controls(editor).Edit1->clear();
    Controls(editor).dxButton1->click();
    QCOMPARE(
        Entries(Controls(editor).ListBox2),
        (QStringList{"<kbd></kbd>", "<em></em>", "<kbd></kbd>", "<p class=\"note\"></p>", ""}));

    // A double-click on the new list removes the entry; on its empty part, nothing.
    QVERIFY(DoubleClickEntry(Controls(editor).ListBox2, "<em></em>"));
    Controls(editor).ListBox2->clearSelection();
    DoubleClickEmptyPart(Controls(editor).ListBox2);
    QCOMPARE(Entries(Controls(editor).ListBox2),
             (QStringList{"<kbd></kbd>", "<kbd></kbd>", "<p class=\"note\"></p>", ""}));

    Controls(editor).LabeledEdit1->setText(QStringLiteral("my tags"));
    Controls(editor).dxButton6->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(env->ReadFile(Qcode() + "my tags.qvu"),
             QByteArray("<kbd></kbd>\r\n<kbd></kbd>\r\n<p class=\"note\"></p>\r\n\r\n"));
    QVERIFY(env->Errors().isEmpty());
  }

  void editorChangesAUserListInPlace() {
    editor->show();
    QStringList offered;
    AnswerNextModal([&](QWidget*) {
      offered = Controls(userPicker).FileListBox1->FileNames();
      ClickEntry(Controls(userPicker).FileListBox1, "mine.qvu");
      Controls(userPicker).dxButton1->click();
    });
    Controls(editor).dxButton4->click();  // Open/Edit
    QCOMPARE(offered, QStringList{"mine.qvu"});
    QCOMPARE(Entries(Controls(editor).ListBox2), (QStringList{"<em></em>", "<kbd></kbd>"}));
    QCOMPARE(Controls(editor).LabeledEdit1->text(), Qcode() + "mine.qvu");
    QVERIFY(!Controls(editor).LabeledEdit1->isEnabled());

    Controls(editor).Edit1->setText(QStringLiteral("<code></code>"));
    Controls(editor).dxButton1->click();
    Controls(editor).dxButton6->click();
    QCOMPARE(env->ReadFile(Qcode() + "mine.qvu"),
             QByteArray("<em></em>\r\n<kbd></kbd>\r\n<code></code>\r\n"));

    // After "New" a save needs a name again.
    editor->show();
    Controls(editor).dxButton5->click();
    QCOMPARE(Controls(editor).ListBox2->count(), 0);
    QVERIFY(Controls(editor).LabeledEdit1->isEnabled());
    QVERIFY(Controls(editor).LabeledEdit1->text().isEmpty());
    Controls(editor).dxButton6->click();
    QVERIFY(editor->isVisible());
    QCOMPARE(env->ReadFile(Qcode() + "mine.qvu"),
             QByteArray("<em></em>\r\n<kbd></kbd>\r\n<code></code>\r\n"));
  }

  void namesThatLeaveTheFolderAndAMissingFolderFailTheSave() {
    editor->show();
    Controls(editor).Edit1->setText(QStringLiteral("<hr>"));
    Controls(editor).dxButton1->click();
    for (const char* name : {"../escape", "."}) {
      env->Errors().clear();
      Controls(editor).LabeledEdit1->setText(name);
      Controls(editor).dxButton6->click();
      QCOMPARE(env->Errors(), QStringList{"Cannot create file " + Qcode() + name + ".qvu"});
      QVERIFY(editor->isVisible());
    }
    QVERIFY(!QFileInfo::exists(env->ProgramDir() + "escape.qvu"));
    QCOMPARE(QDir(Qcode()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"html1.qvw", "html2.qvw", "mine.qvu", "readme.txt"}));

    env->Errors().clear();
    QDir(Qcode()).removeRecursively();
    Controls(editor).LabeledEdit1->setText(QStringLiteral("fine"));
    Controls(editor).dxButton6->click();
    QCOMPARE(env->Errors(), QStringList{"Cannot create file " + Qcode() + "fine.qvu"});
    QVERIFY(editor->isVisible());
  }

  void failedLoadsKeepTheListsAndThePickerOpen() {
    editor->show();
    Controls(editor).ListBox1->addItem(QStringLiteral("source entry"));
    bool stayedOpen = false;
    AnswerNextModal([&](QWidget*) {
      ClickEntry(Controls(sourcePicker).FileListBox1, "mine.qvu");
      QFile::remove(Qcode() + "mine.qvu");
      Controls(sourcePicker).dxButton1->click();
      stayedOpen = sourcePicker->isVisible();
      Controls(sourcePicker).dxButton2->click();
    });
    Controls(editor).dxButton3->click();
    QVERIFY(stayedOpen);
    QCOMPARE(env->Errors(), QStringList{"Cannot open file " + Qcode() + "mine.qvu"});
    QCOMPARE(Entries(Controls(editor).ListBox1), QStringList{"source entry"});

    Controls(editor).ListBox1->clearSelection();
    DoubleClickEmptyPart(Controls(editor).ListBox1);
    QCOMPARE(env->Errors().last(), QStringLiteral("List index out of bounds (-1)"));
    QCOMPARE(Controls(editor).ListBox2->count(), 0);
  }
};

VEXA_GUI_TEST_MAIN(TestQuickCode)
#include "test_quickcode.moc"
