// Any bytes through the "SQL" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool active = ShouldFuzz("SQL");
  return active ? FuzzHighlighter("SQL", data, size) : 0;
}
