// The "Insert image" window (ImageInsert).
#pragma once

#include <QDialog>

class TImageInsert : public QDialog {
  Q_OBJECT

 public:
  explicit TImageInsert(QWidget* parent = nullptr);
};
