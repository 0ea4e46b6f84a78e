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

namespace {

const QString kPageColorDefault = QStringLiteral(
    R"(<body bgcolor="White" text="Black" link="Blue" vlink="Darkblue" alink="Yellow">)");
const QString kTextDefault = QStringLiteral(
    R"(<p align="Left"><font face="Arial" size="10" color="White">)"
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
    QVERIFY(!f->Image1->pixmap().isNull());
    QCOMPARE(f->dxButton1->text(), QStringLiteral("Close"));

    QStringList tabs;
    for (int i = 0; i < f->TabbedNotebook1->count(); ++i) tabs << f->TabbedNotebook1->tabText(i);
    QCOMPARE(tabs, (QStringList{"Page Colors", "Insert Link", "Insert Text", "Insert Image",
                                "Insert Bookmark/Headline", "Line breaks", "Form Field"}));

    struct Field {
      const char* Page;
      const char* Name;
      const char* Label;  // nullptr: no label
      const char* Default;
      bool Font;
    };
    const Field fields[] = {
        {"Page Colors", "colorback", "Background Color", "White", false},
        {"Page Colors", "colortext", "Text Color", "Black", false},
        {"Page Colors", "colorlink", "Link Color", "Blue", false},
        {"Page Colors", "colorvlink", "Visited Link", "Darkblue", false},
        {"Page Colors", "coloralink", "Active Link", "Yellow", false},
        {"Page Colors", "backimage1", "Background image:", "", false},
        {"Page Colors", "codepagec", "Code:", "", false},
        {"Insert Link", "facefontlink", "Font:", "Arial", true},
        {"Insert Link", "facesize", "Font Size:", "10", false},
        {"Insert Link", "linkalign", "Align", "Left", false},
        {"Insert Link", "linktext", "Text:", "", false},
        {"Insert Link", "imagelink", "Image:", "", false},
        {"Insert Link", "linkurl", "URL:", "", false},
        {"Insert Link", "linkcode", "Code:", "", false},
        {"Insert Text", "intextfonts", "Font", "Arial", true},
        {"Insert Text", "intextsize", "Size:", "10", false},
        {"Insert Text", "intextcolor", "Color", "White", false},
        {"Insert Text", "intextalign", "Align ", "Left", false},
        {"Insert Text", "intextcode", "Code:", "", false},
        {"Insert Image", "inimagealign", "Align", "Left", false},
        {"Insert Image", "inimage", "Image", "", false},
        {"Insert Image", "inimagecom", "Comment", "", false},
        {"Insert Image", "inimagecode", "Code", "", false},
        {"Insert Bookmark/Headline", "headfonts", nullptr, "Arial", true},
        {"Insert Bookmark/Headline", "headsize", "Size", "10", false},
        {"Insert Bookmark/Headline", "headcolor", "Color", "Black", false},
        {"Insert Bookmark/Headline", "headalign", "Align", "Left", false},
        {"Insert Bookmark/Headline", "headtitle", "Title", "", false},
        {"Insert Bookmark/Headline", "headcode", "Code", "", false},
        {"Line breaks", "linecode", "Code", "", false},
        {"Form Field", "formalign", "Align", "Left", false},
        {"Form Field", "formcode", "Code", "", false},
    };
    for (const Field& d : fields) {
      const QString name = QString::fromLatin1(d.Name);
      QWidget* w = f->findChild<QWidget*>(name);
      QVERIFY2(w, d.Name);
      QCOMPARE(PageOf(w), QString::fromLatin1(d.Page));
      QCOMPARE(LabelOf(w), d.Label ? QString::fromLatin1(d.Label) : QString());
      if (d.Font) {
        auto* box = qobject_cast<QComboBox*>(w);
        QVERIFY2(box && box->isEditable(), d.Name);
        QCOMPARE(box->currentText(), QString::fromLatin1(d.Default));
      } else {
        auto* edit = qobject_cast<QLineEdit*>(w);
        QVERIFY2(edit && !edit->isReadOnly(), d.Name);
        // Codes are empty until the window is first shown.
        QCOMPARE(edit->text(), QString::fromLatin1(d.Default));
      }
    }

    const QList<QPair<const char*, const char*>> buttons = {
        {"dxButton2", "Insert"},    {"dxButton3", "^"},
        {"dxButton4", "Insert"},    {"dxButton5", "^"},
        {"dxButton6", "Insert"},    {"dxButton7", "^"},
        {"dxButton8", "Insert"},    {"dxButton9", "Insert"},
        {"dxButton10", "Line Break"}, {"dxButton11", "Horizontal Line"},
        {"dxButton12", "Insert"},   {"dxButton13", "One-Line Text Box"},
        {"dxButton14", "Scrolling Text Box"}, {"dxButton15", "Check Box"},
        {"dxButton16", "Radio Button"}, {"dxButton17", "Drop Down Menu"},
        {"dxButton18", "Push Button"}, {"dxButton19", "Insert"},
        {"dxButton20", "^"}};
    for (const auto& [name, caption] : buttons) {
      auto* b = f->findChild<TdxButton*>(QString::fromLatin1(name));
      QVERIFY2(b, name);
      QCOMPARE(b->text(), QString::fromLatin1(caption));
    }
  }

  void showingBuildsFourCodesAndFillsTheFontLists() {
    f->show();
    QCOMPARE(f->codepagec->text(), kPageColorDefault);
    QCOMPARE(f->intextcode->text(), kTextDefault);
    QCOMPARE(f->inimagecode->text(), kImageDefault);
    QCOMPARE(f->headcode->text(), kHeadlineDefault);
    QVERIFY(f->linkcode->text().isEmpty());
    QVERIFY(f->linecode->text().isEmpty());
    QVERIFY(f->formcode->text().isEmpty());

    const QStringList families = QFontDatabase::families();
    for (QComboBox* box : {f->facefontlink, f->intextfonts, f->headfonts}) {
      QStringList items;
      for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
      QCOMPARE(items, families);
      QCOMPARE(box->currentText(), QStringLiteral("Arial"));
    }

    // Hand edits: the four built codes are rebuilt by the next showing, the
    // link, line and form codes keep theirs. Typed font names stay, and the
    // lists are refilled, not added to.
    for (QLineEdit* code : {f->codepagec, f->linkcode, f->intextcode, f->inimagecode, f->headcode,
                            f->linecode, f->formcode}) {
      code->setText(QStringLiteral("edited"));
    }
    f->intextfonts->setEditText(QStringLiteral("My Own Face"));
    f->intextcode->setText(QStringLiteral("edited"));
    f->hide();
    f->show();
    QCOMPARE(f->codepagec->text(), kPageColorDefault);
    QCOMPARE(f->inimagecode->text(), kImageDefault);
    QCOMPARE(f->headcode->text(), kHeadlineDefault);
    QCOMPARE(f->intextcode->text(), QString(kTextDefault).replace("Arial", "My Own Face"));
    QCOMPARE(f->intextfonts->currentText(), QStringLiteral("My Own Face"));
    QCOMPARE(f->intextfonts->count(), families.size());
    QCOMPARE(f->linkcode->text(), QStringLiteral("edited"));
    QCOMPARE(f->linecode->text(), QStringLiteral("edited"));
    QCOMPARE(f->formcode->text(), QStringLiteral("edited"));
  }

  void typingRebuildsThePageCode() {
    f->show();
    // Page colours: each field, and the background image switches the form.
    QTest::keyClicks(f->colorback, QStringLiteral("X"));
    QCOMPARE(f->codepagec->text(),
             QString(kPageColorDefault).replace(R"(bgcolor="White")", R"(bgcolor="WhiteX")"));
    QTest::keyClicks(f->backimage1, QStringLiteral("b.gif"));
    QVERIFY(f->codepagec->text().endsWith(R"(alink="Yellow" background="b.gif">)"));
    f->backimage1->clear();
    QVERIFY(f->codepagec->text().endsWith(R"(alink="Yellow">)"));

    // Link: text form, image form with text, image form without text.
    QTest::keyClicks(f->linktext, QStringLiteral("Home"));
    QCOMPARE(f->linkcode->text(),
             QStringLiteral(
                 R"(<p align="Left"><a href=""><font face="Arial" size="10">Home</font></a></p>)"));
    QTest::keyClicks(f->linkurl, QStringLiteral("index.htm"));
    QTest::keyClicks(f->imagelink, QStringLiteral("h.png"));
    QCOMPARE(f->linkcode->text(),
             QStringLiteral(R"(<p align="Left"><a href="index.htm"><img src="h.png">)"
                            R"(<font face="Arial" size="10">Home</font></a></p>)"));
    f->linktext->clear();
    QCOMPARE(f->linkcode->text(),
             QStringLiteral(R"(<p align="Left"><a href="index.htm"><img src="h.png"></font></a></p>)"));

    // A font picked from the list counts like a typed one.
    const int pick = f->facefontlink->count() - 1;
    QVERIFY(pick >= 0);
    f->imagelink->clear();
    f->facefontlink->setCurrentIndex(pick);
    QVERIFY(f->linkcode->text().contains(
        QStringLiteral("face=\"%1\"").arg(f->facefontlink->itemText(pick))));
    f->facefontlink->lineEdit()->clear();
    QTest::keyClicks(f->facefontlink->lineEdit(), QStringLiteral("Ar"));
    QVERIFY(f->linkcode->text().contains(QStringLiteral("face=\"Ar\"")));

    // Text, image and headline pages.
    f->intextcolor->setText(QStringLiteral("Red"));
    QVERIFY(f->intextcode->text().contains(QStringLiteral("color=\"Red\"")));
    QTest::keyClicks(f->inimagecom, QStringLiteral("A dog"));
    QCOMPARE(f->inimagecode->text(),
             QStringLiteral(R"(<p align="Left"><img src="" alt="A dog"></p>)"));
    f->inimagecom->clear();
    QCOMPARE(f->inimagecode->text(), kImageDefault);
    QTest::keyClicks(f->headtitle, QStringLiteral("Top"));
    QCOMPARE(f->headcode->text(),
             QStringLiteral(R"(<p align="Left"><a name="Top"><font face="Arial" size="10" )"
                            R"(color="Black">Top</font></a></p>)"));
    QTest::keyClicks(f->headfonts->lineEdit(), QStringLiteral("X"));
    QVERIFY(f->headcode->text().contains(QStringLiteral("face=\"ArialX\"")));
  }

  void lineAndFormButtons() {
    f->show();
    QTest::mouseClick(f->dxButton10, Qt::LeftButton);
    QCOMPARE(f->linecode->text(), QStringLiteral("<br>"));
    QTest::mouseClick(f->dxButton11, Qt::LeftButton);
    QCOMPARE(f->linecode->text(), QStringLiteral("<hr>"));

    const QString head = QStringLiteral(
        R"(<form method="POST" action="--WEBBOT-SELF--"><!--webbot bot="SaveResults" U-File="private/)");
    const QList<QPair<TdxButton*, QString>> files = {
        {f->dxButton13, "form_results.txt"},  {f->dxButton14, "form_results1.txt"},
        {f->dxButton15, "form_results2.txt"}, {f->dxButton16, "form_results3.txt"},
        {f->dxButton17, "form_results4.txt"}, {f->dxButton18, "form_results5.txt"}};
    f->formalign->setText(QStringLiteral("center"));
    for (const auto& [button, file] : files) {
      QTest::mouseClick(button, Qt::LeftButton);
      QVERIFY2(f->formcode->text().startsWith(head + file + '"'), qPrintable(file));
      QVERIFY(f->formcode->text().contains(QStringLiteral(R"(<div align="center"><p>)")));
      QCOMPARE(f->formcode->text().contains(QStringLiteral("</center>")), button == f->dxButton13);
    }
    // The alignment is read when a button is pressed, not when it changes.
    const QString before = f->formcode->text();
    QTest::keyClicks(f->formalign, QStringLiteral("X"));
    QCOMPARE(f->formcode->text(), before);
  }

  void insertAppendsTheCodeAsTheLastLine() {
    TEditorControl* editor = env->Main().Edit1;
    f->show();

    // Ending with a line break: the code and a line break follow, caret or not.
    editor->SetTextBytes("<html>\r\n<body>\r\n");
    editor->SetCaretPosition(2);
    QTest::mouseClick(f->dxButton2, Qt::LeftButton);
    QCOMPARE(editor->GetText(), QByteArray("<html>\r\n<body>\r\n") +
                                    kPageColorDefault.toLatin1() + "\r\n");

    // Without a final line break: a line break, then the code.
    editor->SetTextBytes("<p>one</p>");
    editor->SetCaretPosition(0);
    f->inimagecom->setText(QString::fromUtf8("caf\u00e9"));
    QTest::mouseClick(f->dxButton8, Qt::LeftButton);
    QCOMPARE(editor->GetText(),
             QByteArray("<p>one</p>\r\n<p align=\"Left\"><img src=\"\" alt=\"caf\xe9\"></p>"));

    // Hand edits go in as they read; an empty code appends an empty line.
    f->linecode->setText(QStringLiteral("<br><br>"));
    QTest::mouseClick(f->dxButton12, Qt::LeftButton);
    QTest::mouseClick(f->dxButton19, Qt::LeftButton);
    QVERIFY(f->formcode->text().isEmpty());
    QCOMPARE(editor->GetText(), QByteArray("<p>one</p>\r\n<p align=\"Left\"><img src=\"\" "
                                           "alt=\"caf\xe9\"></p>\r\n<br><br>\r\n"));
    editor->ClearText();
    env->Main().lblsaved->setText(QString());
    QTest::mouseClick(f->dxButton9, Qt::LeftButton);
    QCOMPARE(editor->GetText(), kHeadlineDefault.toLatin1() + "\r\n");

    // The window stays open with its fields, and the change went through the
    // main window's refresh like any other edit.
    QVERIFY(f->isVisible());
    QCOMPARE(f->linecode->text(), QStringLiteral("<br><br>"));
    QCOMPARE(env->Main().lblsaved->text(), QStringLiteral("1"));

    QTest::mouseClick(f->dxButton1, Qt::LeftButton);
    QVERIFY(!f->isVisible());
  }

 private:
  std::unique_ptr<TestEnvironment> env;
  TForm5* f = nullptr;
};

VEXA_GUI_TEST_MAIN(TestCodeGenerator)
#include "test_code_generator.moc"
