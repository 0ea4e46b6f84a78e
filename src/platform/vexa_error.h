// The one error type of the program: an operation that fails throws it with the
// message the user sees; the handler guard catches it and shows the error box.
#pragma once

#include <QString>
#include <stdexcept>

class VexaError : public std::runtime_error {
 public:
  // `reason`, when known, says why (the system's words, such as "No space left
  // on device"): the error box shows it on a line of its own under the message.
  explicit VexaError(const QString& message, const QString& reason = QString())
      : std::runtime_error(message.toStdString()), Message(message), Reason(reason) {}
  const QString Message;
  const QString Reason;
};

// The messages of the file operations, shared by every caller.
inline VexaError CannotOpenFile(const QString& path, const QString& reason = QString()) {
  return VexaError(QStringLiteral("Cannot open file %1").arg(path), reason);
}
inline VexaError CannotCreateFile(const QString& path, const QString& reason = QString()) {
  return VexaError(QStringLiteral("Cannot create file %1").arg(path), reason);
}
inline VexaError CannotDeleteFile(const QString& path, const QString& reason = QString()) {
  return VexaError(QStringLiteral("Cannot delete file %1").arg(path), reason);
}
