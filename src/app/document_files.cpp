#include "document_files.h"

#include "editor_control.h"
#include "main_window.h"

namespace documents {

bool SavePrompt(TForm1&) { return true; }

void New(TForm1& form) {
  form.SetCurFileName(QStringLiteral("new.htm"));
  form.Edit1->ClearText();
  for (const char* line : TForm1::kTemplate) form.Edit1->AppendLine(QByteArray(line));
  form.SetStatusFileName(form.CurFileName());
  form.SetModifiedFlag(QStringLiteral("0"));
}

void Open(TForm1&) {}

void OpenDocument(TForm1& form, const QString& path) {
  form.Edit1->LoadFile(path);
  form.SetCurFileName(path);
  form.SetStatusFileName(path);
  form.SetModifiedFlag(QString());
}

void Save(TForm1& form) {
  if (form.CurFileName() != QLatin1String("new.htm")) {
    form.Edit1->SaveFile(form.CurFileName());
    form.SetModifiedFlag(QString());
  }
}

void SaveAs(TForm1&) {}

}  // namespace documents
