// The token stream of a highlighter as plain records: the engine's second output
// besides RTF, used by `vexa-rtf --tokens` and by the tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "rtf_syntax.h"

struct TokenRecord {
  std::string Kind;  // the kind's name as the scanner's token table spells it
  int Color = 0;     // the colour index GetTokenKind returns
  std::string Text;
};

// Walks the highlighter's tokens from the current one up to the end of text.
// Stops after maxTokens tokens, so a scanner that never reaches the end cannot
// hang its caller; Complete tells whether the end of text was reached.
struct TokenWalk {
  std::vector<TokenRecord> Tokens;
  bool Complete = false;
};
TokenWalk CollectTokens(TqorRTFSyntax& highlighter, std::size_t maxTokens);

// Appends the token text with "\" as "\\", CR "\r", LF "\n", tab "\t" and every
// other byte below 32 or above 126 as "\xHH" (upper-case hex).
void AppendVisibleText(std::string& out, const std::string& text);

// One dump line: kind, tab, colour index, tab, visible text, LF.
void AppendTokenLine(std::string& out, const TokenRecord& token);
