// Starting another program: the editor hands the executable to the system and
// goes on without waiting for it.
#pragma once

#include <QString>

namespace shell {

// Starts the executable at path with no arguments, in the editor's own
// working folder, detached from the editor. Throws VexaError with the
// system's message when the program cannot be started.
void OpenExecutable(const QString& path);

// The system's message text for an error number.
QString SystemMessage(int error);

}  // namespace shell
