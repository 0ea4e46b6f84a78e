#include "code_generator_window.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>

#include "editor_control.h"
#include "error_guard.h"
#include "flat_button.h"
#include "form_registry.h"
#include "html_templates.h"
#include "image_dialog.h"
#include "main_shell.h"
#include "paths.h"
#include "site_chooser.h"
#include "two_line_tabs.h"
#include "window_look.h"

namespace {

constexpr int kClientWidth = 534;
constexpr int kClientHeight = 360;

// Every page is laid out on one grid: two columns of labelled fields, a wide
// row for the code field and the "Insert" button below it.
constexpr int kLeft = 8;
constexpr int kRight = 208;
constexpr int kColumnWidth = 189;
constexpr int kWideWidth = 360;  // a field with a "^" button after it
constexpr int kFullWidth = 389;
constexpr int kFieldHeight = 21;
constexpr int kLabelHeight = 16;
constexpr int kRowHeight = 44;
constexpr int kCodeRow = 184;
constexpr int kInsertTop = 236;

int RowTop(int row) { return 8 + row * kRowHeight; }

QLabel* AddLabel(QWidget* page, const QString& text, int x, int y, QWidget* buddy) {
  auto* label = new QLabel(text, page);
  label->setGeometry(x, y, kFullWidth, kLabelHeight);
  label->setBuddy(buddy);
  return label;
}

// A single-line field with its label above it.
QLineEdit* AddField(QWidget* page, const char* name, const QString& label, const QString& text,
                    int x, int row, int width) {
  auto* field = new QLineEdit(text, page);
  field->setObjectName(QString::fromLatin1(name));
  field->setGeometry(x, RowTop(row) + kLabelHeight, width, kFieldHeight);
  AddLabel(page, label, x, RowTop(row), field);
  return field;
}

// A font name field: the user types a name or picks an installed one. The
// typed text counts exactly as typed, so nothing completes it.
QComboBox* AddFontField(QWidget* page, const char* name, const QString& label, int x, int row) {
  auto* box = new QComboBox(page);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setCompleter(nullptr);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setEditText(QStringLiteral("Arial"));
  box->setGeometry(x, RowTop(row) + kLabelHeight, kColumnWidth, kFieldHeight);
  if (!label.isEmpty()) AddLabel(page, label, x, RowTop(row), box);
  return box;
}

QLineEdit* AddCodeField(QWidget* page, const char* name, const QString& label) {
  auto* field = new QLineEdit(page);
  field->setObjectName(QString::fromLatin1(name));
  field->setGeometry(kLeft, kCodeRow + kLabelHeight, kFullWidth, kFieldHeight);
  AddLabel(page, label, kLeft, kCodeRow, field);
  return field;
}

TdxButton* AddButton(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* button = new TdxButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(r);
  return button;
}

// The "^" button right of a wide field.
TdxButton* AddChooseButton(QWidget* page, const char* name, int row) {
  return AddButton(page, name, QStringLiteral("^"),
                   QRect(kLeft + kWideWidth + 4, RowTop(row) + kLabelHeight, 25, kFieldHeight));
}

TdxButton* AddInsertButton(QWidget* page, const char* name) {
  return AddButton(page, name, QStringLiteral("Insert"),
                   QRect(kLeft + kFullWidth - 89, kInsertTop, 89, 25));
}

// Refills a font box with the installed families, keeping what the user typed.
void FillFontNames(QComboBox* box) {
  const QSignalBlocker quiet(box);
  const QString typed = box->currentText();
  box->clear();
  box->addItems(QFontDatabase::families());
  box->setEditText(typed);
}

template <typename Handler>
void OnChange(TForm5* form, QLineEdit* field, Handler handler) {
  // textChanged, not textEdited: a text set by another window rebuilds the
  // code just as typing does.
  QObject::connect(field, &QLineEdit::textChanged, form, Guard(handler));
}

template <typename Handler>
void OnChange(TForm5* form, QComboBox* box, Handler handler) {
  QObject::connect(box, &QComboBox::editTextChanged, form, Guard(handler));
}

template <typename Handler>
void OnClick(TForm5* form, TdxButton* button, Handler handler) {
  QObject::connect(button, &TdxButton::clicked, form, Guard(handler));
}

}  // namespace

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("Vexa Web HTML Code Generator 1.2"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  look::SetColors(this, Qt::white);
  Image1 = look::AddPicture(this, paths::ProgramDir() + QStringLiteral("pictures/codegen.jpg"),
                            QRect(8, 8, 97, 313));

  TabbedNotebook1 = new TTwoLineTabs(this);
  TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
  TabbedNotebook1->setGeometry(113, 8, 413, 313);
  BuildColorPage();
  BuildLinkPage();
  BuildTextPage();
  BuildImagePage();
  BuildHeadlinePage();
  BuildLinePage();
  BuildFormPage();

  dxButton1 = AddButton(this, "dxButton1", QStringLiteral("Close"),
                        QRect(kClientWidth - 8 - 97, 328, 97, 25));
  OnClick(this, dxButton1, [this] { dxButton1Click(); });
}

void TForm5::BuildColorPage() {
  auto* page = new QWidget;
  colorback = AddField(page, "colorback", QStringLiteral("Background Color"),
                       QStringLiteral("White"), kLeft, 0, kColumnWidth);
  colortext = AddField(page, "colortext", QStringLiteral("Text Color"), QStringLiteral("Black"),
                       kRight, 0, kColumnWidth);
  colorlink = AddField(page, "colorlink", QStringLiteral("Link Color"), QStringLiteral("Blue"),
                       kLeft, 1, kColumnWidth);
  colorvlink = AddField(page, "colorvlink", QStringLiteral("Visited Link"),
                        QStringLiteral("Darkblue"), kRight, 1, kColumnWidth);
  coloralink = AddField(page, "coloralink", QStringLiteral("Active Link"), QStringLiteral("Yellow"),
                        kLeft, 2, kColumnWidth);
  backimage1 = AddField(page, "backimage1", QStringLiteral("Background image:"), QString(), kLeft,
                        3, kWideWidth);
  dxButton3 = AddChooseButton(page, "dxButton3", 3);
  codepagec = AddCodeField(page, "codepagec", QStringLiteral("Code:"));
  dxButton2 = AddInsertButton(page, "dxButton2");
  TabbedNotebook1->addTab(page, QStringLiteral("Page Colors"));

  OnChange(this, colorback, [this] { ColorbackChange(); });
  OnChange(this, colortext, [this] { colortextChange(); });
  OnChange(this, colorlink, [this] { colorlinkChange(); });
  OnChange(this, colorvlink, [this] { colorvlinkChange(); });
  OnChange(this, coloralink, [this] { coloralinkChange(); });
  OnChange(this, backimage1, [this] { backimage1Change(); });
  OnClick(this, dxButton3, [this] { dxButton3Click(); });
  OnClick(this, dxButton2, [this] { dxButton2Click(); });
}

void TForm5::BuildLinkPage() {
  auto* page = new QWidget;
  facefontlink = AddFontField(page, "facefontlink", QStringLiteral("Font:"), kLeft, 0);
  facesize = AddField(page, "facesize", QStringLiteral("Font Size:"), QStringLiteral("10"), kRight,
                      0, kColumnWidth);
  linkalign = AddField(page, "linkalign", QStringLiteral("Align"), QStringLiteral("Left"), kLeft, 1,
                       kColumnWidth);
  linktext =
      AddField(page, "linktext", QStringLiteral("Text:"), QString(), kRight, 1, kColumnWidth);
  imagelink =
      AddField(page, "imagelink", QStringLiteral("Image:"), QString(), kLeft, 2, kWideWidth);
  dxButton5 = AddChooseButton(page, "dxButton5", 2);
  linkurl = AddField(page, "linkurl", QStringLiteral("URL:"), QString(), kLeft, 3, kWideWidth);
  dxButton20 = AddChooseButton(page, "dxButton20", 3);
  linkcode = AddCodeField(page, "linkcode", QStringLiteral("Code:"));
  dxButton4 = AddInsertButton(page, "dxButton4");
  TabbedNotebook1->addTab(page, QStringLiteral("Insert Link"));

  OnChange(this, facefontlink, [this] { facefontlinkChange(); });
  OnChange(this, facesize, [this] { facesizeChange(); });
  OnChange(this, linkalign, [this] { linkalignChange(); });
  OnChange(this, linktext, [this] { linktextChange(); });
  OnChange(this, imagelink, [this] { imagelinkChange(); });
  OnChange(this, linkurl, [this] { linkurlChange(); });
  OnClick(this, dxButton5, [this] { dxButton5Click(); });
  OnClick(this, dxButton20, [this] { dxButton20Click(); });
  OnClick(this, dxButton4, [this] { dxButton4Click(); });
}

void TForm5::BuildTextPage() {
  auto* page = new QWidget;
  intextfonts = AddFontField(page, "intextfonts", QStringLiteral("Font"), kLeft, 0);
  intextsize = AddField(page, "intextsize", QStringLiteral("Size:"), QStringLiteral("10"), kRight,
                        0, kColumnWidth);
  intextcolor = AddField(page, "intextcolor", QStringLiteral("Color"), QStringLiteral("White"),
                         kLeft, 1, kColumnWidth);
  intextalign = AddField(page, "intextalign", QStringLiteral("Align "), QStringLiteral("Left"),
                         kRight, 1, kColumnWidth);
  intextcode = AddCodeField(page, "intextcode", QStringLiteral("Code:"));
  dxButton6 = AddInsertButton(page, "dxButton6");
  TabbedNotebook1->addTab(page, QStringLiteral("Insert Text"));

  OnChange(this, intextfonts, [this] { intextfontsChange(); });
  OnChange(this, intextsize, [this] { intextsizeChange(); });
  OnChange(this, intextcolor, [this] { intextcolorChange(); });
  OnChange(this, intextalign, [this] { intextalignChange(); });
  OnClick(this, dxButton6, [this] { dxButton6Click(); });
}

void TForm5::BuildImagePage() {
  auto* page = new QWidget;
  inimagealign = AddField(page, "inimagealign", QStringLiteral("Align"), QStringLiteral("Left"),
                          kLeft, 0, kColumnWidth);
  inimage = AddField(page, "inimage", QStringLiteral("Image"), QString(), kLeft, 1, kWideWidth);
  dxButton7 = AddChooseButton(page, "dxButton7", 1);
  inimagecom =
      AddField(page, "inimagecom", QStringLiteral("Comment"), QString(), kLeft, 2, kFullWidth);
  inimagecode = AddCodeField(page, "inimagecode", QStringLiteral("Code"));
  dxButton8 = AddInsertButton(page, "dxButton8");
  TabbedNotebook1->addTab(page, QStringLiteral("Insert Image"));

  OnChange(this, inimagealign, [this] { inimagealignChange(); });
  OnChange(this, inimage, [this] { inimageChange(); });
  OnChange(this, inimagecom, [this] { inimagecomChange(); });
  OnClick(this, dxButton7, [this] { dxButton7Click(); });
  OnClick(this, dxButton8, [this] { dxButton8Click(); });
}

void TForm5::BuildHeadlinePage() {
  auto* page = new QWidget;
  headfonts = AddFontField(page, "headfonts", QString(), kLeft, 0);
  headsize = AddField(page, "headsize", QStringLiteral("Size"), QStringLiteral("10"), kRight, 0,
                      kColumnWidth);
  headcolor = AddField(page, "headcolor", QStringLiteral("Color"), QStringLiteral("Black"), kLeft,
                       1, kColumnWidth);
  headalign = AddField(page, "headalign", QStringLiteral("Align"), QStringLiteral("Left"), kRight,
                       1, kColumnWidth);
  headtitle = AddField(page, "headtitle", QStringLiteral("Title"), QString(), kLeft, 2, kFullWidth);
  headcode = AddCodeField(page, "headcode", QStringLiteral("Code"));
  dxButton9 = AddInsertButton(page, "dxButton9");
  TabbedNotebook1->addTab(page, QStringLiteral("Insert Bookmark/Headline"));

  OnChange(this, headfonts, [this] { headfontsChange(); });
  OnChange(this, headsize, [this] { headsizeChange(); });
  OnChange(this, headcolor, [this] { headcolorChange(); });
  OnChange(this, headalign, [this] { headalignChange(); });
  OnChange(this, headtitle, [this] { headtitleChange(); });
  OnClick(this, dxButton9, [this] { dxButton9Click(); });
}

void TForm5::BuildLinePage() {
  auto* page = new QWidget;
  dxButton10 = AddButton(page, "dxButton10", QStringLiteral("Line Break"),
                         QRect(kLeft, RowTop(0) + kLabelHeight, 121, 25));
  dxButton11 = AddButton(page, "dxButton11", QStringLiteral("Horizontal Line"),
                         QRect(kLeft + 129, RowTop(0) + kLabelHeight, 121, 25));
  linecode = AddCodeField(page, "linecode", QStringLiteral("Code"));
  dxButton12 = AddInsertButton(page, "dxButton12");
  TabbedNotebook1->addTab(page, QStringLiteral("Line breaks"));

  OnClick(this, dxButton10, [this] { dxButton10Click(); });
  OnClick(this, dxButton11, [this] { dxButton11Click(); });
  OnClick(this, dxButton12, [this] { dxButton12Click(); });
}

void TForm5::BuildFormPage() {
  auto* page = new QWidget;
  formalign = AddField(page, "formalign", QStringLiteral("Align"), QStringLiteral("Left"), kLeft, 0,
                       kColumnWidth);
  const struct {
    const char* Name;
    const char* Caption;
    TdxButton** Button;
  } buttons[] = {{"dxButton13", "One-Line Text Box", &dxButton13},
                 {"dxButton14", "Scrolling Text Box", &dxButton14},
                 {"dxButton15", "Check Box", &dxButton15},
                 {"dxButton16", "Radio Button", &dxButton16},
                 {"dxButton17", "Drop Down Menu", &dxButton17},
                 {"dxButton18", "Push Button", &dxButton18}};
  for (int i = 0; i < 6; ++i) {
    const QRect r(kLeft + (i % 3) * 131, RowTop(1) + kLabelHeight + (i / 3) * 33, 123, 25);
    *buttons[i].Button =
        AddButton(page, buttons[i].Name, QString::fromLatin1(buttons[i].Caption), r);
  }
  formcode = AddCodeField(page, "formcode", QStringLiteral("Code"));
  dxButton19 = AddInsertButton(page, "dxButton19");
  TabbedNotebook1->addTab(page, QStringLiteral("Form Field"));

  OnClick(this, dxButton13, [this] { dxButton13Click(); });
  OnClick(this, dxButton14, [this] { dxButton14Click(); });
  OnClick(this, dxButton15, [this] { dxButton15Click(); });
  OnClick(this, dxButton16, [this] { dxButton16Click(); });
  OnClick(this, dxButton17, [this] { dxButton17Click(); });
  OnClick(this, dxButton18, [this] { dxButton18Click(); });
  OnClick(this, dxButton19, [this] { dxButton19Click(); });
}

void TForm5::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred when it first opens; afterwards it stays where the user put it.
  if (!Centred_) {
    look::CentreOnScreen(this);
    Centred_ = true;
  }
  RunGuarded([this] { FormShow(); });
}

void TForm5::SetPictureReference(const QString& reference) {
  QLineEdit* field = nullptr;
  switch (TabbedNotebook1->currentIndex()) {
    case 0:
      field = backimage1;
      break;
    case 1:
      field = imagelink;
      break;
    case 3:
      field = inimage;
      break;
    default:
      return;
  }
  field->setText(reference);
}

void TForm5::SetLinkTarget(const QString& target) { linkurl->setText(target); }

// ------------------------------------------------------------------ building

void TForm5::RebuildPageColorCode() {
  codepagec->setText(
      codegen::PageColorCode({colorback->text(), colortext->text(), colorlink->text(),
                              colorvlink->text(), coloralink->text(), backimage1->text()}));
}

void TForm5::RebuildLinkCode() {
  linkcode->setText(
      codegen::LinkCode({facefontlink->currentText(), facesize->text(), linkalign->text(),
                         linktext->text(), imagelink->text(), linkurl->text()}));
}

void TForm5::RebuildTextCode() {
  intextcode->setText(codegen::TextCode(
      {intextfonts->currentText(), intextsize->text(), intextcolor->text(), intextalign->text()}));
}

void TForm5::RebuildImageCode() {
  inimagecode->setText(
      codegen::ImageCode({inimagealign->text(), inimage->text(), inimagecom->text()}));
}

void TForm5::RebuildHeadlineCode() {
  headcode->setText(
      codegen::HeadlineCode({headfonts->currentText(), headsize->text(), headcolor->text(),
                             headalign->text(), headtitle->text()}));
}

void TForm5::AppendToDocument(const QLineEdit* code) {
  // The fragment in the document's encoding; one it cannot hold is refused.
  TEditorControl* editor = MainShell().Editor();
  QByteArray bytes;
  if (editor->TakeInput(code->text(), &bytes)) editor->AppendLine(bytes);
}

void TForm5::ChoosePicture() {
  if (auto* dialog = forms::Get<TImageInsert>(QStringLiteral("ImageInsert"))) {
    dialog->ShowModalFor(*this, this);
  }
}

// ------------------------------------------------------------------ handlers

void TForm5::FormShow() {
  // The link, line and form codes keep their last text; these four are built
  // afresh from their fields, which drops hand edits of them.
  RebuildPageColorCode();
  FillFontNames(facefontlink);
  FillFontNames(intextfonts);
  RebuildTextCode();
  RebuildImageCode();
  FillFontNames(headfonts);
  RebuildHeadlineCode();
}

void TForm5::ColorbackChange() { RebuildPageColorCode(); }
void TForm5::colortextChange() { RebuildPageColorCode(); }
void TForm5::colorlinkChange() { RebuildPageColorCode(); }
void TForm5::colorvlinkChange() { RebuildPageColorCode(); }
void TForm5::coloralinkChange() { RebuildPageColorCode(); }
void TForm5::backimage1Change() { RebuildPageColorCode(); }
void TForm5::facefontlinkChange() { RebuildLinkCode(); }
void TForm5::facesizeChange() { RebuildLinkCode(); }
void TForm5::linkalignChange() { RebuildLinkCode(); }
void TForm5::linktextChange() { RebuildLinkCode(); }
void TForm5::imagelinkChange() { RebuildLinkCode(); }
void TForm5::linkurlChange() { RebuildLinkCode(); }
void TForm5::intextfontsChange() { RebuildTextCode(); }
void TForm5::intextsizeChange() { RebuildTextCode(); }
void TForm5::intextcolorChange() { RebuildTextCode(); }
void TForm5::intextalignChange() { RebuildTextCode(); }
void TForm5::inimagealignChange() { RebuildImageCode(); }
void TForm5::inimageChange() { RebuildImageCode(); }
void TForm5::inimagecomChange() { RebuildImageCode(); }
void TForm5::headfontsChange() { RebuildHeadlineCode(); }
void TForm5::headsizeChange() { RebuildHeadlineCode(); }
void TForm5::headcolorChange() { RebuildHeadlineCode(); }
void TForm5::headalignChange() { RebuildHeadlineCode(); }
void TForm5::headtitleChange() { RebuildHeadlineCode(); }

void TForm5::dxButton1Click() { hide(); }
void TForm5::dxButton2Click() { AppendToDocument(codepagec); }
void TForm5::dxButton3Click() { ChoosePicture(); }
void TForm5::dxButton4Click() { AppendToDocument(linkcode); }
void TForm5::dxButton5Click() { ChoosePicture(); }
void TForm5::dxButton6Click() { AppendToDocument(intextcode); }
void TForm5::dxButton7Click() { ChoosePicture(); }
void TForm5::dxButton8Click() { AppendToDocument(inimagecode); }
void TForm5::dxButton9Click() { AppendToDocument(headcode); }
void TForm5::dxButton10Click() { linecode->setText(codegen::LineBreakCode()); }
void TForm5::dxButton11Click() { linecode->setText(codegen::HorizontalLineCode()); }
void TForm5::dxButton12Click() { AppendToDocument(linecode); }

void TForm5::dxButton13Click() {
  formcode->setText(codegen::FormCode(codegen::FormField::OneLineTextBox, formalign->text()));
}
void TForm5::dxButton14Click() {
  formcode->setText(codegen::FormCode(codegen::FormField::ScrollingTextBox, formalign->text()));
}
void TForm5::dxButton15Click() {
  formcode->setText(codegen::FormCode(codegen::FormField::CheckBox, formalign->text()));
}
void TForm5::dxButton16Click() {
  formcode->setText(codegen::FormCode(codegen::FormField::RadioButton, formalign->text()));
}
void TForm5::dxButton17Click() {
  formcode->setText(codegen::FormCode(codegen::FormField::DropDownMenu, formalign->text()));
}
void TForm5::dxButton18Click() {
  formcode->setText(codegen::FormCode(codegen::FormField::PushButton, formalign->text()));
}

void TForm5::dxButton19Click() { AppendToDocument(formcode); }

void TForm5::dxButton20Click() {
  if (auto* dialog = forms::Get<TForm8>(QStringLiteral("Form8"))) dialog->ShowModalFor(*this, this);
}
