// Shared helpers for the highlighter tests: run a syntax over a text and get its
// tokens, a readable listing of them, or the RTF body after the fixed document start.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "highlighter_factory.h"
#include "scan_invariants.h"
#include "token_dump.h"

namespace highlight_test {

// The text every document carries between the colour table and the first token.
inline const std::string kDocumentStart = "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";
inline const std::string kDocumentEnd = "\\par }";

// All tokens of the text, the end-of-text token excluded.
inline std::vector<TokenRecord> Tokens(const std::string& syntax, const std::string& text) {
  HighlighterChoice choice = CreateHighlighter(syntax);
  choice.Highlighter->SetText(text.c_str());
  TokenWalk walk = CollectTokens(*choice.Highlighter, scan_invariants::TokenLimit(text.size()));
  EXPECT_TRUE(walk.Complete) << "scan of " << syntax << " did not end";
  return std::move(walk.Tokens);
}

// One line per token in the `vexa-rtf --tokens` form: kind, tab, colour, tab, text.
inline std::string Dump(const std::vector<TokenRecord>& tokens) {
  std::string out;
  for (const TokenRecord& token : tokens) AppendTokenLine(out, token);
  return out;
}

// One line per token, kind and text only: "Symbol <", "TagName b", ...; texts are
// written as in the dump ("\r\n" for a line end).
inline std::string KindsAndTexts(const std::vector<TokenRecord>& tokens) {
  std::string out;
  for (const TokenRecord& token : tokens) {
    out += token.Kind;
    out += ' ';
    AppendVisibleText(out, token.Text);
    out += '\n';
  }
  return out;
}

inline std::string KindsAndTexts(const std::string& syntax, const std::string& text) {
  return KindsAndTexts(Tokens(syntax, text));
}

// The whole RTF document of the text.
inline std::string Rtf(const std::string& syntax, const std::string& text) {
  HighlighterChoice choice = CreateHighlighter(syntax);
  choice.Highlighter->SetText(text.c_str());
  return choice.Highlighter->ConvertToRtfString();
}

// The token fragments only: what follows the fixed document start, without the
// closing "\par }".
inline std::string RtfBody(const std::string& syntax, const std::string& text) {
  const std::string rtf = Rtf(syntax, text);
  const std::size_t start = rtf.find(kDocumentStart);
  if (start == std::string::npos ||
      rtf.size() < start + kDocumentStart.size() + kDocumentEnd.size() ||
      rtf.compare(rtf.size() - kDocumentEnd.size(), kDocumentEnd.size(), kDocumentEnd) != 0) {
    ADD_FAILURE() << "not a highlighter document: " << rtf;
    return std::string();
  }
  const std::size_t body = start + kDocumentStart.size();
  return rtf.substr(body, rtf.size() - kDocumentEnd.size() - body);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

// Every line end (CR LF, lone CR, lone LF) replaced by the given one.
inline std::string WithLineEnds(const std::string& text, const std::string& lineEnd) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += lineEnd;
    } else if (text[i] == '\n') {
      out += lineEnd;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace highlight_test
