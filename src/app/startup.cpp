#include "startup.h"

#include "error_guard.h"
#include "form_registry.h"
#include "main_form.h"
#include "settings.h"
#include "tools.h"

namespace startup {

void FormShow(TMainForm& form) {
  form.SetCurFileName(QStringLiteral("new.htm"));
  forms::ShowModal(QStringLiteral("Form3"));
  settings::ReadAndApply(form);
  tools::Detect(form);
  form.StopPreviewTimer();
  form.ShowPreviewStartPage();
  form.SetCaretLineDisplay(false);
  form.SetModifiedFlag(QString());
}

bool FormClose(TMainForm& form) {
  if (!form.SavePrompt()) return false;
  // A settings file that cannot be written is reported, and the program still
  // ends: keeping the window open would trap the user in it.
  RunGuarded([&form] { settings::Write(form); });
  return true;
}

}  // namespace startup
