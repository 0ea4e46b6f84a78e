// The "Vexa Manager" window (frmmanager).
#pragma once

#include <QDialog>

class Tfrmmanager : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmmanager(QWidget* parent = nullptr);
};
