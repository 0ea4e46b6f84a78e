// Any bytes as a quick-code list file. No entry holds a line end or a NUL,
// and a list written out reads back as the same entries.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "quick_code_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = quickcode::ParseList(bytes);
  for (const std::string& entry : entries) {
    if (entry.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      std::fprintf(stderr, "quick-code list: an entry holds a line end or a NUL\n");
      std::abort();
    }
  }
  if (quickcode::ParseList(quickcode::FormatList(entries)) != entries) {
    std::fprintf(stderr, "quick-code list: a saved list reads back differently\n");
    std::abort();
  }
  return 0;
}
