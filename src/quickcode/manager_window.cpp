#include "manager_window.h"

Tfrmmanager::Tfrmmanager(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmmanager"));
  setWindowTitle(QStringLiteral("Vexa Manager"));
}
