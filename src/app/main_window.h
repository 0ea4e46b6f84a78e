// The main window (Form1): the editor Edit1 with its menus, tool bars, status
// bar and small controls, and the main window's share of the document state.
// It wires events to handlers; documents, the refresh, the preview, the
// settings and the edit actions each live in their own unit, which reach the
// window through TMainForm.
#pragma once

#include <QMainWindow>

#include "main_form.h"
#include "recent_files.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimer;
class QToolBar;
class TCheckCommands;
class TDiskWatch;
class TEditActions;
class THtmlTyping;
class TRecentMenu;
class TRecovery;
class TdxButton;
class TEditorControl;

class TForm1 : public QMainWindow, public TMainForm {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // TMainShell
  TEditorControl* Editor() override { return Edit1; }
  QString CurFileName() const override { return curfilename; }
  void SetCurFileName(const QString& name) override;
  void SetStatusFileName(const QString& name) override;
  QString ModifiedFlag() const override;
  void SetModifiedFlag(const QString& flag) override;
  QString ProjectDir() const override;
  void SetProjectDir(const QString& folder) override;
  void SetMainCaption(const QString& caption) override;
  void ShowStatusNote(const QString& note) override;
  bool SavePrompt() override;
  void Save() override;
  void OpenDocument(const QString& path) override;
  void SetSyntaxText(const QString& syntax) override;
  void SynlistChange() override;
  void StopPreviewTimer() override;
  void ShowPreviewStartPage() override;
  QString ManagerFolder() const override;
  void UpdateManagerFolder() override;
  void Exit() override;
  void FocusDocument() override;
  void ShowSourceAt(int position) override;

  // TMainForm
  QWidget* Window() override { return this; }
  QString StatusFileName() const override { return StatusPanelText(0); }
  QString SyntaxName() const override;
  TRecentFiles& RecentFiles() override { return RecentFiles_; }
  void RestartPreviewTimer() override;
  void ShowCaretLineNumber() override;
  void SetCaretLineDisplay(bool scrollAndFocus) override;
  bool AutomaticPreview() const override;
  void SetAutomaticPreview(bool on) override;
  bool WordWrap() const override;
  void SetWordWrap(bool on) override;
  bool WorkingOffline() const override;
  void SetWorkingOffline(bool on) override;
  void EnableTool(TTool tool) override;
  void SetToolFolder(TTool tool, const QString& folder) override;
  QString ToolFolder(TTool tool) const override;
  TRecovery& Recovery() override { return *Recovery_; }
  TDiskWatch& DiskWatch() override { return *DiskWatch_; }
  TCheckCommands& Checks() override { return *Checks_; }
  TEditingOptions EditingOptions() const override;
  void SetEditingOptions(const TEditingOptions& options) override;

  // Handlers.
  void FormShow();
  void Edit1Change();
  void Edit1SelectionChange();
  void synlistChange();
  void gotoline1Click();
  void CheckBox1Click();
  void CheckBox2Click();
  void dxButton2Click();
  void Timer1Timer();
  void Action1Execute();    // New
  void Action2Execute();    // Save
  void FileOpen1Execute();  // Open...
  void FileSaveAs1Execute();
  void Action3Execute();  // Help
  void Action4Execute();  // About
  void Action5Execute();  // Show preview
  void Action6Execute();  // Code generator
  void Action7Execute();  // Projects
  void Action8Execute();  // Show manager
  void Action9Execute();  // Thumbnail creator
  void mengraphicExecute();

  QString StatusPanelText(int panel) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The client area as the window was designed.
  static constexpr int kClientWidth = 792;
  static constexpr int kClientHeight = 304;

  void CreateActions();
  void CreateMenus();
  void CreateTopArea();
  void CreateStatusBar();
  void ConnectHandlers();
  void LayoutTopArea();

  // Controls, named as the rest of the program and the tests know them.
  TEditorControl* Edit1 = nullptr;
  QString curfilename;
  QLabel* lblsaved = nullptr;
  QLabel* prodir1 = nullptr;
  QLineEdit* graphicdir = nullptr;
  QLineEdit* vwthcpath1 = nullptr;
  QLineEdit* lineedit = nullptr;
  QPushButton* gotoline1 = nullptr;
  QComboBox* synlist = nullptr;
  TdxButton* dxButton2 = nullptr;
  QCheckBox* Check1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QTimer* Timer1 = nullptr;
  QMenuBar* ActionMainMenuBar1 = nullptr;
  QToolBar* ActionToolBar1 = nullptr;
  QWidget* ActionToolBar2 = nullptr;
  QMenu* PopupMenu1 = nullptr;

  QAction* Action1 = nullptr;
  QAction* Action2 = nullptr;
  QAction* FileOpen1 = nullptr;
  QAction* FileSaveAs1 = nullptr;
  QAction* Action7 = nullptr;
  QAction* FileExit1 = nullptr;
  QAction* EditCopy1 = nullptr;
  QAction* EditCut1 = nullptr;
  QAction* EditPaste1 = nullptr;
  QAction* SearchFind1 = nullptr;
  QAction* SearchReplace1 = nullptr;
  QAction* Action9 = nullptr;
  QAction* mengraphic = nullptr;
  QAction* Action3 = nullptr;
  QAction* Action4 = nullptr;
  QAction* Action6 = nullptr;
  QAction* Action5 = nullptr;
  QAction* Action8 = nullptr;

  QWidget* TopArea_ = nullptr;
  QLabel* StatusPanel0_ = nullptr;
  QLabel* StatusPanel1_ = nullptr;
  QLabel* StatusPanel2_ = nullptr;  // the document's encoding
  TEditActions* EditActions_ = nullptr;
  THtmlTyping* Typing_ = nullptr;
  TRecovery* Recovery_ = nullptr;
  TDiskWatch* DiskWatch_ = nullptr;
  TRecentFiles RecentFiles_;
  TRecentMenu* RecentMenu_ = nullptr;
  TCheckCommands* Checks_ = nullptr;
  bool Shown_ = false;
  bool Closing_ = false;
};
