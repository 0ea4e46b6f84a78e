// Whether an XML document is well-formed, through libxml2: no network, no
// external DTD, no entity substitution, so a document cannot make the check
// fetch, read other files or grow without bound.
#pragma once

#include <atomic>
#include <string_view>
#include <vector>

#include "check_problem.h"

namespace check {

// `bytes` go to libxml2 as they are (it reads their byte order mark and
// encoding declaration); the problems are placed in `text`, the same document
// as the checker's text (UTF-8 where the bytes were UTF-16).
std::vector<TProblem> CheckXml(std::string_view bytes, std::string_view text, bool utf8);

}  // namespace check
