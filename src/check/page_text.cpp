#include "page_text.h"

#include <cstring>

#include "file_io.h"
#include "text_encoding.h"
#include "utf8_text.h"

namespace check {
namespace {

// UTF-16 after its byte order mark, as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    unsigned code = static_cast<unsigned>(unit(i));
    if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size()) {
      const auto low = static_cast<unsigned>(unit(i + 2));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      } else {
        code = 0xFFFD;
      }
    }
    AppendUtf8(out, code);
  }
  return out;
}

}  // namespace

TPageText PageFromBytes(std::string bytes) {
  TPageText page;
  page.Bytes = std::move(bytes);
  const std::string_view b = page.Bytes;
  const bool littleEndian = b.size() >= 2 && b[0] == '\xFF' && b[1] == '\xFE';
  const bool bigEndian = b.size() >= 2 && b[0] == '\xFE' && b[1] == '\xFF';
  if (littleEndian || bigEndian) {
    page.Text = Utf16ToUtf8(b, bigEndian);
  } else {
    page.Text = page.Bytes;
  }
  // A NUL has no place in a page: the file is an image, an archive or the like.
  if (std::memchr(page.Text.data(), '\0', page.Text.size()) != nullptr) {
    page.Status = TPageStatus::Binary;
    page.Reason = "not checked: a binary file";
    page.Text.clear();
    return page;
  }
  page.Utf8 = encoding::Detect(page.Text) == TTextEncoding::Utf8;
  return page;
}

TPageText ReadPageFile(const std::string& path) {
  std::string bytes;
  const fileio::ReadResult read = fileio::ReadRegularFile(path, bytes);
  if (read.Status == fileio::ReadStatus::Ok) return PageFromBytes(std::move(bytes));
  TPageText page;
  if (read.Status == fileio::ReadStatus::TooLarge) {
    page.Status = TPageStatus::TooLarge;
    page.Reason = "not checked: larger than " + std::to_string(fileio::kMaxTextBytes) + " bytes";
  } else {
    page.Status = TPageStatus::Unreadable;
    page.Reason = std::string("cannot read: ") + (read.Status == fileio::ReadStatus::NotRegular
                                                      ? "not a regular file"
                                                      : std::strerror(read.Error));
  }
  return page;
}

}  // namespace check
