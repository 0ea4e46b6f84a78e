// The body shared by the highlighter fuzzers: scan the bytes with one syntax and
// stop the run when an invariant of the scanners is broken.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scan_invariants.h"

inline int FuzzHighlighter(const std::string& syntax, const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string failure = scan_invariants::Check(syntax, bytes);
  if (!failure.empty()) {
    std::fprintf(stderr, "%s: %s\n", syntax.c_str(), failure.c_str());
    std::abort();
  }
  return 0;
}
