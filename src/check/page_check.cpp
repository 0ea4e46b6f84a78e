#include "page_check.h"

#include "page_markup.h"
#include "tidy_session.h"
#include "xml_check.h"

namespace check {
namespace {

std::string_view ExtensionOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return path.substr(dot);
}

}  // namespace

TPageKind KindForSyntax(std::string_view syntax, std::string_view fileName) {
  if (syntax == "HTML") return TPageKind::Html;
  if (syntax == "PHP") return TPageKind::HtmlWithBlocks;
  if (syntax == "VBSCRIPT") {
    return AsciiLower(ExtensionOf(fileName)) == ".vbs" ? TPageKind::None
                                                       : TPageKind::HtmlWithBlocks;
  }
  if (syntax == "XML") return TPageKind::Xml;
  return TPageKind::None;
}

TPageKind KindForFile(std::string_view path) {
  const std::string ext = AsciiLower(ExtensionOf(path));
  for (const char* e : {".htm", ".html", ".xhtml", ".shtml"}) {
    if (ext == e) return TPageKind::Html;
  }
  for (const char* e : {".php", ".php3", ".php4", ".php5", ".phtml", ".asp"}) {
    if (ext == e) return TPageKind::HtmlWithBlocks;
  }
  for (const char* e : {".xml", ".xsl", ".xslt", ".svg", ".rss", ".atom"}) {
    if (ext == e) return TPageKind::Xml;
  }
  return TPageKind::None;
}

std::vector<TProblem> CheckHtml(std::string_view text, bool utf8, bool blocks, bool errorsOnly,
                                const std::atomic<bool>* cancel, bool* cancelled) {
  // Blocks are blanked out in place, so what libtidy reports stands where it
  // stands in the page.
  std::string masked;
  if (blocks) {
    masked = MaskBlocks(text, ScanMarkup(text, true).Blocks);
    text = masked;
  }
  TTidySession tidy(utf8);
  if (errorsOnly) tidy.Set("show-warnings", "no");
  const bool done = tidy.Run(text, cancel);
  if (cancelled != nullptr) *cancelled = !done;
  if (!done) return {};
  std::vector<TProblem> problems = PlaceMessages(tidy.Messages(), text, utf8, errorsOnly);
  SortProblems(problems);
  return problems;
}

bool CheckPage(const TPageCheckInput& input, std::vector<TProblem>& problems,
               const std::atomic<bool>* cancel) {
  problems.clear();
  switch (input.Kind) {
    case TPageKind::None:
      return true;
    case TPageKind::Xml:
      problems = CheckXml(input.Bytes, input.Text, input.Utf8);
      SortProblems(problems);
      return !(cancel != nullptr && cancel->load());
    case TPageKind::Html:
    case TPageKind::HtmlWithBlocks:
      break;
  }
  bool cancelled = false;
  problems = CheckHtml(input.Text, input.Utf8, input.Kind == TPageKind::HtmlWithBlocks,
                       input.ErrorsOnly, cancel, &cancelled);
  return !cancelled;
}

}  // namespace check
