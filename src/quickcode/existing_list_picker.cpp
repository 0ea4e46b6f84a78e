#include "existing_list_picker.h"

Tfrmexcodlist1::Tfrmexcodlist1(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmexcodlist1"));
  setWindowTitle(QStringLiteral("Open existing code list"));
}
