// The code generator: its pages and fields, the codes built on showing and on
// every change, the line and form buttons, and "Insert" at the document's end.
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "code_generator_window.h"
#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "window_controls.h"

namespace {

const QString kPageColorDefault = QStringLiteral(
    R"(<body bgcolor="White" text="Black" link="Blue" vlink="Darkblue" alink="Yellow">)");
const QString kTextDefault =
    QStringLiteral(R"(<p align="Left"><font face="Arial" size="10" color="White">)"
                   R"({To do: Insert your text with line breaks ++ here}</font></p>)");
const QString kImageDefault = QStringLiteral(R"(<p align="Left"><img src=""></p>)");
const QString kHeadlineDefault = QStringLiteral(
    R"(<p align="Left"><a name=""><font face="Arial" size="10" color="Black"></font></a></p>)");

// The text of the label that names a field, or a null string when it has none.
QString LabelOf(QWidget* field) {
  for (QLabel* label : field->window()->findChildren<QLabel*>()) {
    if (label->buddy() == field) return label->text();
  }
  return QString();
}

QString PageOf(QWidget* field) {
  auto* tabs = field->window()->findChild<QTabWidget*>(QStringLiteral("TabbedNotebook1"));
  for (int i = 0; i < tabs->count(); ++i) {
    if (tabs->widget(i)->isAncestorOf(field)) return tabs->tabText(i);
  }
  return QString();
}

}  // namespace

class TestCodeGenerator : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
    f = forms::Get<TForm5>(QStringLiteral("Form5"));
    QVERIFY(f);
  }
  void cleanup() {
    f = nullptr;
    env.reset();
  }

  void windowPagesAndFields() {
    QCOMPARE(f->windowTitle(), QStringLiteral("Vexa Web HTML Code Generator 1.2"));
    QCOMPARE(f->size(), QSize(534, 360));
    QCOMPARE(f->minimumSize(), f->maximumSize());
    QVERIFY(f->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(f->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(f->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(!Controls(f).Image1->pixmap().isNull());

    QStringList tabs;
    for (int i = 0; i < Controls(f).TabbedNotebook1->count(); ++i)
      tabs << Controls(f).TabbedNotebook1->tabText(i);
    QCOMPARE(tabs, (QStringList{"Page Colors", "Insert Link", "Insert Text", "Insert Image",
                                "Insert Bookmark/Headline", "Line breaks", "Form Field"}));

    // Page, field, label (nullptr: none), default; the three font fields are
    // editable combo boxes, the rest single-line fields.
    const char* fields[][4] = {
        {"Page Colors", "colorback", "Background Color", "White"},
        {"Page Colors", "colortext", "Text Color", "Black"},
        {"Page Colors", "colorlink", "Link Color", "Blue"},
        {"Page Colors", "colorvlink", "Visited Link", "Darkblue"},
        {"Page Colors", "coloralink", "Active Link", "Yellow"},
        {"Page Colors", "backimage1", "Background image:", ""},
        {"Page Colors", "codepagec", "Code:", ""},
        {"Insert Link", "facefontlink", "Font:", "Arial"},
        {"Insert Link", "facesize", "Font Size:", "10"},
        {"Insert Link", "linkalign", "Align", "Left"},
        {"Insert Link", "linktext", "Text:", ""},
        {"Insert Link", "imagelink", "Image:", ""},
        {"Insert Link", "linkurl", "URL:", ""},
        {"Insert Link", "linkcode", "Code:", ""},
        {"Insert Text", "intextfonts", "Font", "Arial"},
        {"Insert Text", "intextsize", "Size:", "10"},
        {"Insert Text", "intextcolor", "Color", "White"},
        {"Insert Text", "intextalign", "Align ", "Left"},
        {"Insert Text", "intextcode", "Code:", ""},
        {"Insert Image", "inimagealign", "Align", "Left"},
        {"Insert Image", "inimage", "Image", ""},
        {"Insert Image", "inimagecom", "Comment", ""},
        {"Insert Image", "inimagecode", "Code", ""},
        {"Insert Bookmark/Headline", "headfonts", nullptr, "Arial"},
        {"Insert Bookmark/Headline", "headsize", "Size", "10"},
        {"Insert Bookmark/Headline", "headcolor", "Color", "Black"},
        {"Insert Bookmark/Headline", "headalign", "Align", "Left"},
        {"Insert Bookmark/Headline", "headtitle", "Title", ""},
        {"Insert Bookmark/Headline", "headcode", "Code", ""},
        {"Line breaks", "linecode", "Code", ""},
        {"Form Field", "formalign", "Align", "Left"},
        {"Form Field", "formcode", "Code", ""},
    };
    for (const auto& [page, name, label, text] : fields) {
      QWidget* w = f->findChild<QWidget*>(QString::fromLatin1(name));
      QVERIFY2(w, name);
      QCOMPARE(PageOf(w), QString::fromLatin1(page));
      QCOMPARE(LabelOf(w), label ? QString::fromLatin1(label) : QString());
      auto* box = qobject_cast<QComboBox*>(w);
      auto* edit = qobject_cast<QLineEdit*>(w);
      QVERIFY2(box ? box->isEditable() : edit && !edit->isReadOnly(), name);
      // Codes are empty until the window is first shown.
      QCOMPARE(box ? box->currentText() : edit->text(), QString::fromLatin1(text));
    }

    const char* captions[] = {"Close",
                              "Insert",
                              "^",
                              "Insert",
                              "^",
                              "Insert",
                              "^",
                              "Insert",
                              "Insert",
                              "Line Break",
                              "Horizontal Line",
                              "Insert",
                              "One-Line Text Box",
                              "Scrolling Text Box",
                              "Check Box",
                              "Radio Button",
                              "Drop Down Menu",
                              "Push Button",
                              "Insert",
                              "^"};
    for (int i = 0; i < 20; ++i) {
      auto* b = f->findChild<TdxButton*>(QStringLiteral("dxButton%1").arg(i + 1));
      QVERIFY2(b, qPrintable(QString::number(i + 1)));
      QCOMPARE(b->text(), QString::fromLatin1(captions[i]));
    }
  }

  void showingBuildsFourCodesAndFillsTheFontLists() {
    f->show();
    QCOMPARE(Controls(f).codepagec->text(), kPageColorDefault);
    QCOMPARE(Controls(f).intextcode->text(), kTextDefault);
    QCOMPARE(Controls(f).inimagecode->text(), kImageDefault);
    QCOMPARE(Controls(f).headcode->text(), kHeadlineDefault);
    QVERIFY(Controls(f).linkcode->text().isEmpty());
    QVERIFY(Controls(f).linecode->text().isEmpty());
    QVERIFY(Controls(f).formcode->text().isEmpty());

    const QStringList families = QFontDatabase::families();
    for (QComboBox* box :
         {Controls(f).facefontlink, Controls(f).intextfonts, Controls(f).headfonts}) {
      QStringList items;
      for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
      QCOMPARE(items, families);
      QCOMPARE(box->currentText(), QStringLiteral("Arial"));
    }

    // Hand edits: the four built codes are rebuilt by the next showing, the
    // link, line and form codes keep theirs. Typed font names stay, and the
    // lists are refilled, not added to.
    for (QLineEdit* code : {Controls(f).codepagec, Controls(f).linkcode, Controls(f).intextcode,
                            Controls(f).inimagecode, Controls(f).headcode, Controls(f).linecode,
                            Controls(f).formcode}) {
      code->setText(QStringLiteral("edited"));
    }
    Controls(f).intextfonts->setEditText(QStringLiteral("My Own Face"));
    Controls(f).intextcode->setText(QStringLiteral("edited"));
    f->hide();
    f->show();
    QCOMPARE(Controls(f).codepagec->text(), kPageColorDefault);
    QCOMPARE(Controls(f).inimagecode->text(), kImageDefault);
    QCOMPARE(Controls(f).headcode->text(), kHeadlineDefault);
    QCOMPARE(Controls(f).intextcode->text(), QString(kTextDefault).replace("Arial", "My Own Face"));
    QCOMPARE(Controls(f).intextfonts->currentText(), QStringLiteral("My Own Face"));
    QCOMPARE(Controls(f).intextfonts->count(), families.size());
    QCOMPARE(Controls(f).linkcode->text(), QStringLiteral("edited"));
    QCOMPARE(Controls(f).linecode->text(), QStringLiteral("edited"));
    QCOMPARE(Controls(f).formcode->text(), QStringLiteral("edited"));
  }

  void everyFieldRebuildsItsPageCode() {
    f->show();
    const QList<QPair<QWidget*, QLineEdit*>> wiring = {
        {Controls(f).colorback, Controls(f).codepagec},
        {Controls(f).colortext, Controls(f).codepagec},
        {Controls(f).colorlink, Controls(f).codepagec},
        {Controls(f).colorvlink, Controls(f).codepagec},
        {Controls(f).coloralink, Controls(f).codepagec},
        {Controls(f).backimage1, Controls(f).codepagec},
        {Controls(f).facefontlink, Controls(f).linkcode},
        {Controls(f).facesize, Controls(f).linkcode},
        {Controls(f).linkalign, Controls(f).linkcode},
        {Controls(f).linktext, Controls(f).linkcode},
        {Controls(f).imagelink, Controls(f).linkcode},
        {Controls(f).linkurl, Controls(f).linkcode},
        {Controls(f).intextfonts, Controls(f).intextcode},
        {Controls(f).intextsize, Controls(f).intextcode},
        {Controls(f).intextcolor, Controls(f).intextcode},
        {Controls(f).intextalign, Controls(f).intextcode},
        {Controls(f).inimagealign, Controls(f).inimagecode},
        {Controls(f).inimage, Controls(f).inimagecode},
        {Controls(f).inimagecom, Controls(f).inimagecode},
        {Controls(f).headfonts, Controls(f).headcode},
        {Controls(f).headsize, Controls(f).headcode},
        {Controls(f).headcolor, Controls(f).headcode},
        {Controls(f).headalign, Controls(f).headcode},
        {Controls(f).headtitle, Controls(f).headcode}};
    for (int i = 0; i < wiring.size(); ++i) {
      const auto& [field, code] = wiring[i];
      auto* box = qobject_cast<QComboBox*>(field);
      const QString typed = QStringLiteral("~%1~").arg(i);
      QTest::keyClicks(box ? static_cast<QWidget*>(box->lineEdit()) : field, typed);
      QVERIFY2(code->text().contains(typed), qPrintable(field->objectName()));
    }

    // Emptying a field rebuilds too: the link without text drops its font.
    Controls(f).linktext->clear();
    QVERIFY(Controls(f).linkcode->text().contains(QStringLiteral("<img src=")));
    QVERIFY(!Controls(f).linkcode->text().contains(QStringLiteral("<font face=")));
    Controls(f).inimagecom->clear();
    QVERIFY(!Controls(f).inimagecode->text().contains(QStringLiteral("alt=")));

    // A font picked from the list counts like a typed one.
    const int pick = Controls(f).intextfonts->count() - 1;
    QVERIFY(pick >= 0);
    Controls(f).intextfonts->setCurrentIndex(pick);
    QVERIFY(Controls(f).intextcode->text().contains(
        QStringLiteral("face=\"%1\"").arg(Controls(f).intextfonts->itemText(pick))));
  }

  void lineAndFormButtons() {
    f->show();
    QTest::mouseClick(Controls(f).dxButton10, Qt::LeftButton);
    QCOMPARE(Controls(f).linecode->text(), QStringLiteral("<br>"));
    QTest::mouseClick(Controls(f).dxButton11, Qt::LeftButton);
    QCOMPARE(Controls(f).linecode->text(), QStringLiteral("<hr>"));

    const QString head = QStringLiteral(
        R"(<form method="POST" action="--WEBBOT-SELF--"><!--webbot bot="SaveResults" U-File="private/)");
    const QList<QPair<TdxButton*, QString>> files = {{Controls(f).dxButton13, "form_results.txt"},
                                                     {Controls(f).dxButton14, "form_results1.txt"},
                                                     {Controls(f).dxButton15, "form_results2.txt"},
                                                     {Controls(f).dxButton16, "form_results3.txt"},
                                                     {Controls(f).dxButton17, "form_results4.txt"},
                                                     {Controls(f).dxButton18, "form_results5.txt"}};
    Controls(f).formalign->setText(QStringLiteral("center"));
    for (const auto& [button, file] : files) {
      QTest::mouseClick(button, Qt::LeftButton);
      QVERIFY2(Controls(f).formcode->text().startsWith(head + file + '"'), qPrintable(file));
      QVERIFY(Controls(f).formcode->text().contains(QStringLiteral(R"(<div align="center"><p>)")));
      QCOMPARE(Controls(f).formcode->text().contains(QStringLiteral("</center>")),
               button == Controls(f).dxButton13);
    }
    // The alignment is read when a button is pressed, not when it changes.
    const QString before = Controls(f).formcode->text();
    QTest::keyClicks(Controls(f).formalign, QStringLiteral("X"));
    QCOMPARE(Controls(f).formcode->text(), before);
  }

  void insertAppendsTheCodeAsTheLastLine() {
    TEditorControl* editor = Controls(env->Main()).Edit1;
    f->show();

    // Ending with a line break: the code and a line break follow, caret or not.
    editor->SetTextBytes("<html>\r\n<body>\r\n");
    editor->SetCaretPosition(2);
    QTest::mouseClick(Controls(f).dxButton2, Qt::LeftButton);
    QCOMPARE(editor->GetText(),
             QByteArray("<html>\r\n<body>\r\n") + kPageColorDefault.toLatin1() + "\r\n");

    // Without a final line break: a line break, then the code.
    editor->SetTextBytes("<p>one</p>");
    editor->SetCaretPosition(0);
    Controls(f).inimagecom->setText(QString::fromUtf8("caf\u00e9"));
    QTest::mouseClick(Controls(f).dxButton8, Qt::LeftButton);
    QCOMPARE(editor->GetText(),
             QByteArray("<p>one</p>\r\n<p align=\"Left\"><img src=\"\" alt=\"caf\xe9\"></p>"));

    // Hand edits go in as they read; an empty code appends an empty line.
    Controls(f).linecode->setText(QStringLiteral("<br><br>"));
    QTest::mouseClick(Controls(f).dxButton12, Qt::LeftButton);
    QTest::mouseClick(Controls(f).dxButton19, Qt::LeftButton);
    QVERIFY(Controls(f).formcode->text().isEmpty());
    QCOMPARE(editor->GetText(), QByteArray("<p>one</p>\r\n<p align=\"Left\"><img src=\"\" "
                                           "alt=\"caf\xe9\"></p>\r\n<br><br>\r\n"));
    editor->ClearText();
    Controls(env->Main()).lblsaved->setText(QString());
    QTest::mouseClick(Controls(f).dxButton9, Qt::LeftButton);
    QCOMPARE(editor->GetText(), kHeadlineDefault.toLatin1() + "\r\n");

    // The window stays open with its fields, and the change went through the
    // main window's refresh like any other edit.
    QVERIFY(f->isVisible());
    QCOMPARE(Controls(f).linecode->text(), QStringLiteral("<br><br>"));
    QCOMPARE(Controls(env->Main()).lblsaved->text(), QStringLiteral("1"));

    QTest::mouseClick(Controls(f).dxButton1, Qt::LeftButton);
    QVERIFY(!f->isVisible());
  }

 private:
  std::unique_ptr<TestEnvironment> env;
  TForm5* f = nullptr;
};

VEXA_GUI_TEST_MAIN(TestCodeGenerator)
#include "test_code_generator.moc"
