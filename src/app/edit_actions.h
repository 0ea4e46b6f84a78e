// Copy, Cut, Paste and Find of the main window act on the edit control that has
// the focus there (the editor or one of the window's line boxes), and are
// enabled as that control allows: a selection to copy or cut, text on the
// clipboard to paste, text to search.
#pragma once

#include <QObject>

class QAction;
class QWidget;
class TFindDialog;

class TEditActions : public QObject {
  Q_OBJECT

 public:
  TEditActions(QWidget* window, QAction* copy, QAction* cut, QAction* paste, QAction* find);

  // Enables the four actions for the control that has the focus now.
  void Update();

  void Copy();
  void Cut();
  void Paste();
  void ShowFind();  // the find dialog, not modal; created at its first showing

 private:
  QWidget* FocusedEditControl() const;
  // Selects the next occurrence in the focused control; tells the user when
  // there is none.
  void FindNext();

  QWidget* Window_;
  QAction* Copy_;
  QAction* Cut_;
  QAction* Paste_;
  QAction* Find_;
  TFindDialog* FindDialog_ = nullptr;
};
