#include "xml_check.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <mutex>
#include <string>

namespace check {
namespace {

struct TCollector {
  std::vector<TProblem>* Problems;
  const TTextPositions* Positions;
  std::string_view Text;
};

void Collect(void* data, xmlErrorPtr error) {
  if (error == nullptr || error->level == XML_ERR_NONE) return;
  const auto* c = static_cast<const TCollector*>(data);
  TProblem p;
  p.Severity = error->level == XML_ERR_WARNING ? TSeverity::Warning : TSeverity::Error;
  p.Message = error->message != nullptr ? error->message : "malformed XML";
  while (!p.Message.empty() && (p.Message.back() == '\n' || p.Message.back() == ' ')) {
    p.Message.pop_back();
  }
  // libxml2 points just past what it could not take; its lines count from 1,
  // its columns from 1.
  const int line = error->line > 0 ? error->line - 1 : 0;
  const int column = error->int2 > 1 ? error->int2 - 1 : 0;
  p.Offset = c->Positions->OffsetOf(line, column);
  // Just past a tag or an entity reference: the mark goes on it.
  const std::string_view text = c->Text;
  if (p.Offset > 0 && p.Offset <= text.size() &&
      (text[p.Offset - 1] == '>' || text[p.Offset - 1] == ';')) {
    const std::size_t open = text.rfind(text[p.Offset - 1] == '>' ? '<' : '&', p.Offset - 1);
    const std::size_t lineStart = c->Positions->OffsetOf(line, 0);
    if (open != std::string_view::npos && open >= lineStart) p.Offset = open;
  }
  c->Positions->Place(p);
  c->Problems->push_back(std::move(p));
}

}  // namespace

std::vector<TProblem> CheckXml(std::string_view bytes, std::string_view text, bool utf8) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { xmlInitParser(); });
  std::vector<TProblem> problems;
  const TTextPositions positions(text, utf8);
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return problems;
  TCollector collector{&problems, &positions, text};
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (context == nullptr) throw std::bad_alloc();
  // The handler is the calling thread's own (libxml2 keeps it per thread).
  xmlSetStructuredErrorFunc(&collector, Collect);
  xmlDocPtr doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()),
                                    "document", nullptr, XML_PARSE_NONET);
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  const bool wellFormed = context->wellFormed != 0;
  xmlFreeDoc(doc);
  xmlFreeParserCtxt(context);
  if (!wellFormed && problems.empty()) {
    TProblem p;
    p.Message = "not well-formed";
    positions.Place(p);
    problems.push_back(std::move(p));
  }
  return problems;
}

}  // namespace check
