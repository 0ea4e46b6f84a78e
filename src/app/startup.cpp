#include "startup.h"

#include <QDialog>
#include <QTimer>

#include "application.h"
#include "form_registry.h"
#include "main_window.h"
#include "tools.h"

namespace startup {

void FormShow(TForm1& form) {
  form.SetCurFileName(QStringLiteral("new.htm"));
  app::ShowFormModal(QStringLiteral("Form3"));
  tools::Detect(form);
  form.Timer1->stop();
  form.ShowPreviewStartPage();
  form.SetCaretLineDisplay(false);
  form.SetModifiedFlag(QString());
}

void FormClose(TForm1& form) { form.SavePrompt(); }

}  // namespace startup
