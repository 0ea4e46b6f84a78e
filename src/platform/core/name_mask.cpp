#include "name_mask.h"

namespace {

// The lower-case letter of a code page 1252 byte; other bytes stay.
constexpr unsigned char Folded(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10;  // S, OE, Z with caron
  if (c == 0x9F) return 0xFF;                                // Y with diaeresis
  return c;
}

bool SameLetter(char a, char b) {
  return Folded(static_cast<unsigned char>(a)) == Folded(static_cast<unsigned char>(b));
}

// "*" and "?" over the whole name; a star remembers where to resume when a
// later literal fails, so no pattern costs more than one pass per star.
bool Glob(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    // A star is a star also where the name itself holds one.
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

NameMask::NameMask(std::string_view mask) {
  while (true) {
    const std::size_t semicolon = mask.find(';');
    const std::string_view text = TrimBlanks(mask.substr(0, semicolon));
    if (!text.empty()) {
      Pattern p;
      p.Body = std::string(text);
      while (!p.Body.empty() && p.Body.back() == '?') {
        p.Body.pop_back();
        ++p.OptionalTail;
      }
      p.DotStar = text.size() >= 2 && text.substr(text.size() - 2) == ".*";
      Patterns_.push_back(std::move(p));
    }
    if (semicolon == std::string_view::npos) break;
    mask.remove_prefix(semicolon + 1);
  }
}

bool NameMask::Matches(std::string_view name) const {
  for (const Pattern& p : Patterns_) {
    if (Matches(p, name)) return true;
  }
  return false;
}

bool NameMask::Matches(const Pattern& p, std::string_view name) {
  for (std::size_t cut = 0; cut <= p.OptionalTail && cut <= name.size(); ++cut) {
    if (Glob(p.Body, name.substr(0, name.size() - cut))) return true;
  }
  if (p.DotStar) {
    const std::string_view withoutDot(p.Body.data(), p.Body.size() - 2);
    if (Glob(withoutDot, name)) return true;
  }
  return false;
}
