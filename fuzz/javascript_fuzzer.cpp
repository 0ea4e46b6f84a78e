// Any bytes through the "JAVA SCRIPT" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzHighlighter("JAVA SCRIPT", data, size);
}
