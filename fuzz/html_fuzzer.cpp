// Any bytes through the "HTML" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool active = ShouldFuzz("HTML");
  return active ? FuzzHighlighter("HTML", data, size) : 0;
}
