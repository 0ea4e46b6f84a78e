#include "projects_dialog.h"

Tfrmprojects::Tfrmprojects(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmprojects"));
  setWindowTitle(QStringLiteral("Projects"));
}
