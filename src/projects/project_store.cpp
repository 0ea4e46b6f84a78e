#include "project_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "paths.h"
#include "text_file.h"
#include "vexa_error.h"

namespace projects {

QString ProjectFilePath(const QString& title) {
  return paths::ProjectStoreDir() + title + QStringLiteral(".vexa");
}

QString WriteProjectFile(const QString& title, const QString& folder) {
  const QString path = ProjectFilePath(title);
  if (!paths::IsPlainName(title)) throw CannotCreateFile(path);
  // The folder is kept in the file system's own encoding of names, so any
  // folder the system can name reads back as the same folder.
  textfile::WriteOwnFile(path, QFile::encodeName(folder) + "\r\n");
  return path;
}

QString ReadProjectFolder(const QString& path) {
  if (!QFileInfo::exists(path)) throw VexaError(QStringLiteral("File not found"));
  const QByteArray bytes = textfile::ReadBytes(path);
  qsizetype end = 0;
  while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
  return QFile::decodeName(bytes.left(end));
}

void DeleteProjectFile(const QString& path) {
  const QString reason = textfile::RemoveFile(path);
  if (!reason.isEmpty()) throw CannotDeleteFile(path, reason);
}

QString StartPage(const QString& folder) { return folder + QStringLiteral("/index.htm"); }

void LayOutSite(const QString& folder) {
  const QString page = StartPage(folder);
  if (!QFileInfo::exists(page)) {
    textfile::CopyToNewFile(paths::ProgramDir() + QStringLiteral("index.htm"), page);
  }
  for (const char* sub : {"/images", "/private", "/files"}) {
    QDir().mkdir(folder + QLatin1String(sub));
  }
}

QString MainCaption(const QString& projectFileName, const QString& folder) {
  return QStringLiteral("Vexa Web Editor Pro -- ") + projectFileName + QStringLiteral(" ") +
         QStringLiteral("--") + QStringLiteral(" ") + folder;
}

}  // namespace projects
