#include "list_chooser.h"

Tfrmopenlists::Tfrmopenlists(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmopenlists"));
  setWindowTitle(QStringLiteral("Open List1/List2"));
}
