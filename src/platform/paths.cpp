#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace paths {
namespace {

QString WithSlash(QString dir) {
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}

QString FromEnv(const char* name) {
  const QByteArray value = qgetenv(name);
  return value.isEmpty() ? QString() : WithSlash(QString::fromLocal8Bit(value));
}

}  // namespace

QString ProgramDir() {
  const QString env = FromEnv("VEXA_PROGRAM_DIR");
  if (!env.isEmpty()) return env;
  return WithSlash(QCoreApplication::applicationDirPath());
}

QString SharedDir() {
  const QString env = FromEnv("VEXA_SHARED_DIR");
  if (!env.isEmpty()) return env;
  QString base = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
  if (base.isEmpty()) base = QDir::homePath() + "/.local/share";
  return WithSlash(base) + "brenmorshared/";
}

QString ProjectStoreDir() { return SharedDir() + "vexapro/projects/"; }
QString QuickCodeDir() { return ProgramDir() + "qcode/"; }
QString SettingsFile() { return ProgramDir() + "vexapro.ini"; }
QString SharedScratchFile() { return SharedDir() + "temp.vwe"; }
QString RecoveryDir() { return SharedDir() + "vexapro/recovery/"; }
QString RootDir() { return QStringLiteral("/"); }

QString EnsureSharedFolders() {
  std::error_code error;
  std::filesystem::create_directories(QFile::encodeName(ProjectStoreDir()).toStdString(), error);
  if (!error) return QString();
  return QStringLiteral("Cannot create the shared folder %1: %2")
      .arg(SharedDir(), QString::fromLocal8Bit(error.message().c_str()));
}

QString FolderPart(const QString& path) {
  const int slash = path.lastIndexOf('/');
  return slash < 0 ? QString() : path.left(slash + 1);
}

QString FileNamePart(const QString& path) { return path.mid(path.lastIndexOf('/') + 1); }

QString Extension(const QString& path) {
  const int slash = path.lastIndexOf('/');
  const int dot = path.lastIndexOf('.');
  return dot > slash ? path.mid(dot) : QString();
}

bool IsPlainName(const QString& name) {
  return !name.contains('/') && !name.contains(QChar(0)) && name != QLatin1String(".") &&
         name != QLatin1String("..");
}

}  // namespace paths
