#include "vbscript_scanner.h"

#include <array>
#include <cstring>

namespace {

using Byte = unsigned char;
using Kind = TqorVBScriptRTF::TtkTokenKind;

constexpr std::array<bool, 256> MakeNumberChars() {
  std::array<bool, 256> set{};
  for (int c = '0'; c <= '9'; ++c) set[c] = true;
  set[static_cast<Byte>('.')] = true;
  set[static_cast<Byte>('E')] = true;
  set[static_cast<Byte>('e')] = true;
  return set;
}

// Both cases of a letter share a hash value, so hashing and keyword
// comparison ignore case; digits count for nothing.
constexpr std::array<std::int32_t, 256> HashTable = MakeLetterHashTable();
constexpr std::array<bool, 256> IdentifierTable = MakeWordCharTable();
constexpr std::array<bool, 256> kNumberChars = MakeNumberChars();

constexpr bool IsBlank(Byte c) { return c != 0 && c <= 32 && c != '\n' && c != '\r'; }
constexpr bool IsLineEndOrNul(Byte c) { return c == 0 || c == '\n' || c == '\r'; }

constexpr int kColorIndex[] = {1, 2, 3, 4, 5, 6, 7, 8};

constexpr const char* kKindNames[] = {
    "Comment", "Identifier", "Key", "Number", "Space", "String", "Symbol", "EndOfText",
};

static_assert(sizeof(kColorIndex) / sizeof(kColorIndex[0]) ==
              static_cast<int>(Kind::EndOfText) + 1);
static_assert(sizeof(kKindNames) / sizeof(kKindNames[0]) == static_cast<int>(Kind::EndOfText) + 1);

}  // namespace

TqorVBScriptRTF::TqorVBScriptRTF() {
  InitIdent();
  MakeMethodTables();
  SetColors({RGBColor(0, 128, 0), RGBColor(0, 0, 0), RGBColor(0, 0, 128), RGBColor(0, 0, 255),
             RGBColor(0, 0, 0), RGBColor(0, 0, 0), RGBColor(0, 0, 0), RGBColor(0, 0, 0)});
}

const TKeywordBuckets& TqorVBScriptRTF::SharedKeywords() {
  static const TKeywordBuckets buckets(
      {"If",       "Each",     "Do",        "And",     "End",   "Dim",   "Case",   "Call",
       "Is",       "On",       "Mod",       "Get",     "Or",    "Rem",   "Let",    "Imp",
       "For",      "Else",     "Sub",       "Eqv",     "Set",   "Wend",  "Then",   "Erase",
       "ReDim",    "Not",      "Class",     "Byref",   "Xor",   "While", "Loop",   "Exit",
       "Byval",    "Next",     "Public",    "Select",  "Const", "Error", "Option", "Private",
       "Explicit", "Function", "Randomize", "property"},
      MaxKey, [](const char* word) {
        int h = 0;
        for (const char* p = word; *p != 0; ++p) h += HashTable[static_cast<Byte>(*p)];
        return h;
      });
  return buckets;
}

void TqorVBScriptRTF::InitIdent() { IdentFuncTable = SharedKeywords().Table(); }

// The handler table is built once per process and shared by every VBScript highlighter.
void TqorVBScriptRTF::MakeMethodTables() {
  static const std::array<TProc, 256> table = [] {
    std::array<TProc, 256> t{};
    for (int c = 0; c < 256; ++c) {
      TProc proc = &TqorVBScriptRTF::UnknownProc;
      if (c == 0) {
        proc = &TqorVBScriptRTF::NullProc;
      } else if (c == '\n') {
        proc = &TqorVBScriptRTF::LFProc;
      } else if (c == '\r') {
        proc = &TqorVBScriptRTF::CRProc;
      } else if (c <= 32) {
        proc = &TqorVBScriptRTF::SpaceProc;
      } else if (c >= '0' && c <= '9') {
        proc = &TqorVBScriptRTF::NumberProc;
      } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
        proc = &TqorVBScriptRTF::IdentProc;
      } else if (std::strchr("&()*+,-./:;=^{}", c) != nullptr) {
        proc = &TqorVBScriptRTF::SymbolProc;
      } else if (c == '"') {
        proc = &TqorVBScriptRTF::StringProc;
      } else if (c == '#') {
        proc = &TqorVBScriptRTF::DateProc;
      } else if (c == '\'') {
        proc = &TqorVBScriptRTF::CommentProc;
      } else if (c == '<') {
        proc = &TqorVBScriptRTF::LowerProc;
      } else if (c == '>') {
        proc = &TqorVBScriptRTF::GreaterProc;
      }
      t[c] = proc;
    }
    return t;
  }();
  ProcTable = table.data();
}

std::int64_t TqorVBScriptRTF::KeyHash(std::int32_t pos) {
  const Byte* start = reinterpret_cast<const Byte*>(Line) + pos;
  const Byte* p = start;
  std::int64_t hash = 0;
  while (IdentifierTable[*p]) {
    hash += HashTable[*p];
    ++p;
  }
  StringLen = static_cast<std::int32_t>(p - start);
  return hash;
}

TqorVBScriptRTF::TtkTokenKind TqorVBScriptRTF::IdentKind(std::int32_t pos) {
  ToIdent = Line + pos;
  const std::int64_t hash = KeyHash(pos);
  if (hash > MaxKey) return TtkTokenKind::Identifier;
  const TKeywordBucket& bucket = IdentFuncTable[hash];
  if (bucket.Empty()) return AltFunc();
  for (const TKeyword* keyword = bucket.First; keyword != bucket.Last; ++keyword) {
    if (KeyComp(*keyword)) return TtkTokenKind::Key;
  }
  return TtkTokenKind::Identifier;
}

bool TqorVBScriptRTF::KeyComp(const TKeyword& keyword) const {
  return SameUnderHash(keyword, ToIdent, StringLen, HashTable.data());
}

TqorVBScriptRTF::TtkTokenKind TqorVBScriptRTF::AltFunc() const { return TtkTokenKind::Identifier; }

void TqorVBScriptRTF::SetLine(const char* text, int lineNumber) {
  Line = text;
  Run = 0;
  LineNumber = lineNumber;
  Next();
}

void TqorVBScriptRTF::Next() {
  TokenPos = Run;
  (this->*ProcTable[static_cast<Byte>(Line[Run])])();
}

bool TqorVBScriptRTF::GetEol() { return TokenKind == TtkTokenKind::EndOfText; }

std::string TqorVBScriptRTF::GetToken() { return std::string(Line + TokenPos, Run - TokenPos); }

bool TqorVBScriptRTF::TokenInPlace(std::string_view& token) {
  token = std::string_view(Line + TokenPos, static_cast<std::size_t>(Run - TokenPos));
  return true;
}

void TqorVBScriptRTF::AppendTokens(std::string& out, TStream* flushTo) {
  AppendTokensOf(*this, out, flushTo);
}

int TqorVBScriptRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorVBScriptRTF::GetTokenKindName() { return kKindNames[static_cast<int>(TokenKind)]; }

void TqorVBScriptRTF::EscapeToken(std::string& token) { EscapeRtf(token); }

void TqorVBScriptRTF::NullProc() { TokenKind = TtkTokenKind::EndOfText; }

void TqorVBScriptRTF::SpaceProc() {
  do {
    ++Run;
  } while (IsBlank(static_cast<Byte>(Line[Run])));
  TokenKind = TtkTokenKind::Space;
}

void TqorVBScriptRTF::LFProc() {
  ++Run;
  TokenKind = TtkTokenKind::Space;
}

void TqorVBScriptRTF::CRProc() {
  ++Run;
  if (Line[Run] == '\n') ++Run;
  TokenKind = TtkTokenKind::Space;
}

void TqorVBScriptRTF::StringProc() {
  TokenKind = TtkTokenKind::String;
  // An opening quote followed by two more: the first two are stepped over at
  // once and the third opens the string.
  if (Line[Run + 1] == '"' && Line[Run + 2] == '"') Run += 2;
  const char* p = Line + Run + 1;
  while (*p != '"' && !IsLineEndOrNul(static_cast<Byte>(*p))) ++p;
  if (*p == '"') ++p;
  Run = static_cast<std::int32_t>(p - Line);
}

void TqorVBScriptRTF::DateProc() {
  TokenKind = TtkTokenKind::String;
  const char* p = Line + Run + 1;
  while (*p != '#' && !IsLineEndOrNul(static_cast<Byte>(*p))) ++p;
  if (*p == '#') ++p;
  Run = static_cast<std::int32_t>(p - Line);
}

void TqorVBScriptRTF::CommentProc() {
  TokenKind = TtkTokenKind::Comment;
  const char* p = Line + Run + 1;
  while (!IsLineEndOrNul(static_cast<Byte>(*p))) ++p;
  Run = static_cast<std::int32_t>(p - Line);
}

void TqorVBScriptRTF::SymbolProc() {
  ++Run;
  TokenKind = TtkTokenKind::Symbol;
}

void TqorVBScriptRTF::LowerProc() {
  ++Run;
  if (Line[Run] == '=' || Line[Run] == '>') ++Run;
  TokenKind = TtkTokenKind::Symbol;
}

void TqorVBScriptRTF::GreaterProc() {
  ++Run;
  if (Line[Run] == '=') ++Run;
  TokenKind = TtkTokenKind::Symbol;
}

void TqorVBScriptRTF::NumberProc() {
  const Byte* p = reinterpret_cast<const Byte*>(Line) + Run + 1;
  while (kNumberChars[*p]) ++p;
  Run = static_cast<std::int32_t>(reinterpret_cast<const char*>(p) - Line);
  TokenKind = TtkTokenKind::Number;
}

void TqorVBScriptRTF::IdentProc() {
  TokenKind = IdentKind(Run);
  Run += StringLen;
  while (IdentifierTable[static_cast<Byte>(Line[Run])]) ++Run;
}

void TqorVBScriptRTF::UnknownProc() {
  ++Run;
  TokenKind = TtkTokenKind::Identifier;
}
