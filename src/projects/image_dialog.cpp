#include "image_dialog.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include "dialogs.h"
#include "error_guard.h"
#include "file_lists.h"
#include "flat_button.h"
#include "generator_fields.h"
#include "main_shell.h"
#include "paths.h"
#include "window_look.h"

namespace siteassets {

void OfferOkForProject(QWidget* dialog, TdxButton* ok) {
  if (!MainShell().ProjectDir().isEmpty()) {
    ok->setEnabled(true);
    return;
  }
  dialogs::Warning(dialog, QStringLiteral("Warning"),
                   QStringLiteral("You must open/create a project to use this function."));
  ok->setEnabled(false);
}

}  // namespace siteassets

namespace {

constexpr int kClientWidth = 347;
constexpr int kClientHeight = 327;

QLineEdit* MakeReadOnlyField(QWidget* parent, const char* name, int top) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setReadOnly(true);
  field->setGeometry(8, top, 329, 21);
  return field;
}

// Copies a picture into the site unless the site already holds one of that
// name, which then stays as it is (also when it is the picked file itself).
// A copy that fails is reported: handing back a reference to a picture that
// never reached the site would leave a broken image in the page.
void CopyIntoSite(const QString& source, const QString& destination) {
  if (source.isEmpty() || QFileInfo::exists(destination)) return;
  if (!QFileInfo(source).isFile()) throw CannotOpenFile(source);
  if (!QFile::copy(source, destination)) throw CannotCreateFile(destination);
}

}  // namespace

TImageInsert::TImageInsert(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ImageInsert"));
  setWindowTitle(QStringLiteral("Insert image"));
  // A fixed window with a title but no title-bar buttons: "Ok" and "Close" leave it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(kClientWidth, kClientHeight);

  Drive1 = new TDriveList(this);
  Drive1->setObjectName(QStringLiteral("Drive1"));
  Drive1->setGeometry(8, 8, 225, 19);
  Dir1 = new TFolderList(this);
  Dir1->setObjectName(QStringLiteral("Dir1"));
  Dir1->setGeometry(8, 32, 225, 97);
  File1 = new TFileList(this);
  File1->setObjectName(QStringLiteral("File1"));
  File1->setGeometry(8, 136, 329, 105);
  File1->SetMask(QStringLiteral("*.jpg;*.jpeg;*.bmp;*.gif;*.png"));
  Edit1 = MakeReadOnlyField(this, "Edit1", 248);
  Edit2 = MakeReadOnlyField(this, "Edit2", 272);
  Edit3 = MakeReadOnlyField(this, "Edit3", 296);
  dxButton1 = new TdxButton(QStringLiteral("Ok"), this);
  dxButton1->setObjectName(QStringLiteral("dxButton1"));
  dxButton1->setGeometry(264, 32, 57, 25);
  dxButton2 = new TdxButton(QStringLiteral("Close"), this);
  dxButton2->setObjectName(QStringLiteral("dxButton2"));
  dxButton2->setGeometry(264, 72, 57, 25);

  connect(Drive1, &TDriveList::DriveChanged, this, Guard([this] { Drive1Change(); }));
  connect(Dir1, &TFolderList::FolderChanged, this, Guard([this] { Dir1Change(); }));
  connect(File1, &TFileList::SelectionChanged, this, Guard([this] { File1Change(); }));
  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
}

void TImageInsert::ShowModalFor(TGeneratorFields& fields) {
  Fields_ = &fields;
  exec();
  Fields_ = nullptr;
}

void TImageInsert::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  look::CentreOver(this, parentWidget());
  RunGuarded([this] { FormShow(); });
}

void TImageInsert::reject() {
  RunGuarded([this] { dxButton2Click(); });
}

void TImageInsert::FormShow() {
  Dir1->SetFolder(MainShell().ProjectDir() + QStringLiteral("/images"));
  siteassets::OfferOkForProject(this, dxButton1);
}

void TImageInsert::Drive1Change() { Dir1->SetFolder(Drive1->Drive()); }

void TImageInsert::Dir1Change() {
  File1->SetFolder(Dir1->Folder());
  Drive1->ShowDriveOf(Dir1->Folder());
}

void TImageInsert::File1Change() {
  // The name goes into the reference as it stands: case and blanks kept,
  // nothing escaped.
  const QString name = File1->SelectedName();
  Edit1->setText(File1->FileName());
  Edit2->setText(MainShell().ProjectDir() + QStringLiteral("/images/") + name);
  Edit3->setText(QStringLiteral("images/") + name);
}

void TImageInsert::dxButton1Click() {
  CopyIntoSite(Edit1->text(), Edit2->text());
  if (Fields_) {
    Fields_->SetPictureReference(Edit3->text());
  }
  // Pointing away makes the next showing read the project's pictures afresh.
  Dir1->SetFolder(paths::RootDir());
  accept();
}

void TImageInsert::dxButton2Click() {
  Dir1->SetFolder(paths::RootDir());
  QDialog::reject();
}
