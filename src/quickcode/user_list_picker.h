// The "Open User list" window (frmoecodlist).
#pragma once

#include <QDialog>

class Tfrmoecodlist : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmoecodlist(QWidget* parent = nullptr);
};
