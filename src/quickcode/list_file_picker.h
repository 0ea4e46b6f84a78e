// The "Open " window (frmopenlist1list2).
#pragma once

#include <QDialog>

class Tfrmopenlist1list2 : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmopenlist1list2(QWidget* parent = nullptr);
};
