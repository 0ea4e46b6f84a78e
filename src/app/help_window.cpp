#include "help_window.h"

Tfrmhelp1::Tfrmhelp1(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmhelp1"));
  setWindowTitle(QStringLiteral("Help Vexa Web Editor"));
}
