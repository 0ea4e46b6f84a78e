#include "highlighter_factory.h"

#include "html_scanner.h"
#include "javascript_scanner.h"
#include "pascal_scanner.h"
#include "php_scanner.h"
#include "sql_scanner.h"
#include "vbscript_scanner.h"
#include "xml_scanner.h"

const std::array<const char*, 7> kSyntaxNames = {"HTML",          "PHP", "JAVA SCRIPT", "VBSCRIPT",
                                                 "DELPHI SCRIPT", "SQL", "XML"};

HighlighterChoice CreateHighlighter(const std::string& name) {
  HighlighterChoice choice;
  if (name == "VBSCRIPT") {
    choice.Highlighter = std::make_unique<TqorVBScriptRTF>();
  } else if (name == "DELPHI SCRIPT") {
    choice.Highlighter = std::make_unique<TqorPasRTF>();
  } else if (name == "SQL") {
    choice.Highlighter = std::make_unique<TqorSQLRTF>();
  } else if (name == "PHP") {
    choice.Highlighter = std::make_unique<TqorPHPRTF>();
  } else if (name == "JAVA SCRIPT") {
    choice.Highlighter = std::make_unique<TqorJScriptRTF>();
  } else if (name == "XML") {
    choice.Highlighter = std::make_unique<TqorXMLRTF>();
  } else {
    choice.Highlighter = std::make_unique<TqorHTMLRTF>();
    choice.IsHtml = true;
  }
  return choice;
}

std::unique_ptr<TqorRTFSyntax> CreateHighlighterOfClass(const std::type_info& scannerClass) {
  for (const char* name : kSyntaxNames) {
    HighlighterChoice choice = CreateHighlighter(name);
    if (typeid(*choice.Highlighter) == scannerClass) return std::move(choice.Highlighter);
  }
  return nullptr;
}
