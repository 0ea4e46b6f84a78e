#include "tools.h"

#include <QFile>
#include <QFileInfo>
#include "file_io.h"
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
  std::string line;
  const fileio::ReadResult read =
      fileio::ReadFirstLine(QFile::encodeName(path).toStdString(), line);
  if (read.Status != fileio::ReadStatus::Ok) ThrowSystemError(read.Error);
  // The line names a folder: file names are decoded as the file system does.
  return QFile::decodeName(QByteArray::fromStdString(line));
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
