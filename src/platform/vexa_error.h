// The one error type of the program: an operation that fails throws it with the
// message the user sees; the handler guard catches it and shows the error box.
#pragma once

#include <QString>
#include <stdexcept>

class VexaError : public std::runtime_error {
 public:
  explicit VexaError(const QString& message)
      : std::runtime_error(message.toStdString()), Message(message) {}
  const QString Message;
};

// The messages of the file operations, shared by every caller.
inline VexaError CannotOpenFile(const QString& path) {
  return VexaError(QStringLiteral("Cannot open file %1").arg(path));
}
inline VexaError CannotCreateFile(const QString& path) {
  return VexaError(QStringLiteral("Cannot create file %1").arg(path));
}
