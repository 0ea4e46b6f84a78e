#include "document_files.h"

#include "dialogs.h"
#include "disk_watch.h"
#include "editor_control.h"
#include "form_registry.h"
#include "main_form.h"
#include "paths.h"
#include "recent_files.h"
#include "save_prompt.h"

namespace documents {

const char* const kTemplate[6] = {"<html>",
                                  "",
                                  "<head>",
                                  "<title>New Page</title>",
                                  "<meta name=\"GENERATOR\" content=\"Vexa Web Editor 3.0 Pro\">",
                                  "</head>"};

const char* const kOpenFilter =
    "Html Files (*.html, *.htm)|*.htm;*.html|PHP Script (*.php)|*.php;*.php?|"
    "Java Script (*.JAVA, *.js)|*.Java;*.js|Vb Script (*.vbs)|*.vbs|Pascal Files (*.pas)|*.pas|"
    "Text Files (*.txt)|*.txt|XML Files (*.xml)|*.xml|All files (*.*)|*.*";
const char* const kSaveFilter =
    "Htm Files(*.htm)|*.htm|Html Files(*.html)|*.html|PHP Script (*.php)|*.php|"
    "Java Script (*.java, *.js)|*.Java;*.js|Vb Script (*.vbs)|*.vbs|Pascal Files (*.pas)|*.pas|"
    "Text Files (*.txt)|*.txt|XML Files (*.xml)|*.xml|All Files (*.*)|*.*";
const char* const kDefaultExt = "*.htm;*.html";

namespace {

const QString kUntitled = QStringLiteral("new.htm");

// Every row is tried in order, and a later match would win; no two rows share
// an extension, so at most one matches.
constexpr struct {
  const char* Extension;
  const char* Syntax;
} kSyntaxByExtension[] = {
    {".htm", "HTML"},         {".html", "HTML"},      {".php", "PHP"}, {".vbs", "VBSCRIPT"},
    {".java", "JAVA SCRIPT"}, {".js", "JAVA SCRIPT"}, {".xml", "XML"}, {".pas", "DELPHI SCRIPT"},
};

dialogs::FileDialogRequest Request(const TMainForm& form, bool save) {
  dialogs::FileDialogRequest r;
  r.Save = save;
  r.Filter = QString::fromLatin1(save ? kSaveFilter : kOpenFilter);
  r.InitialFolder = DialogFolder(form);
  r.DefaultExt = QString::fromLatin1(kDefaultExt);
  return r;
}

}  // namespace

QString SyntaxForFile(const QString& path) {
  const QString extension = paths::Extension(path);
  QString syntax;
  for (const auto& row : kSyntaxByExtension) {
    if (extension == QLatin1String(row.Extension)) syntax = QString::fromLatin1(row.Syntax);
  }
  return syntax;
}

QString DialogFolder(const TMainForm& form) {
  const QString project = form.ProjectDir();
  return project.endsWith(QLatin1Char('/')) ? project : project + QLatin1Char('/');
}

bool SavePrompt(TMainForm& form) {
  auto* prompt = forms::Get<Tfrmnotsaved>(QStringLiteral("frmnotsaved"));
  if (form.ModifiedFlag() != QLatin1String("1") || prompt == nullptr) return true;
  return prompt->Ask();
}

void New(TMainForm& form) {
  if (!SavePrompt(form)) return;
  form.SetCurFileName(kUntitled);
  // Each line is a change of its own and is coloured with the current syntax.
  TEditorControl& editor = *form.Editor();
  editor.ClearText();
  for (const char* line : kTemplate) editor.AppendLine(QByteArray(line));
  editor.FocusEditor();
  form.StopPreviewTimer();
  form.ShowPreviewStartPage();
  form.SetStatusFileName(form.CurFileName());
  form.SetModifiedFlag(QStringLiteral("0"));
  form.UpdateManagerFolder();
}

bool FileOpen1BeforeExecute(TMainForm& form) { return SavePrompt(form); }

void Open(TMainForm& form) {
  if (!FileOpen1BeforeExecute(form)) return;
  const QString path = dialogs::AskFileName(form.Window(), Request(form, false));
  if (!path.isEmpty()) OpenDocument(form, path);
}

void OpenDocument(TMainForm& form, const QString& path) {
  // The load throws before anything changes when the file cannot be read.
  form.Editor()->LoadFile(path);
  form.SetCurFileName(path);
  form.SetStatusFileName(path);
  form.SetModifiedFlag(QString());
  form.UpdateManagerFolder();
  const QString syntax = SyntaxForFile(form.CurFileName());
  if (!syntax.isEmpty()) form.SetSyntaxText(syntax);
  form.SynlistChange();
  form.SetModifiedFlag(QString());
  form.RecentFiles().Add(path);
}

void Restore(TMainForm& form, const QString& fileName, const QString& syntax,
             const QByteArray& text, const QString& diskState) {
  form.SetCurFileName(fileName);
  form.DiskWatch().Adopt(diskState);
  form.SetStatusFileName(fileName);
  form.UpdateManagerFolder();
  if (!syntax.isEmpty()) form.SetSyntaxText(syntax);
  TEditorControl& editor = *form.Editor();
  editor.SetTextBytes(text);
  editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  editor.SetCaretPosition(0);
  form.SetModifiedFlag(QStringLiteral("1"));
}

bool Save(TMainForm& form) {
  if (form.CurFileName() == kUntitled) return SaveAs(form);
  // A file another program changed since it was read is not overwritten unasked.
  if (!form.DiskWatch().ConfirmSave()) return false;
  form.Editor()->SaveFile(form.CurFileName());
  form.DiskWatch().Follow(form.CurFileName());
  form.SetModifiedFlag(QString());
  form.UpdateManagerFolder();
  form.RecentFiles().Add(form.CurFileName());
  return true;
}

bool SaveAs(TMainForm& form) {
  const QString path = dialogs::AskFileName(form.Window(), Request(form, true));
  if (path.isEmpty()) return false;
  FileSaveAs1Accept(form, path);
  return true;
}

void FileSaveAs1Accept(TMainForm& form, const QString& path) {
  form.Editor()->SaveFile(path);
  form.SetCurFileName(path);
  form.SetStatusFileName(path);
  form.SetModifiedFlag(QString());
  form.UpdateManagerFolder();
  form.RecentFiles().Add(path);
}

}  // namespace documents
