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

using byte_class::IsLineEnd;

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
        return ListedWordHash(
            word, HashTable.data(), [](Byte b) { return b != 0; }, MaxKey);
      });
  return buckets;
}

void TqorVBScriptRTF::InitIdent() { IdentFuncTable = SharedKeywords().Table(); }

// The handler table is built once per process and shared by every VBScript highlighter.
void TqorVBScriptRTF::MakeMethodTables() {
  static const std::array<TProc, 256> table = [] {
    std::array<TProc, 256> t{};
    for (int c = 0; c < 256; ++c) {
      TProc proc = Call<&TqorVBScriptRTF::UnknownProc>;
      if (c == 0) {
        proc = Call<&TqorVBScriptRTF::NullProc>;
      } else if (c == '\n') {
        proc = Call<&TqorVBScriptRTF::LFProc>;
      } else if (c == '\r') {
        proc = Call<&TqorVBScriptRTF::CRProc>;
      } else if (c <= 32) {
        proc = Call<&TqorVBScriptRTF::SpaceProc>;
      } else if (c >= '0' && c <= '9') {
        proc = Call<&TqorVBScriptRTF::NumberProc>;
      } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') {
        proc = Call<&TqorVBScriptRTF::IdentProc>;
      } else if (std::strchr("&()*+,-./:;=^{}", c) != nullptr) {
        proc = Call<&TqorVBScriptRTF::SymbolProc>;
      } else if (c == '"') {
        proc = Call<&TqorVBScriptRTF::StringProc>;
      } else if (c == '#') {
        proc = Call<&TqorVBScriptRTF::DateProc>;
      } else if (c == '\'') {
        proc = Call<&TqorVBScriptRTF::CommentProc>;
      } else if (c == '<') {
        proc = Call<&TqorVBScriptRTF::LowerProc>;
      } else if (c == '>') {
        proc = Call<&TqorVBScriptRTF::GreaterProc>;
      }
      t[c] = proc;
    }
    return t;
  }();
  ProcTable = table.data();
}

std::uint64_t TqorVBScriptRTF::KeyHash(std::int32_t pos) {
  const TWordHash h =
      HashWord(Line + pos, HashTable.data(), [](Byte b) { return IdentifierTable[b]; });
  StringLen = h.Length;
  return h.Hash;
}

TqorVBScriptRTF::TtkTokenKind TqorVBScriptRTF::IdentKind(std::int32_t pos) {
  ToIdent = Line + pos;
  const std::uint64_t hash = KeyHash(pos);
  return FindKeyword(hash, MaxKey, HashTable.data()) ? TtkTokenKind::Key : TtkTokenKind::Identifier;
}

void TqorVBScriptRTF::Next() {
  TokenPos = Run;
  ProcTable[static_cast<Byte>(Line[Run])](*this);
}

int TqorVBScriptRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorVBScriptRTF::GetTokenKindName() { return kKindNames[static_cast<int>(TokenKind)]; }

void TqorVBScriptRTF::StringProc() {
  TokenKind = TtkTokenKind::String;
  // An opening quote followed by two more: the first two are stepped over at
  // once and the third opens the string.
  if (Line[Run + 1] == '"' && Line[Run + 2] == '"') Run += 2;
  const char* p = Line + Run + 1;
  while (*p != '"' && !IsLineEnd(*p)) ++p;
  if (*p == '"') ++p;
  Run = static_cast<std::int32_t>(p - Line);
}

void TqorVBScriptRTF::DateProc() {
  TokenKind = TtkTokenKind::String;
  const char* p = Line + Run + 1;
  while (*p != '#' && !IsLineEnd(*p)) ++p;
  if (*p == '#') ++p;
  Run = static_cast<std::int32_t>(p - Line);
}

void TqorVBScriptRTF::CommentProc() {
  TokenKind = TtkTokenKind::Comment;
  const char* p = Line + Run + 1;
  while (!IsLineEnd(*p)) ++p;
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
