// The document's files: New, Open, Save, Save As, the open sequence shared
// with the manager, the extension-to-syntax table and the save prompt asked
// before a modified document is replaced.
#pragma once

#include <QString>

class TMainForm;

namespace documents {

// The six lines of a new page.
extern const char* const kTemplate[6];

// The dialogs' filters, as the dialogs show them.
extern const char* const kOpenFilter;
extern const char* const kSaveFilter;
extern const char* const kDefaultExt;

// The syntax a file's extension chooses (exact, case-sensitive), or an empty
// string when no row matches and the syntax stays as it is.
QString SyntaxForFile(const QString& path);

// The folder both file dialogs open in: the project folder, or the root
// folder when no project is open.
QString DialogFolder(const TMainForm& form);

// Asks only when the modified flag is "1". False when the user answered "Yes"
// and the document was not saved: the caller must then not replace the
// document (nor end the program). "No" and a successful save give true.
bool SavePrompt(TMainForm& form);

void New(TMainForm& form);  // Action1Execute

// Open: the prompt, the dialog, then the open sequence for the chosen file.
void Open(TMainForm& form);
bool FileOpen1BeforeExecute(TMainForm& form);             // false: the prompt stopped it
void OpenDocument(TMainForm& form, const QString& path);  // FileOpen1Accept

// Save and Save As return whether the document was written; a failed write
// throws "Cannot create file %s" and changes nothing.
bool Save(TMainForm& form);  // Action2Execute
bool SaveAs(TMainForm& form);
void FileSaveAs1Accept(TMainForm& form, const QString& path);

}  // namespace documents
