#include "preview.h"

#include <QCheckBox>
#include <QTimer>

#include "editor_control.h"
#include "form_registry.h"
#include "main_window.h"
#include "paths.h"
#include "preview_window.h"
#include "web_browser.h"

namespace preview {
namespace {

TWebBrowser* Browser() {
  auto* form = forms::Get<TForm4>(QStringLiteral("Form4"));
  return form ? form->WebBrowser1 : nullptr;
}

void Show(const QString& path) {
  if (TWebBrowser* browser = Browser()) browser->Navigate(path);
}

// Writes the editor's text to the scratch file and shows it. A scratch file
// that cannot be written ends here with the error: the browser keeps its page.
void WriteAndShow(TForm1& form) {
  const QString path = ScratchPath(form);
  form.Edit1->SaveOwnFile(path);
  Show(path);
}

}  // namespace

QString ScratchPathFor(const QString& fileName) {
  if (fileName != QLatin1String("new.htm")) return paths::FolderPart(fileName) + "temp.vwe";
  return paths::SharedScratchFile();
}

QString ScratchPath(const TForm1& form) { return ScratchPathFor(form.StatusPanelText(0)); }

void AutomaticUpdate(TForm1& form) {
  form.Timer1->stop();
  if (!form.Check1->isChecked()) return;
  WriteAndShow(form);
}

void ManualUpdate(TForm1& form) {
  form.Timer1->stop();
  WriteAndShow(form);
}

void ShowStartPage(TForm1& form) {
  form.Timer1->stop();
  Show(paths::ProgramDir() + "vexa.vwe");
}

void SetOffline(bool offline) {
  if (TWebBrowser* browser = Browser()) browser->SetOffline(offline);
}

}  // namespace preview
