// Any bytes through the "VBSCRIPT" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool active = ShouldFuzz("VBSCRIPT");
  return active ? FuzzHighlighter("VBSCRIPT", data, size) : 0;
}
