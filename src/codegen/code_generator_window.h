// The "Vexa Web HTML Code Generator 1.2" window (Form5).
#pragma once

#include <QDialog>

class TForm5 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm5(QWidget* parent = nullptr);
};
