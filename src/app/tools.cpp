#include "tools.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include "file_io.h"
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
  std::string line;
  const fileio::ReadResult read =
      fileio::ReadFirstLine(QFile::encodeName(path).toStdString(), line);
  if (read.Status != fileio::ReadStatus::Ok) ThrowSystemError(read.Error);
  // The line names a folder: file names are decoded as the file system does.
  return QFile::decodeName(QByteArray::fromStdString(line));
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
