#include "highlight_refresh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "editor_control.h"
#include "highlighter_factory.h"
#include "main_window.h"

namespace refresh {

void Edit1Change(TForm1& form) {
  form.lineedit->setText(QString::number(form.Edit1->CaretLine()));
  form.Timer1->stop();
  form.SetModifiedFlag(QStringLiteral("1"));
  form.Timer1->start();
}

void SynlistChange(TForm1& form) {
  form.Timer1->stop();
  form.Timer1->start();
}

}  // namespace refresh
