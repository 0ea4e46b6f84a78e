// The "File Save" window (frmnotsaved): asks whether to save the modified
// document before it is replaced or the program ends.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class TdxButton;

class Tfrmnotsaved : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmnotsaved(QWidget* parent = nullptr);

  // Shows the window modally. True when the caller may go on: the user said
  // "No", or said "Yes" and the document was saved. False when "Yes" left the
  // document unsaved (the save-as dialog was cancelled).
  bool Ask();

  void dxButton1Click();  // "Yes"
  void dxButton2Click();  // "No"

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  QLabel* Label1 = nullptr;
  QFrame* Bevel1 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  bool GoOn_ = true;
};
