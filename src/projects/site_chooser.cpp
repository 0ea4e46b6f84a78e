#include "site_chooser.h"

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(QStringLiteral("Choose site"));
}
