#include "text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "vexa_error.h"

namespace textfile {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (path.isEmpty() || QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    throw CannotOpenFile(path);
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw CannotOpenFile(path);
  return bytes;
}

void WriteBytesAtomic(const QString& path, const QByteArray& bytes) {
  if (!TryWriteBytesAtomic(path, bytes)) throw CannotCreateFile(path);
}

bool TryWriteBytesAtomic(const QString& path, const QByteArray& bytes) {
  // QSaveFile writes a temporary file in the target's folder, keeps the
  // target's permissions and renames it over the target on commit.
  QSaveFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::WriteOnly)) return false;
  return file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace textfile
