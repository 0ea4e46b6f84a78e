// The preview of the document: the scratch file beside the document, the
// automatic update one second after the last change, the manual update, the
// start page and the offline switch of the preview's browser.
#pragma once

#include <QString>

class IniFile;
class TMainForm;

namespace preview {

// Where the scratch copy of a document goes: beside a named document, so its
// relative references resolve against the document's folder; in the shared
// folder while the document is untitled ("new.htm").
QString ScratchPathFor(const QString& fileName);
// The same for the name shown in the main window's status bar.
QString ScratchPath(const TMainForm& form);

void AutomaticUpdate(TMainForm& form);  // Timer1: only while "Automatic Preview" is checked
void ManualUpdate(TMainForm& form);     // "Update preview": whatever the check box says
void ShowStartPage(TMainForm& form);    // the program folder's "vexa.vwe"
void SetOffline(bool offline);

// The editor's caret moved, or its text changed: the preview's outline follows.
void FollowCaret(bool textChanged);
// The outline's switch in the settings file, in a section of its own.
void ReadCaretSettings(const IniFile& ini);
void WriteCaretSettings(IniFile& ini);

}  // namespace preview
