// The main window's start-up sequence (when it is first shown) and its close.
#pragma once

#include <functional>

class TMainForm;

namespace startup {

// Splash, settings (which may show the projects dialog, the manager and the
// preview), tools, the preview's start page and the line display.
void FormShow(TMainForm& form);

// Runs a task once the start-up sequence has finished, at the end of the next
// FormShow (files handed over on the command line open only then, over the
// template). A failing task is reported and does not stop the others.
void WhenStarted(std::function<void()> task);

// The last step of start-up: work a run that did not close left behind is
// offered back.
void OfferRecovery(TMainForm& form);

// The save prompt, then the settings file. False when the close must not go
// on: the user asked to save and the document was not saved. A settings file
// that cannot be written is reported and does not stop the close.
bool FormClose(TMainForm& form);

}  // namespace startup
