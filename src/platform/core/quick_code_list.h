// The quick-code list file: one entry per line, as plain code page 1252 bytes
// with no header. The file itself is read and written by the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quickcode {

// The entries of a list file's content: lines end at CR LF, a lone CR or a
// lone LF; empty lines are empty entries; text after the last line end is one
// more entry when it is not empty; a NUL byte ends the list.
std::vector<std::string> ParseList(std::string_view content);

// The file content for a list: every entry, the last one included, followed
// by CR LF.
std::string FormatList(const std::vector<std::string>& entries);

}  // namespace quickcode
