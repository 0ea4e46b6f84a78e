// Editing real pages: find and replace over the document, the list of recent
// files in the File menu, and pages in code page 1252 and UTF-8.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <QStyleOptionMenuItem>

#include "browser_wait.h"
#include "code_generator_window.h"
#include "document_files.h"
#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "preview_window.h"
#include "recent_files.h"
#include "recent_menu.h"
#include "replace_dialog.h"
#include "save_prompt.h"
#include "settings.h"
#include "window_controls.h"

namespace {

// The replace dialog of the main window, opened by its menu command.
struct ReplaceControls {
  TReplaceDialog* Dialog;
  QLineEdit* Find;
  QLineEdit* With;
  QCheckBox* MatchCase;
  QCheckBox* WholeWord;
  QCheckBox* RegExp;
  QRadioButton* Down;
  QPushButton* FindNext;
  QPushButton* Replace;
  QPushButton* ReplaceAll;
};

ReplaceControls OpenReplace(TForm1& f) {
  Controls(f).SearchReplace1->trigger();
  auto* d = f.findChild<TReplaceDialog*>();
  if (d == nullptr) qFatal("no replace dialog");
  return {d,
          Control<QLineEdit>(*d, "replacefind"),
          Control<QLineEdit>(*d, "replacewith"),
          Control<QCheckBox>(*d, "replacematchcase"),
          Control<QCheckBox>(*d, "replacewholeword"),
          Control<QCheckBox>(*d, "replaceregexp"),
          Control<QRadioButton>(*d, "replacedown"),
          Control<QPushButton>(*d, "replacefindnext"),
          Control<QPushButton>(*d, "replaceone"),
          Control<QPushButton>(*d, "replaceall")};
}

}  // namespace

class TestEditing : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    env->Main().SetModifiedFlag(QString());
  }
  void cleanup() { env.reset(); }

  void replaceAllIsOneChangeAndOneUndoStep() {
    TForm1& f = env->Main();
    TEditorControl& editor = *Controls(f).Edit1;
    const QByteArray before = "<p>cat Cat</p>\r\n<p>cat catalog</p>\r\n";
    editor.SetTextBytes(before);
    f.SetModifiedFlag(QString());
    ReplaceControls r = OpenReplace(f);
    r.Find->setText("cat");
    r.With->setText("<b>dog</b>");
    r.MatchCase->setChecked(true);
    r.WholeWord->setChecked(true);
    r.ReplaceAll->click();
    QCOMPARE(editor.GetText(),
             QByteArray("<p><b>dog</b> Cat</p>\r\n<p><b>dog</b> catalog</p>\r\n"));
    QCOMPARE(f.statusBar()->currentMessage(), QStringLiteral("2 replacements"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    // Recoloured: the new tag shows the colour of the tags around it.
    const auto styleAt = [&editor](int pos) {
      return editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT,
                                  static_cast<unsigned long>(pos));
    };
    QCOMPARE(styleAt(3), styleAt(0));
    QVERIFY(styleAt(3) != styleAt(6));
    editor.undo();
    QCOMPARE(editor.GetText(), before);
    QVERIFY(env->Messages().isEmpty());

    r.Find->setText("bird");
    r.ReplaceAll->click();
    QCOMPARE(env->Messages(),
             QStringList{QStringLiteral("Vexa Web Editor Pro|Text not found: \"bird\"")});
    QCOMPARE(editor.GetText(), before);
  }

  void replaceTakesTheSelectedOccurrenceThenSelectsTheNext() {
    TForm1& f = env->Main();
    TEditorControl& editor = *Controls(f).Edit1;
    editor.SetTextBytes("one two one two one");
    editor.SetCaretPosition(0);
    ReplaceControls r = OpenReplace(f);
    r.Find->setText("ONE");
    r.With->setText("1");
    // Nothing selected yet: the first click only finds.
    r.Replace->click();
    QCOMPARE(editor.GetText(), QByteArray("one two one two one"));
    QCOMPARE(editor.selectedText(), QStringLiteral("one"));
    r.Replace->click();
    QCOMPARE(editor.GetText(), QByteArray("1 two one two one"));
    QCOMPARE(editor.CaretPosition(), 6);
    QCOMPARE(editor.selectedText(), QStringLiteral("one"));
    // Upwards from the end.
    editor.SetCaretPosition(editor.Length());
    Control<QRadioButton>(*r.Dialog, "replaceup")->setChecked(true);
    r.FindNext->click();
    QCOMPARE(editor.CaretPosition(), 14);
    r.Replace->click();
    QCOMPARE(editor.GetText(), QByteArray("1 two one two 1"));
    QCOMPARE(editor.CaretPosition(), 6);
    QVERIFY(env->Messages().isEmpty());
    r.Replace->click();
    QCOMPARE(editor.GetText(), QByteArray("1 two 1 two 1"));
    QCOMPARE(env->Messages(),
             QStringList{QStringLiteral("Vexa Web Editor Pro|Text not found: \"ONE\"")});
  }

  void regularExpressions() {
    TForm1& f = env->Main();
    TEditorControl& editor = *Controls(f).Edit1;
    editor.SetTextBytes("ann@example\r\nbob@test\r\n");
    ReplaceControls r = OpenReplace(f);
    r.RegExp->setChecked(true);
    r.Find->setText("(\\w+)@(\\w+)$");
    r.With->setText("\\2 for \\1");
    r.ReplaceAll->click();
    QCOMPARE(editor.GetText(), QByteArray("example for ann\r\ntest for bob\r\n"));
    QCOMPARE(f.statusBar()->currentMessage(), QStringLiteral("2 replacements"));

    // Empty matches: each line start once, and the search ends.
    r.Find->setText("^");
    r.With->setText("> ");
    r.ReplaceAll->click();
    QCOMPARE(editor.GetText(), QByteArray("> example for ann\r\n> test for bob\r\n> "));

    // A bad expression says why and changes nothing.
    const QByteArray before = editor.GetText();
    f.SetModifiedFlag(QString());
    r.Find->setText("(for");
    r.ReplaceAll->click();
    QCOMPARE(env->Errors(), QStringList{QStringLiteral(
                                "\"(for\" is not a valid regular expression: a parenthesis is "
                                "not matched")});
    r.FindNext->click();
    QCOMPARE(env->Errors().size(), 2);
    QCOMPARE(editor.GetText(), before);
    QVERIFY(f.ModifiedFlag().isEmpty());
    QVERIFY(env->Messages().isEmpty());
  }

  void replaceStandsBelowFind() {
    TForm1& f = env->Main();
    QCOMPARE(Controls(f).SearchReplace1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    auto* search = Control<QMenu>(f, "Search1");
    QCOMPARE(search->actions(),
             (QList<QAction*>{Controls(f).SearchFind1, Controls(f).SearchReplace1}));
    QCOMPARE(Controls(f).SearchReplace1->text(), QStringLiteral("&Replace..."));
  }

  void recentFilesOfferTheLastDocuments() {
    TForm1& f = env->Main();
    auto* file = Control<QMenu>(f, "File1");
    auto* recent = Control<TRecentMenu>(*file, "RecentFiles1");
    const QList<QAction*> entries = file->actions();
    QCOMPARE(entries.at(entries.size() - 2), recent->menuAction());
    QCOMPARE(entries.back(), Controls(f).FileExit1);
    emit file->aboutToShow();
    QVERIFY(!recent->menuAction()->isEnabled());

    const QString a = env->WriteFile(env->TempDir() + "a.htm", "<p>a</p>");
    const QString b = env->WriteFile(env->TempDir() + "b & c.htm", "<p>b</p>");
    const QString saved = env->TempDir() + "saved.htm";
    f.OpenDocument(a);
    f.OpenDocument(b);
    documents::FileSaveAs1Accept(f, saved);
    emit file->aboutToShow();
    QVERIFY(recent->menuAction()->isEnabled());
    QStringList shown;
    for (QAction* entry : recent->actions()) shown << entry->text();
    QCOMPARE(shown, (QStringList{saved, env->TempDir() + "b && c.htm", a}));

    // A missing file is greyed but can be chosen: it leaves the list.
    QFile::remove(b);
    emit file->aboutToShow();
    QAction* missing = recent->actions().at(1);
    QVERIFY(missing->isEnabled());
    QStyleOptionMenuItem look;
    recent->initStyleOption(&look, missing);
    QCOMPARE(look.palette.color(QPalette::Active, QPalette::Text),
             look.palette.color(QPalette::Disabled, QPalette::Text));
    recent->initStyleOption(&look, recent->actions().at(0));
    QVERIFY(look.palette.color(QPalette::Active, QPalette::Text) !=
            look.palette.color(QPalette::Disabled, QPalette::Text));
    Controls(f).Edit1->AppendLine("changed");
    missing->trigger();
    QCOMPARE(env->Errors(), QStringList{QStringLiteral("Cannot open file ") + b});
    QCOMPARE(f.RecentFiles().Paths(), (QStringList{saved, a}));
    QCOMPARE(f.CurFileName(), saved);

    // Choosing one asks to save the changed document first.
    bool asked = false;
    AnswerNextModal([&asked](QWidget* modal) {
      asked = qobject_cast<Tfrmnotsaved*>(modal) != nullptr;
      Controls(qobject_cast<Tfrmnotsaved*>(modal)).dxButton2->click();
    });
    emit file->aboutToShow();
    QCOMPARE(recent->actions().size(), 2);
    recent->actions().at(1)->trigger();
    QVERIFY(asked);
    QCOMPARE(f.CurFileName(), a);
    QCOMPARE(Controls(f).Edit1->GetText(), QByteArray("<p>a</p>"));
    QCOMPARE(f.RecentFiles().Paths(), (QStringList{a, saved}));
  }

  void recentFilesAreWrittenAfterTheOtherSettings() {
    TForm1& f = env->Main();
    f.RecentFiles().Add(QStringLiteral("/site/index.htm"));
    settings::Write(f);
    const QByteArray ini = TestEnvironment::ReadFile(env->ProgramDir() + "vexapro.ini");
    // A section of its own after the nineteen keys, which keep their places;
    // only the typing aids' section and the preview's caret switch follow it.
    const int recent = ini.indexOf("[Vexa Recent]\r\nFile1=/site/index.htm\r\nFile2=\r\n");
    for (const char* before : {"[Vexa options]", "[Vexa Manager options]", "[Vexa Interface]",
                               "Top Manager=", "Qlist2="}) {
      QVERIFY2(ini.indexOf(before) >= 0 && ini.indexOf(before) < recent, before);
    }
    const int editing = ini.indexOf('[', recent + 1);
    QCOMPARE(editing, ini.indexOf("[Vexa Editing]\r\n"));
    const int caret = ini.indexOf('[', editing + 1);
    QCOMPARE(caret, ini.indexOf("[Vexa Preview Caret]\r\nOutline=1\r\n"));
    QCOMPARE(ini.indexOf('[', caret + 1), -1);
  }

  void theEncodingPanelFollowsTheDocument() {
    TForm1& f = env->Main();
    QCOMPARE(f.StatusPanelText(2), QStringLiteral("Windows-1252"));
    // The third panel takes no room the window needed before.
    auto* bar = Control<QStatusBar>(f, "StatusBar1");
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto* panel = Control<QLabel>(*bar, "StatusPanel2");
    QVERIFY(panel->width() >= panel->sizeHint().width());
    QVERIFY(f.minimumSizeHint().width() <= 650);
    f.hide();
    const QString page = env->WriteFile(env->TempDir() + "page.htm", "<p>caf\xc3\xa9</p>");
    f.OpenDocument(page);
    QCOMPARE(f.StatusPanelText(2), QStringLiteral("UTF-8"));
    QCOMPARE(f.StatusPanelText(0), page);
    f.SetCaretLineDisplay(false);
    QCOMPARE(f.StatusPanelText(1), QStringLiteral("Line: 0 of 1"));
    Controls(f).Action1->trigger();
    QCOMPARE(f.StatusPanelText(2), QStringLiteral("Windows-1252"));
  }

  void asciiTokensKeepTheirColoursInEitherEncoding() {
    TForm1& f = env->Main();
    TEditorControl& editor = *Controls(f).Edit1;
    const auto styleAt = [&editor](int pos) {
      return editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT,
                                  static_cast<unsigned long>(pos));
    };
    f.OpenDocument(env->WriteFile(env->TempDir() + "latin.htm", "<p class=\"x\">caf\xe9</p>"));
    QCOMPARE(editor.Encoding(), TTextEncoding::Windows1252);
    const QList<long> latin = {styleAt(0), styleAt(3), styleAt(9), styleAt(14), styleAt(18)};
    f.OpenDocument(env->WriteFile(env->TempDir() + "utf8.htm", "<p class=\"x\">caf\xc3\xa9</p>"));
    QCOMPARE(editor.Encoding(), TTextEncoding::Utf8);
    QCOMPARE((QList<long>{styleAt(0), styleAt(3), styleAt(9), styleAt(14), styleAt(19)}), latin);
  }

  void refusedCharactersAreNamedInTheStatusBar() {
    TForm1& f = env->Main();
    TEditorControl& editor = *Controls(f).Edit1;
    const QByteArray before = editor.GetText();
    TypeCharacters(&editor, QString::fromUtf8("\xe6\x97\xa5"));
    QCOMPARE(editor.GetText(), before);
    QVERIFY(f.statusBar()->currentMessage().contains(QString::fromUtf8("\xe6\x97\xa5")));
    QVERIFY(f.statusBar()->currentMessage().contains(QStringLiteral("Windows-1252")));
    QVERIFY(env->Errors().isEmpty());

    // The code generator's Insert writes a fragment in the document's encoding.
    auto* generator = forms::Get<TForm5>(QStringLiteral("Form5"));
    Controls(generator).codepagec->setText(QString::fromUtf8("<p>\xe2\x82\xac \xe6\x97\xa5</p>"));
    f.statusBar()->clearMessage();
    Controls(generator).dxButton2->click();
    QCOMPARE(editor.GetText(), before);
    QVERIFY(f.statusBar()->currentMessage().contains(QString::fromUtf8("\xe6\x97\xa5")));
    f.OpenDocument(env->WriteFile(env->TempDir() + "utf8.htm", "<p>caf\xc3\xa9</p>"));
    Controls(generator).dxButton2->click();
    QCOMPARE(editor.GetText(),
             QByteArray("<p>caf\xc3\xa9</p>\r\n<p>\xe2\x82\xac \xe6\x97\xa5</p>"));
    Controls(generator).codepagec->setText(QString::fromUtf8("<p>\xe2\x82\xac</p>"));
    f.SetModifiedFlag(QString());
    Controls(f).Action1->trigger();
    Controls(generator).dxButton2->click();
    QVERIFY(editor.GetText().endsWith("<p>\x80</p>\r\n"));
  }

  void thePreviewShowsAUtf8PageAsUtf8() {
    QCOMPARE(web::HtmlContentType("<p>caf\xc3\xa9</p>"), QByteArray("text/html;charset=utf-8"));
    QCOMPARE(web::HtmlContentType("<p>caf\xe9</p>"), QByteArray("text/html"));
    QCOMPARE(web::HtmlContentType("<meta charset=\"windows-1252\"><p>caf\xc3\xa9</p>"),
             QByteArray("text/html"));

    TForm1& f = env->Main();
    auto* preview = forms::Get<TForm4>(QStringLiteral("Form4"));
    TWebBrowser* browser = Controls(preview).WebBrowser1;
    const auto shown = [&](const QByteArray& page) {
      f.OpenDocument(env->WriteFile(env->TempDir() + "page.htm", page));
      if (!LoadAndWait(browser, [&] { Controls(f).dxButton2->click(); })) return QString();
      return RunScript(browser, QStringLiteral("document.body.textContent")).toString();
    };
    QCOMPARE(shown("<p>caf\xc3\xa9 \xe6\x97\xa5</p>"),
             QString::fromUtf8("caf\xc3\xa9 \xe6\x97\xa5"));
    QCOMPARE(shown("<p>caf\xe9 \x80</p>"), QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"));
    // A page that names its character set is read in it.
    QCOMPARE(shown("<meta charset=\"windows-1252\"><p>caf\xc3\xa9</p>"),
             QString::fromUtf8("caf\xc3\x83\xc2\xa9"));
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestEditing)
#include "test_editing.moc"
