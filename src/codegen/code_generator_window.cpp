#include "code_generator_window.h"

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("Vexa Web HTML Code Generator 1.2"));
}
