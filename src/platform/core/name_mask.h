// File-name masks of the file lists: several patterns separated by ";"
// ("*.htm;*.html;*.php?"), compiled once and matched against many names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Pattern rules: letters match without regard to case (code page 1252, so
// "*.jpg" takes "CAMERA.JPG"), as file lists match names on the system these
// masks come from; "*" matches any run of characters, "?" exactly one; a "?" at the end of a
// pattern may also match nothing, so
// "*.php?" takes "a.php" and "a.php3" but not "a.php34"; a pattern ending in
// ".*" also takes names without that dot, so "*.*" matches every name.
// Blanks around a pattern are not part of it; empty patterns are dropped, and
// a mask without patterns matches no name.
class NameMask {
 public:
  NameMask() = default;
  explicit NameMask(std::string_view mask);

  bool Matches(std::string_view name) const;

 private:
  struct Pattern {
    std::string Body;              // the pattern without its trailing "?"s
    std::size_t OptionalTail = 0;  // how many "?" ended it
    bool DotStar = false;          // it ends in ".*"
  };
  static bool Matches(const Pattern& p, std::string_view name);

  std::vector<Pattern> Patterns_;
};
