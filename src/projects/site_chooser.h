// The "Choose site" window (Form8): picks a file of the project folder or of
// its "files" folder and hands it to the code generator as a link target.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TFileList;
class TGeneratorFields;
class TdxButton;

class TForm8 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm8(QWidget* parent = nullptr);

  // Shows the dialog modally; "Ok" fills the link field of `fields`.
  void ShowModalFor(TGeneratorFields& fields);

  // Handlers.
  void FormShow();
  void Button1Click();  // Site
  void Button2Click();  // Files
  void FileListBox1Change();
  void dxButton2Click();  // Ok
  void dxButton1Click();  // Close

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The folder the list shows in the current mode.
  QString ModeFolder() const;

  QLabel* Label1 = nullptr;  // the mode, "Site" or "Files", kept between showings
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  TFileList* FileListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;  // the picked file
  QLineEdit* Edit2 = nullptr;  // the link target handed back
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;

  TGeneratorFields* Fields_ = nullptr;
};
