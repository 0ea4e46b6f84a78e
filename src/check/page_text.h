// A page read from a file for checking: its bytes whole, UTF-16 turned into
// UTF-8 (lines and columns stay where they were), and the reasons a file is
// not checked at all.
#pragma once

#include <string>
#include <string_view>

namespace check {

enum class TPageStatus { Ok, Unreadable, Binary, TooLarge };

struct TPageText {
  TPageStatus Status = TPageStatus::Ok;
  std::string Reason;  // why it was not read, for the report
  std::string Bytes;   // the file as it is
  std::string Text;    // the text checked: the bytes, or their UTF-8 when UTF-16
  bool Utf8 = false;   // Text holds UTF-8 with at least one multi-byte character
};

// Reads a page; never follows anything but a regular file (or a link to one)
// and never reads past the program's size limit.
TPageText ReadPageFile(const std::string& path);

// The same for bytes already read (a UTF-16 byte order mark chooses UTF-16).
TPageText PageFromBytes(std::string bytes);

}  // namespace check
