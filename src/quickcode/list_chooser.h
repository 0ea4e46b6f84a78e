// The "Open List1/List2" window (frmopenlists).
#pragma once

#include <QDialog>

class Tfrmopenlists : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmopenlists(QWidget* parent = nullptr);
};
