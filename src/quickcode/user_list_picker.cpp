#include "user_list_picker.h"

Tfrmoecodlist::Tfrmoecodlist(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmoecodlist"));
  setWindowTitle(QStringLiteral("Open User list"));
}
