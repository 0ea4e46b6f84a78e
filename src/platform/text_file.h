// Whole-file reads and writes of bytes, with the messages of the file
// operations. Reads take only regular files and never block; writes never
// follow a link under a name the program chose, never replace a FIFO or a
// device, and never destroy the previous file when they fail.
#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace textfile {

// Every error thrown here carries the reason the system gave (VexaError::Reason).

// Throws "Cannot open file %s" when the file is missing or unreadable, is not
// a regular file (or a link to one), or is larger than the program can hold.
QByteArray ReadBytes(const QString& path);

// Writes a file the user named (Save, Save As), through a link to its
// target. Throws "Cannot create file %s" when it cannot be written, also when
// it is a FIFO, a device or a folder, which stay as they are.
void WriteUserFile(const QString& path, const QByteArray& bytes);

// Writes a file under a name the program chose itself (scratch copy, lists,
// project files). Throws "Cannot create file %s", writing nothing, also when
// the name is held by a link or by anything but the user's own regular file.
void WriteOwnFile(const QString& path, const QByteArray& bytes);

// Copies a file to a name that must be free (a name held by a link is not);
// false when nothing was copied.
bool CopyToNewFile(const QString& source, const QString& destination);
// The same for writers that must not stop the user's work: false when the
// file could not be written, which then stays as it was; `reason` says why.
// Safe to call from any thread.
bool TryWriteOwnFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);
bool TryWriteOwnFile(const QString& path, std::string_view bytes, QString* reason = nullptr);

// Removes a file (never a folder). The reason it could not be removed, or an
// empty text when it is gone (also when nothing held the name).
QString RemoveFile(const QString& path);
// Empties the user's own regular file in place (never through a link), for a
// file that cannot be removed: the reason it could not be, or an empty text.
QString EmptyFile(const QString& path);

}  // namespace textfile
