// The "Open existing code list" window (frmexcodlist1).
#pragma once

#include <QDialog>

class Tfrmexcodlist1 : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmexcodlist1(QWidget* parent = nullptr);
};
