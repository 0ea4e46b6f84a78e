#include "sql_scanner.h"

#include <array>

namespace {

// Letters of both cases hash alike, so keywords match in any case; every
// other byte, digits and "_" included, counts 0.
constexpr std::array<std::int32_t, 256> MakeHashTable() {
  std::array<std::int32_t, 256> t{};
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = c - 'A' + 1;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = c - 'a' + 1;
  return t;
}

// The bytes a number goes on over; "-" and "." have extra conditions.
constexpr std::array<bool, 256> MakeNumberTable() {
  std::array<bool, 256> t{};
  for (int c = '0'; c <= '9'; ++c) t[c] = true;
  for (int c = 'A'; c <= 'F'; ++c) t[c] = true;
  for (int c = 'a'; c <= 'f'; ++c) t[c] = true;
  t['-'] = t['.'] = t['X'] = t['x'] = t['_'] = true;
  return t;
}

constexpr std::array<std::int32_t, 256> HashTable = MakeHashTable();
constexpr std::array<bool, 256> IdentifierTable = MakeWordCharTable();
constexpr std::array<bool, 256> NumberTable = MakeNumberTable();

using byte_class::Byte;
using byte_class::IsDigit;
using byte_class::IsLineEnd;

// The scanner's hash rule: every identifier byte counts.
TWordHash IdentHash(const char* p) {
  return HashWord(p, HashTable.data(), [](unsigned char b) { return IdentifierTable[b]; });
}

const TKeywordBuckets& Keywords() {
  static const TKeywordBuckets buckets(
      {
          "ACTIVE",     "AFTER",       "ALL",       "ALTER",       "AND",      "ANY",
          "AS",         "ASC",         "ASCENDING", "AT",          "AUTO",     "BASE_NAME",
          "BEFORE",     "BEGIN",       "BETWEEN",   "BY",          "CACHE",    "CAST",
          "CHECK",      "COLUMN",      "COMMIT",    "COMMITTED",   "COMPUTED", "CONDITIONAL",
          "CONSTRAINT", "CONTAINING",  "COUNT",     "CREATE",      "CURRENT",  "CURSOR",
          "DATABASE",   "DEBUG",       "DECLARE",   "DEFAULT",     "DELETE",   "DESC",
          "DESCENDING", "DISTINCT",    "DO",        "DOMAIN",      "DROP",     "ELSE",
          "END",        "ENTRY_POINT", "ESCAPE",    "EXCEPTION",   "EXECUTE",  "EXISTS",
          "EXIT",       "EXTERNAL",    "EXTRACT",   "FILTER",      "FOR",      "FOREIGN",
          "FROM",       "FULL",        "FUNCTION",  "GENERATOR",   "GRANT",    "GROUP",
          "HAVING",     "IF",          "IN",        "INACTIVE",    "INDEX",    "INNER",
          "INSERT",     "INTO",        "IS",        "ISOLATION",   "JOIN",     "KEY",
          "LEFT",       "LEVEL",       "LIKE",      "MERGE",       "NAMES",    "NO",
          "NOT",        "NULL",        "OF",        "ON",          "ONLY",     "OR",
          "ORDER",      "OUTER",       "PARAMETER", "PASSWORD",    "PLAN",     "POSITION",
          "PRIMARY",    "PRIVILEGES",  "PROCEDURE", "PROTECTED",   "READ",     "RETAIN",
          "RETURNS",    "REVOKE",      "RIGHT",     "ROLLBACK",    "SCHEMA",   "SELECT",
          "SET",        "SHADOW",      "SHARED",    "SNAPSHOT",    "SOME",     "SUSPEND",
          "TABLE",      "THEN",        "TO",        "TRANSACTION", "TRIGGER",  "UNCOMMITTED",
          "UNION",      "UNIQUE",      "UPDATE",    "USER",        "USING",    "VIEW",
          "WAIT",       "WHEN",        "WHERE",     "WHILE",       "WITH",     "WORK",
      },
      TqorSQLRTF::MaxKey, [](const char* word) {
        return ListedWordHash(
            word, HashTable.data(), [](unsigned char b) { return IdentifierTable[b]; },
            TqorSQLRTF::MaxKey);
      });
  return buckets;
}

}  // namespace

TqorSQLRTF::TqorSQLRTF() {
  InitIdent();
  MakeMethodTables();
  SetColors({RGBColor(0, 0, 128), RGBColor(0, 0, 0), RGBColor(0, 0, 0), RGBColor(0, 0, 0),
             RGBColor(0, 0, 0), RGBColor(0, 0, 255), RGBColor(0, 0, 0)});
}

void TqorSQLRTF::InitIdent() { IdentFuncTable = Keywords().Table(); }

void TqorSQLRTF::MakeMethodTables() {
  static const std::array<TProcTableProc, 256> table = [] {
    std::array<TProcTableProc, 256> t{};
    // The bytes without a token of their own ("!", "$", "%", "@", "`", "{", "}",
    // "~", 127..255) are one-byte symbols, like the punctuation.
    t.fill(Call<&TqorSQLRTF::SymbolProc>);
    for (int c = 1; c <= 32; ++c) t[c] = Call<&TqorSQLRTF::SpaceProc>;
    t[0] = Call<&TqorSQLRTF::NullProc>;
    t['\n'] = Call<&TqorSQLRTF::LFProc>;
    t['\r'] = Call<&TqorSQLRTF::CRProc>;
    t['"'] = Call<&TqorSQLRTF::DoubleQuoteProc>;
    t['#'] = Call<&TqorSQLRTF::HashProc>;
    t['\''] = Call<&TqorSQLRTF::ApostropheProc>;
    t['-'] = Call<&TqorSQLRTF::MinusProc>;
    t['.'] = Call<&TqorSQLRTF::NumberProc>;
    for (int c = '0'; c <= '9'; ++c) t[c] = Call<&TqorSQLRTF::NumberProc>;
    t['/'] = Call<&TqorSQLRTF::SlashProc>;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = Call<&TqorSQLRTF::IdentProc>;
    for (int c = 'a'; c <= 'z'; ++c) t[c] = Call<&TqorSQLRTF::IdentProc>;
    t['_'] = Call<&TqorSQLRTF::IdentProc>;
    return t;
  }();
  ProcTable = table.data();
}

std::uint64_t TqorSQLRTF::KeyHash(const char* p) {
  const TWordHash h = IdentHash(p);
  StringLen = h.Length;
  return h.Hash;
}

TqorSQLRTF::TTokenKind TqorSQLRTF::IdentKind(const char* p) {
  ToIdent = p;
  const std::uint64_t hash = KeyHash(p);
  return FindKeyword(hash, MaxKey, HashTable.data()) ? TTokenKind::Key : TTokenKind::Identifier;
}

void TqorSQLRTF::Next() {
  TokenPos = Run;
  if (Range == TRangeState::Comment) {
    CommentProc();
  } else {
    Range = TRangeState::Normal;
    ProcTable[Byte(Line[Run])](*this);
  }
}

int TqorSQLRTF::GetTokenKind() {
  switch (TokenKind) {
    case TTokenKind::Comment:
      return 1;
    case TTokenKind::Identifier:
      return 2;
    case TTokenKind::Key:
      return 3;
    case TTokenKind::Number:
      return 4;
    case TTokenKind::Symbol:
      return 5;
    case TTokenKind::String:
      return 6;
    case TTokenKind::EndOfText:
      return 8;
  }
  return 7;
}

const char* TqorSQLRTF::GetTokenKindName() {
  switch (TokenKind) {
    case TTokenKind::Comment:
      return "Comment";
    case TTokenKind::Identifier:
      return "Identifier";
    case TTokenKind::Key:
      return "Key";
    case TTokenKind::Number:
      return "Number";
    case TTokenKind::Symbol:
      return "Symbol";
    case TTokenKind::String:
      return "String";
    case TTokenKind::EndOfText:
      return "EndOfText";
  }
  return "";
}

// Comments are italic and keywords bold.
const TFragmentFrame& TqorSQLRTF::FrameToken(int colorIndex, std::string_view) {
  return ItalicBoldFrame(colorIndex);
}

void TqorSQLRTF::DoubleQuoteProc() {
  TokenKind = TTokenKind::String;
  // '"""' steps over two quotes: the third one opens the string.
  if (Line[Run + 1] == '"' && Line[Run + 2] == '"') Run += 2;
  ++Run;
  for (;;) {
    const char c = Line[Run];
    if (c == '"') {
      ++Run;
      return;
    }
    if (IsLineEnd(c)) return;
    Run += (c == '\\' && Line[Run + 1] == '"') ? 2 : 1;
  }
}

void TqorSQLRTF::HashProc() {
  TokenKind = TTokenKind::Comment;
  ++Run;
  ScanToLineEnd();
}

void TqorSQLRTF::ApostropheProc() {
  TokenKind = TTokenKind::String;
  ++Run;
  for (;;) {
    const char c = Line[Run];
    if (c == '\'') {
      ++Run;
      return;
    }
    if (IsLineEnd(c)) return;
    ++Run;
  }
}

void TqorSQLRTF::MinusProc() {
  if (Line[Run + 1] == '-') {
    TokenKind = TTokenKind::Comment;
    Run += 2;
    ScanToLineEnd();
  } else {
    TokenKind = TTokenKind::Symbol;
    ++Run;
  }
}

void TqorSQLRTF::NumberProc() {
  ++Run;
  if (!IsDigit(Line[Run])) {
    TokenKind = TTokenKind::Symbol;
    return;
  }
  TokenKind = TTokenKind::Number;
  for (;;) {
    const char c = Line[Run];
    if (!NumberTable[Byte(c)]) return;
    // "12-3" is a number, a minus and a number; "12-e4" is one number.
    if (c == '-' && Line[Run + 1] != 'e' && Line[Run + 1] != 'E') return;
    // "1..10" keeps the range operator out of the number.
    if (c == '.' && Line[Run + 1] == '.') return;
    ++Run;
  }
}

void TqorSQLRTF::SlashProc() {
  const char next = Line[Run + 1];
  if (next == '*') {
    TokenKind = TTokenKind::Comment;
    Range = TRangeState::Comment;
    // The closing search starts at the opening star, so "/*/" is a whole comment.
    ++Run;
    ScanCommentBody();
  } else if (next == '/') {
    TokenKind = TTokenKind::Comment;
    Run += 2;
    ScanToLineEnd();
  } else {
    TokenKind = TTokenKind::Symbol;
    ++Run;
  }
}

void TqorSQLRTF::IdentProc() {
  TokenKind = IdentKind(Line + Run);
  Run += StringLen;
}

void TqorSQLRTF::SymbolProc() {
  TokenKind = TTokenKind::Symbol;
  ++Run;
}

void TqorSQLRTF::CommentProc() {
  if (LineEndInRange()) return;
  TokenKind = TTokenKind::Comment;
  ScanCommentBody();
}

void TqorSQLRTF::ScanCommentBody() {
  if (ScanPastCommentClose()) Range = TRangeState::Normal;
}
