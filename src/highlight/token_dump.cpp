#include "token_dump.h"

TokenWalk CollectTokens(TqorRTFSyntax& highlighter, std::size_t maxTokens) {
  TokenWalk walk;
  while (!highlighter.GetEol()) {
    if (walk.Tokens.size() >= maxTokens) return walk;
    TokenRecord token;
    token.Kind = highlighter.GetTokenKindName();
    token.Color = highlighter.GetTokenKind();
    token.Text = highlighter.GetToken();
    walk.Tokens.push_back(std::move(token));
    highlighter.Next();
  }
  walk.Complete = true;
  return walk;
}

void AppendVisibleText(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    switch (b) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (b < 32 || b > 126) {
          out += "\\x";
          out += kHex[b >> 4];
          out += kHex[b & 0xF];
        } else {
          out += c;
        }
    }
  }
}

void AppendTokenLine(std::string& out, const TokenRecord& token) {
  out += token.Kind;
  out += '\t';
  if (token.Color < 0) {
    out += '-';
    AppendDecimal(out, static_cast<unsigned>(-static_cast<long long>(token.Color)));
  } else {
    AppendDecimal(out, static_cast<unsigned>(token.Color));
  }
  out += '\t';
  AppendVisibleText(out, token.Text);
  out += '\n';
}
