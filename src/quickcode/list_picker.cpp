#include "list_picker.h"

#include <QLineEdit>
#include <QShowEvent>

#include "error_guard.h"
#include "file_lists.h"
#include "flat_button.h"
#include "paths.h"
#include "window_look.h"

TListPicker::TListPicker(const QString& formName, const QString& caption, const QString& mask,
                         QWidget* parent)
    : QDialog(parent) {
  setObjectName(formName);
  setWindowTitle(caption);
  setFixedSize(281, 268);

  FileListBox1 = new TFileList(this);
  FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
  FileListBox1->SetMask(mask);
  FileListBox1->setGeometry(8, 8, 265, 193);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setReadOnly(true);
  Edit1->setGeometry(8, 208, 265, 21);
  dxButton1 = new TdxButton(QStringLiteral("Ok"), this);
  dxButton1->setObjectName(QStringLiteral("dxButton1"));
  dxButton1->setGeometry(104, 238, 81, 23);
  dxButton2 = new TdxButton(QStringLiteral("Cancel"), this);
  dxButton2->setObjectName(QStringLiteral("dxButton2"));
  dxButton2->setGeometry(192, 238, 81, 23);

  connect(FileListBox1, &TFileList::SelectionChanged, this,
          Guard([this] { FileListBox1Change(); }));
  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
}

void TListPicker::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  look::CentreOnScreen(this);
  RunGuarded([this] { FormShow(); });
}

void TListPicker::FormShow() { FileListBox1->SetFolder(paths::QuickCodeDir()); }

void TListPicker::FileListBox1Change() { Edit1->setText(FileListBox1->FileName()); }

void TListPicker::dxButton1Click() {
  TakePath(Edit1->text());
  CloseAndForgetFolder();
}

void TListPicker::dxButton2Click() { CloseAndForgetFolder(); }

void TListPicker::CloseAndForgetFolder() {
  // Pointed elsewhere now, the list reads the folder afresh at the next showing.
  FileListBox1->SetFolder(paths::RootDir());
  hide();
}
