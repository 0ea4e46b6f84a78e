// The preview of the document: the scratch file beside the document, the
// automatic update one second after the last change, the manual update and the
// start page.
#pragma once

#include <QString>

class TForm1;

namespace preview {

QString ScratchPath(const TForm1& form);
void AutomaticUpdate(TForm1& form);  // Timer1
void ManualUpdate(TForm1& form);     // "Update preview"
void ShowStartPage(TForm1& form);
void SetOffline(bool offline);

}  // namespace preview
