#include "php_scanner.h"

namespace {

using TTokenKind = TqorPHPRTF::TTokenKind;
using TRangeState = TqorPHPRTF::TRangeState;

constexpr std::array<std::int32_t, 256> HashTable = MakeLetterHashTable();
constexpr std::array<bool, 256> IdentifierTable = MakeWordCharTable();

using byte_class::kBlankTable;

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

// The scanner's hash rule: the sum of the hash values of the identifier bytes.
TWordHash IdentHash(const char* p) {
  return HashWord(p, HashTable.data(), [](unsigned char b) { return IdentifierTable[b]; });
}

using byte_class::IsLineEnd;

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
        return ListedWordHash(w, HashTable.data(),
                              [](unsigned char b) { return IdentifierTable[b]; }, MaxKey);
      });
  // clang-format on
  return buckets;
}

const TqorPHPRTF::TProcTable& TqorPHPRTF::SharedProcTable() {
  static const TProcTable table = [] {
    TProcTable t;
    t.fill(Call<&TqorPHPRTF::StrayProc>);
    for (std::size_t c = 0; c < 256; ++c) {
      if (kBlankTable[c]) t[c] = Call<&TqorPHPRTF::SpaceProc>;
      if (IdentifierTable[c]) t[c] = Call<&TqorPHPRTF::IdentProc>;
      if (c >= '0' && c <= '9') t[c] = Call<&TqorPHPRTF::NumberProc>;
    }
    for (unsigned char c : {'(', ')', ',', '.', ':', ';', '?', '[', ']', '{', '}', '~'})
      t[c] = Call<&TqorPHPRTF::SymbolProc>;
    for (unsigned char c : {'!', '%', '*', '^'}) t[c] = Call<&TqorPHPRTF::SymbolOrAssignProc>;
    for (unsigned char c : {'&', '+', '|'}) t[c] = Call<&TqorPHPRTF::DoubledOrAssignProc>;
    t[0] = Call<&TqorPHPRTF::NullProc>;
    t['\n'] = Call<&TqorPHPRTF::LFProc>;
    t['\r'] = Call<&TqorPHPRTF::CRProc>;
    t['"'] = Call<&TqorPHPRTF::DoubleQuoteProc>;
    t['#'] = Call<&TqorPHPRTF::HashCommentProc>;
    t['$'] = Call<&TqorPHPRTF::VariableProc>;
    t['\''] = Call<&TqorPHPRTF::SingleQuoteProc>;
    t['-'] = Call<&TqorPHPRTF::MinusProc>;
    t['/'] = Call<&TqorPHPRTF::SlashProc>;
    t['<'] = Call<&TqorPHPRTF::LowerProc>;
    t['='] = Call<&TqorPHPRTF::EqualProc>;
    t['>'] = Call<&TqorPHPRTF::GreaterProc>;
    t['@'] = Call<&TqorPHPRTF::AtSignProc>;
    return t;
  }();
  return table;
}

void TqorPHPRTF::InitIdent() { IdentFuncTable = SharedKeywords().Table(); }

void TqorPHPRTF::MakeMethodTables() { ProcTable = SharedProcTable().data(); }

std::uint64_t TqorPHPRTF::KeyHash(const char* p) {
  const TWordHash h = IdentHash(p);
  StringLen = h.Length;
  return h.Hash;
}

TTokenKind TqorPHPRTF::IdentKind(const char* p) {
  ToIdent = p;
  const std::uint64_t hash = KeyHash(p);
  return FindKeyword(hash, MaxKey, HashTable.data()) ? TTokenKind::Key : TTokenKind::Identifier;
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
      ProcTable[static_cast<unsigned char>(Line[Run])](*this);
  }
}

int TqorPHPRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorPHPRTF::GetTokenKindName() { return kKindName[static_cast<int>(TokenKind)]; }

void TqorPHPRTF::ScanSingleQuotedBody() {
  while (Line[Run] != '\'' && !IsLineEnd(Line[Run])) ++Run;
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
    if (IsLineEnd(c)) return;
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
  if (ScanPastCommentClose()) Range = TRangeState::Normal;
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
  ScanToLineEnd();
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
      ScanToLineEnd();
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
