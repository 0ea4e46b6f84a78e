// What the three list pickers share: the list of the "qcode" folder (read
// afresh on every showing), the field with the chosen file's full path, "Ok"
// and "Cancel". Each picker adds what its "Ok" does with the path.
#pragma once

#include <QDialog>

class QLineEdit;
class TFileList;
class TdxButton;

class TListPicker : public QDialog {
  Q_OBJECT

 public:
  TListPicker(const QString& formName, const QString& caption, const QString& mask,
              QWidget* parent);

  // Handlers.
  void FormShow();
  void FileListBox1Change();
  void dxButton1Click();  // Ok
  void dxButton2Click();  // Cancel

 protected:
  // The picker's own part of "Ok", run before it closes; an error keeps it open.
  virtual void TakePath(const QString& path) = 0;
  void showEvent(QShowEvent* event) override;

 private:
  void CloseAndForgetFolder();

  TFileList* FileListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;  // keeps the last chosen path between showings
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
};
