// Files handed to the program on its command line, by the shell or by the
// desktop's "Open with": opened once the start-up sequence has finished, through
// the same open sequence as File > Open.
#pragma once

#include <QStringList>

namespace app {

// The editor holds one document: the first file is opened and the status bar
// says that the others were not. A file that cannot be opened is reported as
// File > Open reports it, and the template stays.
void OpenWhenStarted(const QStringList& files);

}  // namespace app
