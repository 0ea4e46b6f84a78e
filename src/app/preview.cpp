#include "preview.h"

#include "editor_control.h"
#include "form_registry.h"
#include "main_form.h"
#include "paths.h"
#include "preview_window.h"

namespace preview {
namespace {

TForm4* PreviewWindow() { return forms::Get<TForm4>(QStringLiteral("Form4")); }

void Show(const QString& path) {
  if (TForm4* preview = PreviewWindow()) preview->Navigate(path);
}

// Writes the editor's text to the scratch file and shows it. A scratch file
// that cannot be written ends here with the error: the browser keeps its page.
void WriteAndShow(TMainForm& form) {
  const QString path = ScratchPath(form);
  form.Editor()->SaveFile(path);
  Show(path);
}

}  // namespace

QString ScratchPathFor(const QString& fileName) {
  if (fileName != QLatin1String("new.htm")) return paths::FolderPart(fileName) + "temp.vwe";
  return paths::SharedScratchFile();
}

QString ScratchPath(const TMainForm& form) { return ScratchPathFor(form.StatusFileName()); }

void AutomaticUpdate(TMainForm& form) {
  form.StopPreviewTimer();
  if (!form.AutomaticPreview()) return;
  WriteAndShow(form);
}

void ManualUpdate(TMainForm& form) {
  form.StopPreviewTimer();
  WriteAndShow(form);
}

void ShowStartPage(TMainForm& form) {
  form.StopPreviewTimer();
  Show(paths::ProgramDir() + "vexa.vwe");
}

void SetOffline(bool offline) {
  if (TForm4* preview = PreviewWindow()) preview->SetOffline(offline);
}

}  // namespace preview
