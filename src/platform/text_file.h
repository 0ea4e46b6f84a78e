// Whole-file reads and writes of bytes. A write never destroys the previous
// file when it fails: the bytes go to a temporary file beside it, renamed over
// the target only when complete.
#pragma once

#include <QByteArray>
#include <QString>

namespace textfile {

// Throws "Cannot open file %s" when the file is missing or unreadable.
QByteArray ReadBytes(const QString& path);

// Throws "Cannot create file %s"; the old file then stays as it was.
void WriteBytesAtomic(const QString& path, const QByteArray& bytes);
// The same for writers that must not stop the user's work: false when the
// file could not be written, the old one then left as it was.
bool TryWriteBytesAtomic(const QString& path, const QByteArray& bytes);

}  // namespace textfile
