#include "save_prompt.h"

Tfrmnotsaved::Tfrmnotsaved(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmnotsaved"));
  setWindowTitle(QStringLiteral("File Save"));
}
