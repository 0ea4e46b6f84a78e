// Any bytes through the "PHP" highlighter.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzHighlighter("PHP", data, size);
}
