// What the main window offers the other windows: the document and its state,
// the project folder and the shared entry points. Windows call these few
// operations instead of reaching into the main window's controls.
#pragma once

#include <QString>

class TEditorControl;

class TMainShell {
 public:
  virtual ~TMainShell() = default;

  virtual TEditorControl* Editor() = 0;  // Edit1

  virtual QString CurFileName() const = 0;                  // "new.htm" while untitled
  virtual void SetCurFileName(const QString& name) = 0;     // curfilename only
  virtual void SetStatusFileName(const QString& name) = 0;  // status panel 0
  virtual QString ModifiedFlag() const = 0;                 // lblsaved: "1" = modified
  virtual void SetModifiedFlag(const QString& flag) = 0;
  virtual QString ProjectDir() const = 0;  // prodir1: empty = no project
  virtual void SetProjectDir(const QString& folder) = 0;
  virtual void SetMainCaption(const QString& caption) = 0;
  virtual void ShowStatusNote(const QString& note) = 0;  // a passing message in the status bar

  // The save prompt: asks only when the document is modified. Returns false when
  // the user answered "Yes" and the document was not saved; the caller then
  // must not replace the document.
  virtual bool SavePrompt() = 0;
  virtual void Save() = 0;                                // Action2 (F2)
  virtual void OpenDocument(const QString& path) = 0;     // load, name, syntax, refresh
  virtual void SetSyntaxText(const QString& syntax) = 0;  // synlist text, no report
  virtual void SynlistChange() = 0;                       // refresh with the chosen syntax
  virtual void StopPreviewTimer() = 0;                    // Timer1
  virtual void ShowPreviewStartPage() = 0;
  virtual QString ManagerFolder() const = 0;  // the manager folder rule
  virtual void UpdateManagerFolder() = 0;     // points the manager's file list
  virtual void Exit() = 0;                    // FileExit1: close the main window
  // The main window becomes the active window with the keyboard in the editor.
  virtual void FocusDocument() = 0;
  // The same, with the caret at a byte position of the document, scrolled into view.
  virtual void ShowSourceAt(int position) = 0;
};

// The main window registers itself at creation.
void SetMainShell(TMainShell* shell);
TMainShell& MainShell();
bool HasMainShell();
