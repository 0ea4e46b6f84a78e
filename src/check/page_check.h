// Check Page: a page's HTML through libtidy (server blocks of PHP and ASP
// pages left out of it) or an XML document's well-formedness. The editor and
// vexa-check both call this.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "check_problem.h"

namespace check {

enum class TPageKind {
  None,            // nothing to check: a script, a style sheet, plain text
  Html,            // HTML
  HtmlWithBlocks,  // HTML with PHP or ASP blocks
  Xml,
};

// The kind for the editor's syntax name ("HTML", "PHP", "VBSCRIPT", "XML", ...)
// and the document's file name: a ".vbs" file is a script, not a page.
TPageKind KindForSyntax(std::string_view syntax, std::string_view fileName);

// The kind for a file name by its extension, any case: .htm, .html, .xhtml,
// .shtml (HTML), .php, .php3 to .php5, .phtml, .asp (with blocks), .xml,
// .xsl, .xslt, .svg, .rss, .atom (XML).
TPageKind KindForFile(std::string_view path);

struct TPageCheckInput {
  std::string_view Bytes;  // what the file holds (for XML)
  std::string_view Text;   // what is checked and where problems are placed
  bool Utf8 = false;
  TPageKind Kind = TPageKind::Html;
  bool ErrorsOnly = false;
};

// The problems in place order. False (with no problems) when `cancel` was raised.
bool CheckPage(const TPageCheckInput& input, std::vector<TProblem>& problems,
               const std::atomic<bool>* cancel = nullptr);

// HTML alone, errors and warnings or errors only.
std::vector<TProblem> CheckHtml(std::string_view text, bool utf8, bool blocks, bool errorsOnly,
                                const std::atomic<bool>* cancel = nullptr,
                                bool* cancelled = nullptr);

}  // namespace check
