// The document's files: New, Open, Save, Save As, the open sequence and the
// save prompt asked before a modified document is replaced.
#pragma once

#include <QString>

class TForm1;

namespace documents {

// Asks only when the modified flag is "1". Returns false when the user said
// "Yes" and the document was not saved.
bool SavePrompt(TForm1& form);
void New(TForm1& form);
void Open(TForm1& form);
void OpenDocument(TForm1& form, const QString& path);
void Save(TForm1& form);
void SaveAs(TForm1& form);

}  // namespace documents
