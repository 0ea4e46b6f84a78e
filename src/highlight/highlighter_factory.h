// Maps a syntax name, as the syntax list shows it, to a new highlighter.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <typeinfo>

#include "rtf_syntax.h"

// The syntax list's items, in the list's order.
extern const std::array<const char*, 7> kSyntaxNames;

struct HighlighterChoice {
  std::unique_ptr<TqorRTFSyntax> Highlighter;
  bool IsHtml = false;  // the HTML class was chosen (it also serves unknown names)
};

// Exact, case-sensitive comparison; any name not in the table gives HTML.
HighlighterChoice CreateHighlighter(const std::string& syntaxName);

// A new highlighter of the same class as one that scanned before (its
// typeid); none for a class the table does not hold.
std::unique_ptr<TqorRTFSyntax> CreateHighlighterOfClass(const std::type_info& scannerClass);
