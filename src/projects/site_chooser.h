// The "Choose site" window (Form8).
#pragma once

#include <QDialog>

class TForm8 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm8(QWidget* parent = nullptr);
};
