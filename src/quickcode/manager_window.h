// The "Vexa Manager" window (frmmanager): the pages of the project folder,
// the two quick-code lists and the one-click fragment buttons.
#pragma once

#include "list_hosts.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
class TFileList;
class TListBox;
class TdxButton;

class Tfrmmanager : public QDialog, public TQuickCodeLists, public TManagerOptions {
  Q_OBJECT

 public:
  explicit Tfrmmanager(QWidget* parent = nullptr);

  // Puts a fragment on the system clipboard through the transfer field and
  // pastes it into the document at the caret, replacing the selection.
  void InsertFragment(const QString& text);

  // TQuickCodeLists
  void LoadList(int list, const QString& path) override;
  // TManagerOptions
  bool StartupFlag(TStartupBox box) const override;
  void SetStartupFlag(TStartupBox box, bool on) override;
  int PageIndex() const override;
  void SetFileListFolder(const QString& folder) override;

  // Handlers.
  void FormShow();
  void FileListBox1DblClick();
  void dxButton4Click();  // Refresh List
  void Timer1Timer();
  void ListBox1DblClick();
  void ListBox2DblClick();
  void dxButton2Click();  // Open (the list chooser)
  void dxButton3Click();  // New/Edit (the list editor)
  void Button11Click();   // Frames
  void dxButton1Click();  // Close

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateFileManagerPage();
  void CreateQuickCodePage();
  void CreateInsertPage();
  QCheckBox* StartupBox(TStartupBox box) const;

  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  TFileList* FileListBox1 = nullptr;
  TdxButton* dxButton4 = nullptr;
  TListBox* ListBox1 = nullptr;
  TListBox* ListBox2 = nullptr;
  TdxButton* dxButton2 = nullptr;
  TdxButton* dxButton3 = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButton[6] = {};  // ToolButton1 .. ToolButton6
  QPushButton* Button[11] = {};     // Button1 .. Button11 ("Frames")
  QCheckBox* showprcheck = nullptr;
  QCheckBox* showmanagercheck = nullptr;
  QCheckBox* showpreviewcheck = nullptr;
  TdxButton* dxButton1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QTimer* Timer1 = nullptr;

  // The folder "Refresh List" returns to when the timer fires.
  QString RefreshFolder_;
};
