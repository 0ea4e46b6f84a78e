#include "text_file.h"

#include <QFile>
#include <new>

#include "file_io.h"
#include "vexa_error.h"

namespace textfile {
namespace {

std::string NameBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void Check(const fileio::WriteResult& result, const QString& path) {
  if (result.Status != fileio::WriteStatus::Ok) throw CannotCreateFile(path);
}

}  // namespace

QByteArray ReadBytes(const QString& path) {
  std::string bytes;
  try {
    if (fileio::ReadRegularFile(NameBytes(path), bytes).Status != fileio::ReadStatus::Ok) {
      throw CannotOpenFile(path);
    }
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
  } catch (const std::bad_alloc&) {
    // A file the machine has no room for is one that cannot be opened; the
    // editor keeps what it holds.
    throw CannotOpenFile(path);
  }
}

void WriteUserFile(const QString& path, const QByteArray& bytes) {
  Check(fileio::WriteUserFile(NameBytes(path), View(bytes)), path);
}

void WriteOwnFile(const QString& path, const QByteArray& bytes) {
  Check(fileio::WriteOwnFile(NameBytes(path), View(bytes)), path);
}

bool TryWriteOwnFile(const QString& path, const QByteArray& bytes) {
  return fileio::WriteOwnFile(NameBytes(path), View(bytes)).Status == fileio::WriteStatus::Ok;
}

bool CopyToNewFile(const QString& source, const QString& destination) {
  return fileio::CopyToNewFile(NameBytes(source), NameBytes(destination)) ==
         fileio::CopyStatus::Copied;
}

}  // namespace textfile
