// The "New/Edit Quick Code Window" window (frmnewedit).
#pragma once

#include <QDialog>

class Tfrmnewedit : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmnewedit(QWidget* parent = nullptr);
};
