// The problems Check Page found in the current document: severity, line and
// column (counted as the editor counts them, from 0) and the message, in a
// window of its own beside the main window. Enter or a double-click on a row
// puts the caret there; the lines follow the text as it is edited.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

#include "check_problem.h"

class QLabel;
class QPushButton;
class QTreeView;
class TPageChecker;
class TProblemsModel;

// How a severity is shown in the check windows: an icon and a word.
QIcon SeverityIcon(check::TSeverity severity);
QString SeverityText(check::TSeverity severity);

class TProblemsWindow : public QWidget {
  Q_OBJECT

 public:
  TProblemsWindow(TPageChecker& checker, QWidget* mainWindow);

  // Shown beside the main window, the list with the keyboard, its first row chosen.
  void ShowAndFocus();

 private:
  void Refresh();
  void Place();

  TPageChecker& Checker_;
  QWidget* MainWindow_;
  TProblemsModel* Model_ = nullptr;
  QLabel* problemsnote = nullptr;
  QTreeView* problemslist = nullptr;
  QPushButton* problemsagain = nullptr;
  QPushButton* problemsclose = nullptr;
  bool Placed_ = false;
};
