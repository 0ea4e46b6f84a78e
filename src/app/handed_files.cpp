#include "handed_files.h"

#include <QFileInfo>

#include "main_shell.h"
#include "startup.h"

namespace app {

void OpenWhenStarted(const QStringList& files) {
  if (files.isEmpty()) return;
  // A name relative to where the program was started, made whole now: the
  // document's folder is taken from it later (the manager, the preview).
  const QString first = QFileInfo(files.first()).absoluteFilePath();
  const qsizetype others = files.size() - 1;
  startup::WhenStarted([first, others] {
    TMainShell& shell = MainShell();
    if (others > 0) {
      shell.ShowStatusNote(
          others == 1
              ? QStringLiteral("Only one document is open at a time: 1 other file was not opened")
              : QStringLiteral(
                    "Only one document is open at a time: %1 other files were not opened")
                    .arg(others));
    }
    shell.OpenDocument(first);
  });
}

}  // namespace app
