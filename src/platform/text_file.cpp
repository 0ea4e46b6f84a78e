#include "text_file.h"

#include <QFile>
#include <cerrno>
#include <new>

#include "file_io.h"
#include "vexa_error.h"

namespace textfile {
namespace {

std::string NameBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The system's texts come in the locale's encoding.
QString Text(const std::string& reason) { return QString::fromLocal8Bit(reason); }

void Check(const fileio::WriteResult& result, const QString& path) {
  if (result.Status != fileio::WriteStatus::Ok) {
    throw CannotCreateFile(path, Text(fileio::FailureReason(result)));
  }
}

}  // namespace

QByteArray ReadBytes(const QString& path) {
  std::string bytes;
  try {
    const fileio::ReadResult result = fileio::ReadRegularFile(NameBytes(path), bytes);
    if (result.Status != fileio::ReadStatus::Ok) {
      throw CannotOpenFile(path, Text(fileio::FailureReason(result)));
    }
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
  } catch (const std::bad_alloc&) {
    // A file the machine has no room for is one that cannot be opened; the
    // editor keeps what it holds.
    throw CannotOpenFile(path, Text(fileio::SystemReason(ENOMEM)));
  }
}

void WriteUserFile(const QString& path, const QByteArray& bytes) {
  Check(fileio::WriteUserFile(NameBytes(path), View(bytes)), path);
}

void WriteOwnFile(const QString& path, const QByteArray& bytes) {
  Check(fileio::WriteOwnFile(NameBytes(path), View(bytes)), path);
}

bool TryWriteOwnFile(const QString& path, const QByteArray& bytes, QString* reason) {
  return TryWriteOwnFile(path, View(bytes), reason);
}

bool TryWriteOwnFile(const QString& path, std::string_view bytes, QString* reason) {
  const fileio::WriteResult result = fileio::WriteOwnFile(NameBytes(path), bytes);
  if (reason != nullptr) *reason = Text(fileio::FailureReason(result));
  return result.Status == fileio::WriteStatus::Ok;
}

bool CopyToNewFile(const QString& source, const QString& destination) {
  return fileio::CopyToNewFile(NameBytes(source), NameBytes(destination)) ==
         fileio::CopyStatus::Copied;
}

QString RemoveFile(const QString& path) {
  return Text(fileio::SystemReason(fileio::RemoveFile(NameBytes(path))));
}

QString EmptyFile(const QString& path) {
  return Text(fileio::SystemReason(fileio::EmptyFile(NameBytes(path))));
}

}  // namespace textfile
