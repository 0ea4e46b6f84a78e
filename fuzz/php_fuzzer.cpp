// Any bytes through the "PHP" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool active = ShouldFuzz("PHP");
  return active ? FuzzHighlighter("PHP", data, size) : 0;
}
