#include "preview.h"

#include <QPointer>
#include <QWidget>

#include "editor_control.h"
#include "error_guard.h"
#include "form_registry.h"
#include "main_form.h"
#include "paths.h"
#include "preview_caret.h"
#include "preview_window.h"

namespace preview {
namespace {

TForm4* PreviewWindow() { return forms::Get<TForm4>(QStringLiteral("Form4")); }

void ShowScratch(const QString& path) {
  if (TForm4* preview = PreviewWindow()) preview->ShowScratch(path);
}

// The scratch-file failure last shown in a box: the window, the document and
// the scratch file it was for.
struct TBoxedFailure {
  QPointer<QWidget> Window;
  QString Document;
  QString Path;
};

TBoxedFailure& Boxed() {
  static TBoxedFailure boxed;
  return boxed;
}

// A scratch file that cannot be written is reported in a box once for its
// document and folder, and in the status bar after that until the document
// or its folder changes: the update runs at every pause in typing, and a box
// each time would repeat endlessly. The box leaves the keyboard in the editor.
void ReportScratchFailure(TMainForm& form, const QString& path, const QString& message,
                          const QString& reason) {
  TBoxedFailure& boxed = Boxed();
  if (boxed.Window == form.Window() && boxed.Document == form.StatusFileName() &&
      boxed.Path == path) {
    form.ShowStatusNote(WithReason(message, reason));
    return;
  }
  boxed = {form.Window(), form.StatusFileName(), path};
  ReportErrorAside(message, reason);
}

// Writes the editor's text to the scratch file and shows it. A scratch file
// that cannot be written ends here with the error: the browser keeps its page.
void WriteAndShow(TMainForm& form) {
  const QString path = ScratchPath(form);
  const bool written = RunGuarded([&] { form.Editor()->SaveOwnFile(path); },
                                  [&](const QString& message, const QString& reason) {
                                    ReportScratchFailure(form, path, message, reason);
                                  });
  if (written) ShowScratch(path);
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
  if (TForm4* preview = PreviewWindow()) preview->Navigate(paths::ProgramDir() + "vexa.vwe");
}

void SetOffline(bool offline) {
  if (TForm4* preview = PreviewWindow()) preview->SetOffline(offline);
}

void FollowCaret(bool textChanged) {
  if (TForm4* preview = PreviewWindow()) preview->FollowCaret(textChanged);
}

void ReadCaretSettings(const IniFile& ini) {
  if (TForm4* preview = PreviewWindow()) {
    preview->SetOutlineCaret(previewcaret::ReadOutlineSwitch(ini));
  }
}

void WriteCaretSettings(IniFile& ini) {
  if (TForm4* preview = PreviewWindow()) {
    previewcaret::WriteOutlineSwitch(ini, preview->OutlineCaret());
  }
}

}  // namespace preview
