// The "Help Vexa Web Editor" window (frmhelp1).
#pragma once

#include <QDialog>

class Tfrmhelp1 : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmhelp1(QWidget* parent = nullptr);
};
