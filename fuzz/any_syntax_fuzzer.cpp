// Any bytes through any highlighter: the first byte picks the syntax (by the
// syntax list's order), the rest is the text.
#include "highlight_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char* syntax = kSyntaxNames[data[0] % kSyntaxNames.size()];
  return FuzzHighlighter(syntax, data + 1, size - 1);
}
