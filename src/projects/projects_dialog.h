// The "Projects" window (frmprojects): creates a project (project file and
// site folder), lists the projects of the store, opens and deletes them.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTabWidget;
class TDriveList;
class TFileList;
class TFolderList;
class TdxButton;

class Tfrmprojects : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmprojects(QWidget* parent = nullptr);

  // File > Projects: the dialog is shown with "Close" offered, so the user
  // may leave it without choosing a project.
  void ShowWithClose();

  // Handlers.
  void FormShow();
  void Drive1Change();
  void Dir1Change();
  void dxButton2Click();  // Create New Project
  void FileListBox1Click();
  void dxButton3Click();  // Open Project
  void dxButton4Click();  // Delete project
  void dxButton1Click();  // Close
  void dxButton5Click();  // Quit Vexa Web Editor

 public slots:
  // Escape closes the dialog only while "Close" is offered.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool MayReplaceDocument();
  void LoadStartPage(const QString& folder);
  void FinishProjectChange();

  QLabel* Image1 = nullptr;
  QTabWidget* TabbedNotebook1 = nullptr;
  QLineEdit* projecttitle = nullptr;
  QLabel* Label1 = nullptr;
  TDriveList* Drive1 = nullptr;
  TFolderList* Dir1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  QLabel* Label2 = nullptr;
  TFileList* FileListBox1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  TdxButton* dxButton4 = nullptr;
  TdxButton* dxButton3 = nullptr;
  TdxButton* dxButton5 = nullptr;
  TdxButton* dxButton1 = nullptr;

  // The project file whose folder Edit2 shows.
  QString Edit2File_;
};
