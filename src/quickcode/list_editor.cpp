#include "list_editor.h"

Tfrmnewedit::Tfrmnewedit(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmnewedit"));
  setWindowTitle(QStringLiteral("New/Edit Quick Code Window"));
}
