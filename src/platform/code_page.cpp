#include "code_page.h"

#include "code_page_1252.h"

namespace codepage {
namespace {

// Qt 6's own converters know only Unicode encodings and Latin-1, so the table
// is ours.
QString Decode(const char* data, qsizetype size) {
  QString out(size, Qt::Uninitialized);
  QChar* dst = out.data();
  for (qsizetype i = 0; i < size; ++i) {
    dst[i] = QChar(cp1252::ToUnicode(static_cast<unsigned char>(data[i])));
  }
  return out;
}

}  // namespace

QString ToUnicode(const QByteArray& bytes) { return Decode(bytes.constData(), bytes.size()); }

QString ToUnicode(const std::string& bytes) {
  return Decode(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FromUnicode(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (QChar c : text) out += static_cast<char>(cp1252::FromUnicode(c.unicode()));
  return out;
}

}  // namespace codepage
