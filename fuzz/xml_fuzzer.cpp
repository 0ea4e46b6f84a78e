// Any bytes through the "XML" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool active = ShouldFuzz("XML");
  return active ? FuzzHighlighter("XML", data, size) : 0;
}
