// Conversion between the document's bytes (code page 1252) and Qt's Unicode
// strings, for the clipboard, captions and file names shown to the user.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace codepage {

QString ToUnicode(const QByteArray& bytes);
QString ToUnicode(const std::string& bytes);
// Characters outside code page 1252 become "?".
std::string FromUnicode(const QString& text);

}  // namespace codepage
