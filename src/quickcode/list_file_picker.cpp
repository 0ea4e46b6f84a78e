#include "list_file_picker.h"

Tfrmopenlist1list2::Tfrmopenlist1list2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmopenlist1list2"));
  setWindowTitle(QStringLiteral("Open "));
}
