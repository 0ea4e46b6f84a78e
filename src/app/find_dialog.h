// The find dialog: text, match case, whole word and direction; each "Find Next"
// asks the owner to select the next occurrence.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

class TFindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TFindDialog(QWidget* parent = nullptr);

  QString FindText() const;
  void SetFindText(const QString& text);
  bool MatchCase() const;
  bool WholeWord() const;
  bool Down() const;

 signals:
  void FindNext();

 private:
  QLineEdit* Text_ = nullptr;
  QCheckBox* MatchCase_ = nullptr;
  QCheckBox* WholeWord_ = nullptr;
  QRadioButton* Down_ = nullptr;
};
