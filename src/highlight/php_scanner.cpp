#include "php_scanner.h"

namespace {

using TTokenKind = TqorPHPRTF::TTokenKind;
using TRangeState = TqorPHPRTF::TRangeState;

constexpr std::array<std::int32_t, 256> HashTable = MakeLetterHashTable();
constexpr std::array<bool, 256> IdentifierTable = MakeWordCharTable();

// Bytes that run together into one blank token: controls other than NUL, LF and
// CR, and the space.
constexpr std::array<bool, 256> MakeBlankTable() {
  std::array<bool, 256> t{};
  for (std::size_t c = 1; c <= 32; ++c) t[c] = c != '\n' && c != '\r';
  return t;
}
constexpr std::array<bool, 256> BlankTable = MakeBlankTable();

// Bytes that continue a number: digits, hexadecimal letters, the "x" of "0x",
// the "L" suffix, the decimal point and the minus sign.
constexpr std::array<bool, 256> MakeNumberTable() {
  std::array<bool, 256> t{};
  for (std::size_t c = '0'; c <= '9'; ++c) t[c] = true;
  for (std::size_t c = 'A'; c <= 'F'; ++c) t[c] = true;
  for (std::size_t c = 'a'; c <= 'f'; ++c) t[c] = true;
  for (unsigned char c : {'-', '.', 'L', 'l', 'X', 'x'}) t[c] = true;
  return t;
}
constexpr std::array<bool, 256> NumberTable = MakeNumberTable();

// The scanner's hash rule: the sum of the hash values of the identifier bytes
// from p on, summed wide so that no identifier, however long, overflows it.
// *end is set to the first byte after the identifier.
std::uint64_t WordHash(const char* p, const char** end) {
  std::uint64_t h = 0;
  while (IdentifierTable[static_cast<unsigned char>(*p)]) {
    h += static_cast<std::uint64_t>(HashTable[static_cast<unsigned char>(*p)]);
    ++p;
  }
  *end = p;
  return h;
}

// The bytes in front of which a token that does not span lines stops.
constexpr bool EndsLine(char c) { return c == '\0' || c == '\n' || c == '\r'; }

constexpr int kColorIndex[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr const char* kKindName[] = {"Comment",  "Identifier", "AtSign",   "Key",
                                     "Number",   "Space",      "String",   "Symbol",
                                     "Variable", "Stray",      "EndOfText"};

}  // namespace

TqorPHPRTF::TqorPHPRTF() {
  InitIdent();
  MakeMethodTables();
  Range = TRangeState::Normal;
  const TColor black = RGBColor(0, 0, 0);
  SetColors({RGBColor(0, 0, 255), black, RGBColor(255, 0, 0), RGBColor(0, 0, 128),
             RGBColor(0, 128, 0), black, RGBColor(128, 0, 0), black, black, black, black});
}

const TKeywordBuckets& TqorPHPRTF::SharedKeywords() {
  // clang-format off
  static const TKeywordBuckets buckets(
      {"__FILE__", "__LINE__", "and", "array", "break", "case", "cfunction", "class",
       "const", "continue", "default", "die", "do", "double", "echo", "else", "elseif",
       "empty", "endfor", "endif", "endswitch", "endwhile", "eval", "exit", "extends",
       "false", "float", "for", "function", "global", "highlight_file", "highlight_string",
       "if", "include", "int", "integer", "isset", "list", "new", "object", "old_function",
       "or", "print", "real", "require", "return", "show_source", "static", "string",
       "switch", "true", "unset", "var", "while", "xor"},
      MaxKey, [](const char* w) {
        const char* end = nullptr;
        const std::uint64_t h = WordHash(w, &end);
        return *end == '\0' && h <= static_cast<std::uint64_t>(MaxKey) ? static_cast<int>(h) : -1;
      });
  // clang-format on
  return buckets;
}

const TqorPHPRTF::TProcTable& TqorPHPRTF::SharedProcTable() {
  static const TProcTable table = [] {
    TProcTable t;
    t.fill(&TqorPHPRTF::StrayProc);
    for (std::size_t c = 0; c < 256; ++c) {
      if (BlankTable[c]) t[c] = &TqorPHPRTF::SpaceProc;
      if (IdentifierTable[c]) t[c] = &TqorPHPRTF::IdentProc;
      if (c >= '0' && c <= '9') t[c] = &TqorPHPRTF::NumberProc;
    }
    for (unsigned char c : {'(', ')', ',', '.', ':', ';', '?', '[', ']', '{', '}', '~'})
      t[c] = &TqorPHPRTF::SymbolProc;
    for (unsigned char c : {'!', '%', '*', '^'}) t[c] = &TqorPHPRTF::SymbolOrAssignProc;
    for (unsigned char c : {'&', '+', '|'}) t[c] = &TqorPHPRTF::DoubledOrAssignProc;
    t[0] = &TqorPHPRTF::NullProc;
    t['\n'] = &TqorPHPRTF::LFProc;
    t['\r'] = &TqorPHPRTF::CRProc;
    t['"'] = &TqorPHPRTF::DoubleQuoteProc;
    t['#'] = &TqorPHPRTF::HashCommentProc;
    t['$'] = &TqorPHPRTF::VariableProc;
    t['\''] = &TqorPHPRTF::SingleQuoteProc;
    t['-'] = &TqorPHPRTF::MinusProc;
    t['/'] = &TqorPHPRTF::SlashProc;
    t['<'] = &TqorPHPRTF::LowerProc;
    t['='] = &TqorPHPRTF::EqualProc;
    t['>'] = &TqorPHPRTF::GreaterProc;
    t['@'] = &TqorPHPRTF::AtSignProc;
    return t;
  }();
  return table;
}

void TqorPHPRTF::InitIdent() { IdentFuncTable = SharedKeywords().Table(); }

void TqorPHPRTF::MakeMethodTables() { ProcTable = SharedProcTable().data(); }

int TqorPHPRTF::KeyHash(const char* p) {
  const char* end = nullptr;
  const std::uint64_t h = WordHash(p, &end);
  StringLen = static_cast<std::int32_t>(end - p);
  // Every sum beyond the table means the same: no keyword.
  return h > static_cast<std::uint64_t>(MaxKey) ? MaxKey + 1 : static_cast<int>(h);
}

TTokenKind TqorPHPRTF::IdentKind(const char* p) {
  ToIdent = p;
  const int h = KeyHash(p);
  if (h > MaxKey) return TTokenKind::Identifier;
  const TKeywordBucket& bucket = IdentFuncTable[h];
  if (bucket.Empty()) return AltFunc();
  for (const TKeyword* k = bucket.First; k != bucket.Last; ++k) {
    if (KeyComp(*k)) return TTokenKind::Key;
  }
  return TTokenKind::Identifier;
}

bool TqorPHPRTF::KeyComp(const TKeyword& keyword) const {
  return SameUnderHash(keyword, ToIdent, StringLen, HashTable.data());
}

TTokenKind TqorPHPRTF::AltFunc() const { return TTokenKind::Identifier; }

void TqorPHPRTF::EscapeToken(std::string& token) { EscapeRtf(token); }

void TqorPHPRTF::SetLine(const char* text, int lineNumber) {
  Line = text != nullptr ? text : "";
  Run = 0;
  LineNumber = lineNumber;
  Next();
}

void TqorPHPRTF::Next() {
  TokenPos = Run;
  switch (Range) {
    case TRangeState::SingleQuoted:
      SingleQuotedProc();
      break;
    case TRangeState::DoubleQuoted:
      DoubleQuotedProc();
      break;
    case TRangeState::Comment:
      CommentProc();
      break;
    default:
      Range = TRangeState::Normal;
      (this->*ProcTable[static_cast<unsigned char>(Line[Run])])();
  }
}

bool TqorPHPRTF::GetEol() { return TokenKind == TTokenKind::EndOfText; }

std::string TqorPHPRTF::GetToken() {
  return std::string(Line + TokenPos, static_cast<std::size_t>(Run - TokenPos));
}

bool TqorPHPRTF::TokenInPlace(std::string_view& token) {
  token = std::string_view(Line + TokenPos, static_cast<std::size_t>(Run - TokenPos));
  return true;
}

void TqorPHPRTF::AppendTokens(std::string& out, TStream* flushTo) {
  AppendTokensOf(*this, out, flushTo);
}

int TqorPHPRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorPHPRTF::GetTokenKindName() { return kKindName[static_cast<int>(TokenKind)]; }

void TqorPHPRTF::ScanSingleQuotedBody() {
  while (Line[Run] != '\'' && !EndsLine(Line[Run])) ++Run;
  if (Line[Run] == '\'') {
    ++Run;
    Range = TRangeState::Normal;
  }
}

// A backslash directly followed by a double quote is stepped over as a pair, so
// that quote does not close the string. A doubled backslash is not a pair: in
// "a\\" the last backslash still takes the closing quote along.
void TqorPHPRTF::ScanDoubleQuotedBody() {
  for (;;) {
    const char c = Line[Run];
    if (EndsLine(c)) return;
    if (c == '"') {
      ++Run;
      Range = TRangeState::Normal;
      return;
    }
    if (c == '\\' && Line[Run + 1] == '"') {
      Run += 2;
    } else {
      ++Run;
    }
  }
}

void TqorPHPRTF::ScanBlockCommentBody() {
  for (;;) {
    const char c = Line[Run];
    if (EndsLine(c)) return;
    if (c == '*' && Line[Run + 1] == '/') {
      Run += 2;
      Range = TRangeState::Normal;
      return;
    }
    ++Run;
  }
}

// Inside an open string or comment a line end (or the end of text) is still a
// token of its own, and the construct stays open past it.
bool TqorPHPRTF::LineEndInRange() {
  switch (Line[Run]) {
    case '\0':
      NullProc();
      return true;
    case '\n':
      LFProc();
      return true;
    case '\r':
      CRProc();
      return true;
    default:
      return false;
  }
}

void TqorPHPRTF::NullProc() { TokenKind = TTokenKind::EndOfText; }

void TqorPHPRTF::SpaceProc() {
  ++Run;
  while (BlankTable[static_cast<unsigned char>(Line[Run])]) ++Run;
  TokenKind = TTokenKind::Space;
}

void TqorPHPRTF::LFProc() {
  ++Run;
  TokenKind = TTokenKind::Space;
}

void TqorPHPRTF::CRProc() {
  ++Run;
  if (Line[Run] == '\n') ++Run;
  TokenKind = TTokenKind::Space;
}

// "!", "%", "*" and "^", each alone or with "=".
void TqorPHPRTF::SymbolOrAssignProc() {
  Run += Line[Run + 1] == '=' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

// "&", "+" and "|", each alone, doubled or with "=".
void TqorPHPRTF::DoubledOrAssignProc() {
  const char n = Line[Run + 1];
  Run += n == Line[Run] || n == '=' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorPHPRTF::DoubleQuoteProc() {
  Range = TRangeState::DoubleQuoted;
  ++Run;
  ScanDoubleQuotedBody();
  TokenKind = TTokenKind::String;
}

void TqorPHPRTF::HashCommentProc() {
  ++Run;
  while (!EndsLine(Line[Run])) ++Run;
  TokenKind = TTokenKind::Comment;
}

void TqorPHPRTF::VariableProc() {
  ++Run;
  while (IdentifierTable[static_cast<unsigned char>(Line[Run])]) ++Run;
  TokenKind = TTokenKind::Variable;
}

void TqorPHPRTF::SingleQuoteProc() {
  Range = TRangeState::SingleQuoted;
  ++Run;
  ScanSingleQuotedBody();
  TokenKind = TTokenKind::String;
}

void TqorPHPRTF::MinusProc() {
  const char n = Line[Run + 1];
  Run += n == '-' || n == '=' || n == '>' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorPHPRTF::SlashProc() {
  switch (Line[Run + 1]) {
    case '*':
      TokenKind = TTokenKind::Comment;
      Range = TRangeState::Comment;
      Run += 2;
      ScanBlockCommentBody();
      return;
    case '/':
      TokenKind = TTokenKind::Comment;
      Run += 2;
      while (!EndsLine(Line[Run])) ++Run;
      return;
    case '=':
      Run += 2;
      break;
    default:
      ++Run;
  }
  TokenKind = TTokenKind::Symbol;
}

void TqorPHPRTF::NumberProc() {
  ++Run;
  for (;;) {
    const char c = Line[Run];
    if (!NumberTable[static_cast<unsigned char>(c)]) break;
    if (c == '.' && Line[Run + 1] == '.') break;
    ++Run;
  }
  TokenKind = TTokenKind::Number;
}

void TqorPHPRTF::LowerProc() {
  if (Line[Run + 1] == '<') {
    Run += Line[Run + 2] == '=' ? 3 : 2;
  } else {
    Run += Line[Run + 1] == '=' ? 2 : 1;
  }
  TokenKind = TTokenKind::Symbol;
}

void TqorPHPRTF::EqualProc() {
  const char n = Line[Run + 1];
  Run += n == '=' || n == '>' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorPHPRTF::GreaterProc() {
  const char n = Line[Run + 1];
  Run += n == '=' || n == '>' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorPHPRTF::AtSignProc() {
  ++Run;
  TokenKind = TTokenKind::AtSign;
}

void TqorPHPRTF::IdentProc() {
  TokenKind = IdentKind(Line + Run);
  Run += StringLen;
}

void TqorPHPRTF::StrayProc() {
  ++Run;
  TokenKind = TTokenKind::Stray;
}

void TqorPHPRTF::SymbolProc() {
  ++Run;
  TokenKind = TTokenKind::Symbol;
}

void TqorPHPRTF::SingleQuotedProc() {
  if (LineEndInRange()) return;
  TokenKind = TTokenKind::String;
  ScanSingleQuotedBody();
}

void TqorPHPRTF::DoubleQuotedProc() {
  if (LineEndInRange()) return;
  TokenKind = TTokenKind::String;
  ScanDoubleQuotedBody();
}

void TqorPHPRTF::CommentProc() {
  if (LineEndInRange()) return;
  TokenKind = TTokenKind::Comment;
  ScanBlockCommentBody();
}
