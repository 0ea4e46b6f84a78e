// The main window's start-up sequence (when it is first shown) and its close.
#pragma once

class TMainForm;

namespace startup {

// Splash, settings (which may show the projects dialog, the manager and the
// preview), tools, the preview's start page and the line display.
void FormShow(TMainForm& form);

// The save prompt, then the settings file. False when the close must not go
// on: the user asked to save and the document was not saved. A settings file
// that cannot be written is reported and does not stop the close.
bool FormClose(TMainForm& form);

}  // namespace startup
