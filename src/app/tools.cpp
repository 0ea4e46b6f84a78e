#include "tools.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "main_form.h"
#include "paths.h"
#include "shell_open.h"
#include "vexa_error.h"

namespace tools {
namespace {

[[noreturn]] void ThrowSystemError(int error) { throw VexaError(shell::SystemMessage(error)); }

// Marks a tool as present: its menu entry works and its folder is kept
// exactly as the marker gives it, final "/" included.
void DetectOne(TMainForm& form, const QString& marker, TTool tool) {
  if (!QFileInfo::exists(marker)) return;
  form.EnableTool(tool);
  form.SetToolFolder(tool, ReadMarkerLine(marker));
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

void Detect(TMainForm& form) {
  DetectOne(form, GraphicBrowserMarker(), TTool::GraphicBrowser);
  DetectOne(form, ThumbnailCreatorMarker(), TTool::ThumbnailCreator);
}

void StartGraphicBrowser(TMainForm& form) {
  shell::OpenExecutable(form.ToolFolder(TTool::GraphicBrowser) + "vexaexp.exe");
}

void StartThumbnailCreator(TMainForm& form) {
  shell::OpenExecutable(form.ToolFolder(TTool::ThumbnailCreator) + "vwtc.exe");
}

}  // namespace tools
