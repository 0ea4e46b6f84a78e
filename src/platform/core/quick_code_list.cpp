#include "quick_code_list.h"

#include "text_lines.h"

namespace quickcode {

std::vector<std::string> ParseList(std::string_view content) {
  return textlines::Split(content.substr(0, content.find('\0')));
}

std::string FormatList(const std::vector<std::string>& entries) {
  std::size_t size = 0;
  for (const std::string& e : entries) size += e.size() + 2;
  std::string out;
  out.reserve(size);
  for (const std::string& e : entries) {
    out += e;
    out += "\r\n";
  }
  return out;
}

}  // namespace quickcode
