// Copy, Cut, Paste and Find of the main window act on the edit control that has
// the focus there (the editor or one of the window's line boxes), and are
// enabled as that control allows: a selection to copy or cut, text on the
// clipboard to paste, text to search. Replace acts on the document.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

class QAction;
class QWidget;
class TFindDialog;
class TMainForm;
class TReplaceDialog;
struct TSearchOptions;

class TEditActions : public QObject {
  Q_OBJECT

 public:
  TEditActions(TMainForm& form, QAction* copy, QAction* cut, QAction* paste, QAction* find,
               QAction* replace);

  // Enables the actions for the control that has the focus now: while a menu
  // of the window is open, the control it was opened over.
  void Update();

  void Copy();
  void Cut();
  void Paste();
  void ShowFind();     // the find dialog, not modal; created at its first showing
  void ShowReplace();  // the replace dialog, the same way

 private:
  // The window's focused widget (the dialogs of find and replace stand for
  // the control they search).
  QWidget* FocusedWidget() const;
  static bool IsEditControl(const QWidget* w);
  static bool IsMenu(const QWidget* w);
  QWidget* FocusedEditControl() const;
  // Selects the next occurrence in the focused control; tells the user when
  // there is none.
  void FindNext();
  // The replace dialog's three commands, on the document.
  void ReplaceFindNext();
  void ReplaceOne();
  void ReplaceAll();
  TSearchOptions ReplaceOptions() const;
  bool ReplaceTexts(std::string* needle, std::string* replacement);
  void NotFound(const QString& text);

  TMainForm& Form_;
  QWidget* Window_;
  QAction* Copy_;
  QAction* Cut_;
  QAction* Paste_;
  QAction* Find_;
  QAction* Replace_;
  TFindDialog* FindDialog_ = nullptr;
  TReplaceDialog* ReplaceDialog_ = nullptr;
  // The control of the window that last had the focus: the one a menu is
  // opened over.
  QPointer<QWidget> MenuOwner_;
};
