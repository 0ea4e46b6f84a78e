// The "Projects" window (frmprojects).
#pragma once

#include <QDialog>

class Tfrmprojects : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmprojects(QWidget* parent = nullptr);
};
