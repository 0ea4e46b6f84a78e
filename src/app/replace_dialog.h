// The replace dialog: the text to find and its replacement, match case, whole
// word, regular expression and direction; its buttons ask the owner to find
// the next occurrence, replace the selected one, or replace them all.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

class TReplaceDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TReplaceDialog(QWidget* parent = nullptr);

  QString FindText() const;
  QString ReplaceText() const;
  bool MatchCase() const;
  bool WholeWord() const;
  bool RegularExpression() const;
  bool Down() const;

 signals:
  void FindNext();
  void Replace();
  void ReplaceAll();

 private:
  QLineEdit* Find_ = nullptr;
  QLineEdit* Replacement_ = nullptr;
  QCheckBox* MatchCase_ = nullptr;
  QCheckBox* WholeWord_ = nullptr;
  QCheckBox* RegularExpression_ = nullptr;
  QRadioButton* Down_ = nullptr;
};
