// Any bytes through the "JAVA SCRIPT" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool active = ShouldFuzz("JAVA SCRIPT");
  return active ? FuzzHighlighter("JAVA SCRIPT", data, size) : 0;
}
