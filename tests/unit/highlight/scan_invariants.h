// What every highlighter guarantees for any input, checked by the unit tests and
// by the fuzzers: the scan ends, the token texts joined give back the input up to
// its first NUL, and every colour index is one the scanner can produce.
#pragma once

#include <cstring>
#include <string>

#include "highlighter_factory.h"
#include "token_dump.h"

namespace scan_invariants {

// Bit k set: colour index k is one that GetTokenKind of that syntax can return.
inline unsigned AllowedColorMask(const std::string& syntax) {
  auto range = [](int first, int last) {
    unsigned mask = 0;
    for (int k = first; k <= last; ++k) mask |= 1u << k;
    return mask;
  };
  if (syntax == "XML") return range(1, 3);
  if (syntax == "VBSCRIPT") return range(1, 7);
  if (syntax == "JAVA SCRIPT") return range(1, 8);
  if (syntax == "PHP") return range(1, 10);
  if (syntax == "SQL") return range(1, 6);
  if (syntax == "DELPHI SCRIPT") return range(1, 9);
  return range(1, 11);  // HTML, and every unknown name
}

// Generous bound on the tokens of a text: only a few scanners write empty
// tokens, and never two in a row.
inline std::size_t TokenLimit(std::size_t textLength) { return 4 * textLength + 16; }

// Empty when the invariants hold for these bytes, else what went wrong. With
// withRtf the bytes also go through the RTF writer once.
inline std::string Check(const std::string& syntax, const std::string& bytes, bool withRtf = true) {
  const std::string text = bytes.substr(0, std::strlen(bytes.c_str()));
  HighlighterChoice choice = CreateHighlighter(syntax);
  choice.Highlighter->SetText(bytes.c_str());
  const TokenWalk walk = CollectTokens(*choice.Highlighter, TokenLimit(text.size()));
  if (!walk.Complete) return "the scan did not reach the end of the text";
  const unsigned allowed = AllowedColorMask(syntax);
  std::string joined;
  for (const TokenRecord& token : walk.Tokens) {
    if (token.Color < 0 || token.Color > 31 || (allowed & (1u << token.Color)) == 0) {
      std::string what = "colour index " + std::to_string(token.Color) + " for the token ";
      AppendTokenLine(what, token);
      return what;
    }
    joined += token.Text;
  }
  if (joined != text) return "the token texts joined differ from the input";
  if (!withRtf) return std::string();

  // The same text through the RTF writer: one document, closed exactly once.
  HighlighterChoice again = CreateHighlighter(syntax);
  again.Highlighter->SetText(bytes.c_str());
  const std::string rtf = again.Highlighter->ConvertToRtfString();
  const std::string head = again.Highlighter->RtfHeader;
  if (rtf.compare(0, head.size(), head) != 0) return "the RTF document lacks its header";
  if (rtf.size() < 6 || rtf.compare(rtf.size() - 6, 6, "\\par }") != 0)
    return "the RTF document does not end with \"\\par }\"";
  return std::string();
}

}  // namespace scan_invariants
