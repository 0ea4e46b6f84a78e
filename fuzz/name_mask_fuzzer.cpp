// Any bytes as a file-name mask and a name (split at the first NUL). A plain
// pattern must match exactly as a straightforward table of "*" and "?" says,
// "*" and "*.*" take every name, and a name without wildcards matches itself.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "name_mask.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "name mask: %s\n", what);
  std::abort();
}

// Letters of code page 1252 with their case folded, as file names are compared.
unsigned char Folded(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10;
  return c == 0x9F ? 0xFF : c;
}

// matches[i][j]: the first i pattern characters match the first j name characters.
bool TableGlob(std::string_view pattern, std::string_view name) {
  std::vector<std::vector<bool>> matches(pattern.size() + 1,
                                         std::vector<bool>(name.size() + 1, false));
  matches[0][0] = true;
  for (std::size_t i = 1; i <= pattern.size(); ++i) {
    const char p = pattern[i - 1];
    for (std::size_t j = 0; j <= name.size(); ++j) {
      if (p == '*') {
        matches[i][j] = matches[i - 1][j] || (j > 0 && matches[i][j - 1]);
      } else if (j > 0 && (p == '?' || Folded(static_cast<unsigned char>(p)) ==
                                           Folded(static_cast<unsigned char>(name[j - 1])))) {
        matches[i][j] = matches[i - 1][j - 1];
      }
    }
  }
  return matches[pattern.size()][name.size()];
}

// A pattern that none of the mask's own rules (lists, blanks, an optional
// "?" tail, a ".*" end) apply to.
bool IsPlainPattern(std::string_view p) {
  if (p.empty() || p.find(';') != std::string_view::npos) return false;
  if (p.front() == ' ' || p.front() == '\t' || p.back() == ' ' || p.back() == '\t') return false;
  if (p.back() == '?') return false;
  return !(p.size() >= 2 && p.substr(p.size() - 2) == ".*");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = bytes.find('\0');
  const std::string_view mask = bytes.substr(0, nul == std::string_view::npos ? size / 2 : nul);
  const std::string_view name = bytes.substr(nul == std::string_view::npos ? size / 2 : nul + 1);

  const bool matches = NameMask(mask).Matches(name);
  // The table costs pattern times name: long inputs check only the mask's own run time.
  if (IsPlainPattern(mask) && mask.size() * name.size() <= (1u << 20) &&
      matches != TableGlob(mask, name)) {
    Fail("a plain pattern matched otherwise than the table says");
  }
  if (!NameMask("*").Matches(name) || !NameMask("*.*").Matches(name)) {
    Fail("a name escaped \"*\" or \"*.*\"");
  }
  if (NameMask(" ; ").Matches(name)) Fail("a mask without patterns matched");
  if (name.find_first_of(std::string_view("*?; \t", 5)) == std::string_view::npos &&
      !name.empty() && !NameMask(name).Matches(name)) {
    Fail("a name without wildcards did not match itself");
  }
  return 0;
}
