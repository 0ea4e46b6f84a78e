// The two optional external tools, the graphic browser and the thumbnail
// creator: found through marker files in the shared folder, whose first line
// is the tool's folder, and started from the Tools menu.
#pragma once

#include <QString>

class TMainForm;

namespace tools {

QString GraphicBrowserMarker();    // shared folder + "vexagraphic.tcb"
QString ThumbnailCreatorMarker();  // shared folder + "vexathumb1_0.tcb"

// The first line of a marker file, without its line end. Throws VexaError
// with the system's message when the file cannot be opened, read or closed.
QString ReadMarkerLine(const QString& path);

// Enables the Tools entry of each tool whose marker file exists and keeps its
// folder; a marker that exists but cannot be read ends detection with the error.
void Detect(TMainForm& form);

// Start the tool's folder + executable name without waiting; a start that
// fails throws the system's message and changes nothing.
void StartGraphicBrowser(TMainForm& form);
void StartThumbnailCreator(TMainForm& form);

}  // namespace tools
