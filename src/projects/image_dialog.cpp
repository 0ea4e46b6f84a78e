#include "image_dialog.h"

TImageInsert::TImageInsert(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ImageInsert"));
  setWindowTitle(QStringLiteral("Insert image"));
}
