#include "tools.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <cerrno>
#include <cstdio>

#include "main_window.h"
#include "paths.h"
#include "shell_open.h"
#include "vexa_error.h"

namespace tools {
namespace {

[[noreturn]] void ThrowSystemError(int error) { throw VexaError(shell::SystemMessage(error)); }

// Marks a tool as present: its menu entry works and its folder box holds the
// folder exactly as the marker gives it, final "/" included.
void DetectOne(const QString& marker, QAction* action, QLineEdit* folderBox) {
  if (!QFileInfo::exists(marker)) return;
  action->setEnabled(true);
  folderBox->setText(ReadMarkerLine(marker));
}

}  // namespace

QString GraphicBrowserMarker() { return paths::SharedDir() + "vexagraphic.tcb"; }
QString ThumbnailCreatorMarker() { return paths::SharedDir() + "vexathumb1_0.tcb"; }

QString ReadMarkerLine(const QString& path) {
  // Plain stdio, so that opening, reading and closing each report the
  // system's own error.
  std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
  if (file == nullptr) ThrowSystemError(errno);
  QByteArray line;
  int c = 0;
  errno = 0;
  while ((c = std::fgetc(file)) != EOF && c != '\r' && c != '\n') line.append(static_cast<char>(c));
  const int readError = std::ferror(file) ? (errno != 0 ? errno : EIO) : 0;
  const int closed = std::fclose(file);
  if (readError != 0) ThrowSystemError(readError);
  if (closed != 0) ThrowSystemError(errno);
  // The line names a folder: file names are decoded as the file system does.
  return QFile::decodeName(line);
}

void Detect(TForm1& form) {
  DetectOne(GraphicBrowserMarker(), form.mengraphic, form.graphicdir);
  DetectOne(ThumbnailCreatorMarker(), form.Action9, form.vwthcpath1);
}

void StartGraphicBrowser(TForm1& form) {
  shell::OpenExecutable(form.graphicdir->text() + "vexaexp.exe");
}

void StartThumbnailCreator(TForm1& form) {
  shell::OpenExecutable(form.vwthcpath1->text() + "vwtc.exe");
}

}  // namespace tools
