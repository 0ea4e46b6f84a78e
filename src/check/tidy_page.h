// Tidy Page: the page reformatted by libtidy (nested elements indented, long
// lines never wrapped, the doctype kept, the case of tags and attributes
// kept, line breaks inside text kept, PHP and ASP blocks kept byte for byte),
// or, when libtidy finds errors it cannot repair, nothing but the problems.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "check_problem.h"

namespace check {

struct TTidyOptions {
  bool Indent = true;    // indent the content of nested elements
  int IndentSpaces = 2;  // 0 to 8
  bool IndentWithTabs = false;
  bool KeepLineBreaks = true;  // keep the line breaks inside running text
};

struct TTidyPageResult {
  bool Refused = false;  // nothing changes: Problems (or Reason) say why
  std::string Reason;
  std::vector<TProblem> Problems;  // when refused for errors: what Check Page lists
  std::string Text;                // the tidied page, line ends CR LF
  std::size_t Caret = 0;           // where the caret's element went
};

// `caret` is a byte offset into `text`; `blocks` keeps PHP and ASP blocks.
TTidyPageResult TidyPage(std::string_view text, bool utf8, bool blocks, std::size_t caret,
                         const TTidyOptions& options);

}  // namespace check
