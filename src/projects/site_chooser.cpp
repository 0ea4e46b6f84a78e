#include "site_chooser.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "error_guard.h"
#include "file_lists.h"
#include "flat_button.h"
#include "generator_fields.h"
#include "image_dialog.h"
#include "main_shell.h"
#include "paths.h"
#include "window_look.h"

namespace {

constexpr int kClientWidth = 333;
constexpr int kClientHeight = 280;

const QString kSite = QStringLiteral("Site");
const QString kFiles = QStringLiteral("Files");

QLineEdit* MakeReadOnlyField(QWidget* parent, const char* name, int top) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setReadOnly(true);
  field->setGeometry(72, top, 249, 21);
  return field;
}

}  // namespace

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(QStringLiteral("Choose site"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);

  Label1 = new QLabel(kSite, this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(168, 8);
  Label1->adjustSize();
  Button1 = new QPushButton(kSite, this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(8, 24, 57, 17);
  Button2 = new QPushButton(kFiles, this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(8, 48, 57, 17);
  // Enter in the list must not switch the mode.
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);
  FileListBox1 = new TFileList(this);
  FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
  FileListBox1->setGeometry(72, 24, 249, 177);
  Edit1 = MakeReadOnlyField(this, "Edit1", 200);
  Edit2 = MakeReadOnlyField(this, "Edit2", 224);
  dxButton1 = new TdxButton(QStringLiteral("Close"), this);
  dxButton1->setObjectName(QStringLiteral("dxButton1"));
  dxButton1->setGeometry(40, 248, 97, 25);
  dxButton2 = new TdxButton(QStringLiteral("Ok"), this);
  dxButton2->setObjectName(QStringLiteral("dxButton2"));
  dxButton2->setGeometry(176, 248, 105, 25);

  connect(Button1, &QPushButton::clicked, this, Guard([this] { Button1Click(); }));
  connect(Button2, &QPushButton::clicked, this, Guard([this] { Button2Click(); }));
  connect(FileListBox1, &TFileList::SelectionChanged, this,
          Guard([this] { FileListBox1Change(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
}

void TForm8::ShowModalFor(TGeneratorFields& fields) {
  Fields_ = &fields;
  exec();
  Fields_ = nullptr;
}

void TForm8::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  look::CentreOver(this, parentWidget());
  RunGuarded([this] { FormShow(); });
}

QString TForm8::ModeFolder() const {
  const QString project = MainShell().ProjectDir();
  return Label1->text() == kFiles ? project + QStringLiteral("/files") : project;
}

void TForm8::FormShow() {
  // The list opens on the folder of the mode the dialog was left in, so the
  // names listed and the prefix handed back always agree.
  FileListBox1->SetFolder(ModeFolder());
  siteassets::OfferOkForProject(this, dxButton2);
}

void TForm8::Button1Click() {
  Label1->setText(kSite);
  Label1->adjustSize();
  FileListBox1->SetFolder(ModeFolder());
}

void TForm8::Button2Click() {
  Label1->setText(kFiles);
  Label1->adjustSize();
  FileListBox1->SetFolder(ModeFolder());
}

void TForm8::FileListBox1Change() {
  Edit1->setText(FileListBox1->FileName());
  const QString name = paths::FileNamePart(Edit1->text());
  if (Label1->text() == kSite) {
    Edit2->setText(name);
  } else if (Label1->text() == kFiles) {
    Edit2->setText(QStringLiteral("files/") + name);
  }
}

void TForm8::dxButton2Click() {
  if (Fields_) Fields_->SetLinkTarget(Edit2->text());
  // Pointing away makes the next showing read the project folder afresh; the
  // close box leaves the list as it is.
  FileListBox1->SetFolder(paths::RootDir());
  accept();
}

void TForm8::dxButton1Click() {
  FileListBox1->SetFolder(paths::RootDir());
  QDialog::reject();
}
