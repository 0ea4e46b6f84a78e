// The "About Vexa Web Editor" box (Form2): the program's name and version,
// shown modally over the main window and closed with its close box.
#pragma once

#include <QDialog>

class QLabel;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* Label1 = nullptr;  // "Vexa Web Editor Pro"
  QLabel* Label2 = nullptr;  // "Version:"
  QLabel* Label3 = nullptr;  // "3.0.3"
};
