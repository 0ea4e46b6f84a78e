// The "File Save" window (frmnotsaved).
#pragma once

#include <QDialog>

class Tfrmnotsaved : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmnotsaved(QWidget* parent = nullptr);
};
