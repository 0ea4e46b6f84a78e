#include "pascal_scanner.h"

#include <array>

namespace {

constexpr std::array<std::int32_t, 256> HashTable = MakeLetterHashTable();
constexpr std::array<bool, 256> IdentifierTable = MakeWordCharTable();

using byte_class::Byte;
using byte_class::IsDigit;
using byte_class::IsHexDigit;
using byte_class::IsLineEnd;

// The keywords whose recognition does more than give the kind Key; the scanner
// tells them by the identity of the listed text.
constexpr char kAsm[] = "Asm";
constexpr char kEnd[] = "End";
constexpr char kProperty[] = "Property";
// Directives that are keywords only inside a property declaration.
constexpr char kIndex[] = "Index";
constexpr char kNodefault[] = "Nodefault";
constexpr char kRead[] = "Read";
constexpr char kReadonly[] = "Readonly";
constexpr char kStored[] = "Stored";
constexpr char kWrite[] = "Write";
constexpr char kWriteonly[] = "Writeonly";
constexpr const char* kPropertyDirectives[] = {kIndex,  kNodefault, kRead,     kReadonly,
                                               kStored, kWrite,     kWriteonly};

bool IsPropertyDirective(const char* text) {
  for (const char* directive : kPropertyDirectives) {
    if (text == directive) return true;
  }
  return false;
}

// The scanner's hash rule: the sum of the leading letters (exactly the bytes
// whose hash value is 1..26; "_" counts 31 and is none).
bool IsHashedLetter(unsigned char b) { return HashTable[b] >= 1 && HashTable[b] <= 26; }
TWordHash LetterHash(const char* p) { return HashWord(p, HashTable.data(), IsHashedLetter); }

const TKeywordBuckets& Keywords() {
  // clang-format off
  static const TKeywordBuckets buckets(
      {
          "Absolute", "Abstract", "And", "Array", "As", kAsm, "Assembler", "Automated",
          "Begin", "Case", "Cdecl", "Class", "Const", "Constructor", "Default", "Destructor",
          "Dispid", "Dispinterface", "Div", "Do", "Downto", "Dynamic", "Else", kEnd, "Except",
          "Export", "Exports", "External", "Far", "File", "Finalization", "Finally", "For",
          "Forward", "Function", "Goto", "If", "Implementation", "In", "Inherited",
          "Initialization", "Inline", "Interface", "Is", "Label", "Library", "Message", "Mod",
          "Near", "Nil", "Not", "Object", "Of", "Or", "Out", "Override", "Packed", "Pascal",
          "Private", "Procedure", "Program", kProperty, "Protected", "Public", "Published",
          "Raise", "Record", "Register", "Repeat", "Resourcestring", "Safecall", "Set", "Shl",
          "Shr", "Stdcall", "String", "Stringresource", "Then", "Threadvar", "To", "Try",
          "Type", "Unit", "Until", "Uses", "Var", "Virtual", "While", "With", "Xor",
          kIndex, kNodefault, kRead, kReadonly, kStored, kWrite, kWriteonly,
      },
      TqorPasRTF::MaxKey, [](const char* word) {
        return ListedWordHash(word, HashTable.data(), IsHashedLetter, TqorPasRTF::MaxKey);
      });
  // clang-format on
  return buckets;
}

}  // namespace

TqorPasRTF::TqorPasRTF() {
  InitIdent();
  MakeMethodTables();
  Range = TRangeState::Normal;
  AsmStart = false;
  SetColors({RGBColor(0, 0, 255), RGBColor(0, 0, 0), RGBColor(0, 0, 0), RGBColor(0, 0, 0),
             RGBColor(0, 0, 128), RGBColor(0, 0, 0), RGBColor(0, 0, 0), RGBColor(0, 128, 0)});
}

void TqorPasRTF::InitIdent() { IdentFuncTable = Keywords().Table(); }

void TqorPasRTF::MakeMethodTables() {
  static const std::array<TProcTableProc, 256> table = [] {
    std::array<TProcTableProc, 256> t{};
    t.fill(Call<&TqorPasRTF::SymbolProc>);
    for (int c = 1; c <= 32; ++c) t[c] = Call<&TqorPasRTF::SpaceProc>;
    t[0] = Call<&TqorPasRTF::NullProc>;
    t['\n'] = Call<&TqorPasRTF::LFProc>;
    t['\r'] = Call<&TqorPasRTF::CRProc>;
    t['#'] = Call<&TqorPasRTF::CharCodeProc>;
    t['$'] = Call<&TqorPasRTF::HexProc>;
    t['\''] = Call<&TqorPasRTF::StringProc>;
    t['('] = Call<&TqorPasRTF::RoundOpenProc>;
    t['.'] = Call<&TqorPasRTF::PointProc>;
    t['/'] = Call<&TqorPasRTF::SlashProc>;
    for (int c = '0'; c <= '9'; ++c) t[c] = Call<&TqorPasRTF::NumberProc>;
    t[':'] = Call<&TqorPasRTF::ColonOrGreaterProc>;
    t['>'] = Call<&TqorPasRTF::ColonOrGreaterProc>;
    t[';'] = Call<&TqorPasRTF::SemicolonProc>;
    t['<'] = Call<&TqorPasRTF::LowerProc>;
    t['@'] = Call<&TqorPasRTF::AddressOpProc>;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = Call<&TqorPasRTF::IdentProc>;
    for (int c = 'a'; c <= 'z'; ++c) t[c] = Call<&TqorPasRTF::IdentProc>;
    t['_'] = Call<&TqorPasRTF::IdentProc>;
    t['{'] = Call<&TqorPasRTF::BraceOpenProc>;
    t['|'] = Call<&TqorPasRTF::StrayProc>;
    for (int c = 127; c <= 255; ++c) t[c] = Call<&TqorPasRTF::StrayProc>;
    return t;
  }();
  ProcTable = table.data();
}

// Only the leading letters are hashed. A digit or "_" right after them is
// counted into the length, so a word like "End2" can never equal a keyword.
std::uint64_t TqorPasRTF::KeyHash(const char* p) {
  const TWordHash h = LetterHash(p);
  StringLen = h.Length;
  if (IsDigit(p[StringLen]) || p[StringLen] == '_') ++StringLen;
  return h.Hash;
}

TqorPasRTF::TTokenKind TqorPasRTF::IdentKind(const char* p) {
  ToIdent = p;
  const std::uint64_t hash = KeyHash(p);
  if (const TKeyword* k = FindKeyword(hash, MaxKey, HashTable.data())) {
    if (k->Text == kAsm) {
      Range = TRangeState::AsmBlock;
      AsmStart = true;
    } else if (k->Text == kEnd) {
      Range = TRangeState::Normal;
    } else if (k->Text == kProperty) {
      Range = TRangeState::PropertyDecl;
    } else if (IsPropertyDirective(k->Text) && Range != TRangeState::PropertyDecl) {
      return TTokenKind::Identifier;
    }
    return TTokenKind::Key;
  }
  return TTokenKind::Identifier;
}

void TqorPasRTF::Next() {
  AsmStart = false;
  TokenPos = Run;
  switch (Range) {
    case TRangeState::ParenComment:
    case TRangeState::ParenCommentInAsm:
      ParenCommentProc();
      break;
    case TRangeState::BraceComment:
    case TRangeState::BraceCommentInAsm:
      BraceCommentProc();
      break;
    default:
      ProcTable[Byte(Line[Run])](*this);
      break;
  }
}

// Range is already the state after the token, so the "end" that closes an
// assembler block is outside it; the "asm" that opens one is exempted by AsmStart.
TqorPasRTF::TTokenKind TqorPasRTF::GetTokenId() const {
  if (!AsmStart && Range == TRangeState::AsmBlock && TokenKind != TTokenKind::Comment &&
      TokenKind != TTokenKind::EndOfText && TokenKind != TTokenKind::Space) {
    return TTokenKind::Asm;
  }
  return TokenKind;
}

int TqorPasRTF::GetTokenKind() {
  switch (GetTokenId()) {
    case TTokenKind::Comment:
      return 1;
    case TTokenKind::Identifier:
      return 2;
    case TTokenKind::Key:
      return 3;
    case TTokenKind::Number:
      return 4;
    case TTokenKind::Space:
      return 5;
    case TTokenKind::String:
      return 6;
    case TTokenKind::Symbol:
      return 7;
    case TTokenKind::Stray:
      return 8;
    case TTokenKind::Asm:
    case TTokenKind::EndOfText:
      return 9;
  }
  return 9;
}

const char* TqorPasRTF::GetTokenKindName() {
  switch (GetTokenId()) {
    case TTokenKind::Comment:
      return "Comment";
    case TTokenKind::Identifier:
      return "Identifier";
    case TTokenKind::Key:
      return "Key";
    case TTokenKind::Number:
      return "Number";
    case TTokenKind::Space:
      return "Space";
    case TTokenKind::String:
      return "String";
    case TTokenKind::Symbol:
      return "Symbol";
    case TTokenKind::Stray:
      return "Stray";
    case TTokenKind::Asm:
      return "Asm";
    case TTokenKind::EndOfText:
      return "EndOfText";
  }
  return "";
}

// Comments are italic and keywords bold.
const TFragmentFrame& TqorPasRTF::FrameToken(int colorIndex, std::string_view) {
  return ItalicBoldFrame(colorIndex);
}

void TqorPasRTF::CharCodeProc() {
  TokenKind = TTokenKind::String;
  ++Run;
  while (IsDigit(Line[Run])) ++Run;
}

void TqorPasRTF::HexProc() {
  TokenKind = TTokenKind::Number;
  ++Run;
  while (IsHexDigit(Line[Run])) ++Run;
}

void TqorPasRTF::StringProc() {
  TokenKind = TTokenKind::String;
  ++Run;
  for (;;) {
    const char c = Line[Run];
    if (IsLineEnd(c)) return;
    ++Run;
    if (c == '\'') {
      // A doubled apostrophe is one apostrophe inside the string.
      if (Line[Run] != '\'') return;
      ++Run;
    }
  }
}

void TqorPasRTF::RoundOpenProc() {
  const char next = Line[Run + 1];
  if (next == '*') {
    Run += 2;
    Range =
        Range == TRangeState::AsmBlock ? TRangeState::ParenCommentInAsm : TRangeState::ParenComment;
    TokenKind = TTokenKind::Comment;
    // The closing search starts after the opener, so "(*)" stays open.
    ScanParenCommentBody();
    return;
  }
  TokenKind = TTokenKind::Symbol;
  Run += next == '.' ? 2 : 1;
}

void TqorPasRTF::PointProc() {
  TokenKind = TTokenKind::Symbol;
  const char next = Line[Run + 1];
  Run += (next == ')' || next == '.') ? 2 : 1;
}

void TqorPasRTF::SlashProc() {
  if (Line[Run + 1] == '/') {
    TokenKind = TTokenKind::Comment;
    Run += 2;
    ScanToLineEnd();
  } else {
    TokenKind = TTokenKind::Symbol;
    ++Run;
  }
}

void TqorPasRTF::NumberProc() {
  TokenKind = TTokenKind::Number;
  ++Run;
  for (;;) {
    const char c = Line[Run];
    if (IsDigit(c) || c == 'e' || c == 'E') {
      ++Run;
    } else if (c == '.' && Line[Run + 1] != '.') {
      ++Run;
    } else {
      // "1..10" leaves the range operator to its own token.
      return;
    }
  }
}

void TqorPasRTF::ColonOrGreaterProc() {
  TokenKind = TTokenKind::Symbol;
  Run += Line[Run + 1] == '=' ? 2 : 1;
}

void TqorPasRTF::SemicolonProc() {
  TokenKind = TTokenKind::Symbol;
  ++Run;
  if (Range == TRangeState::PropertyDecl) Range = TRangeState::Normal;
}

void TqorPasRTF::LowerProc() {
  TokenKind = TTokenKind::Symbol;
  const char next = Line[Run + 1];
  Run += (next == '=' || next == '>') ? 2 : 1;
}

void TqorPasRTF::AddressOpProc() {
  TokenKind = TTokenKind::Symbol;
  Run += Line[Run + 1] == '@' ? 2 : 1;
}

void TqorPasRTF::IdentProc() {
  TokenKind = IdentKind(Line + Run);
  Run += StringLen;
  while (IdentifierTable[Byte(Line[Run])]) ++Run;
}

void TqorPasRTF::BraceOpenProc() {
  Range =
      Range == TRangeState::AsmBlock ? TRangeState::BraceCommentInAsm : TRangeState::BraceComment;
  BraceCommentProc();
}

void TqorPasRTF::StrayProc() {
  TokenKind = TTokenKind::Stray;
  ++Run;
}

void TqorPasRTF::SymbolProc() {
  TokenKind = TTokenKind::Symbol;
  ++Run;
}

void TqorPasRTF::BraceCommentProc() {
  if (LineEndInRange()) return;
  TokenKind = TTokenKind::Comment;
  ScanBraceCommentBody();
}

void TqorPasRTF::ParenCommentProc() {
  if (LineEndInRange()) return;
  TokenKind = TTokenKind::Comment;
  ScanParenCommentBody();
}

void TqorPasRTF::ScanBraceCommentBody() {
  for (;;) {
    const char c = Line[Run];
    if (IsLineEnd(c)) return;
    ++Run;
    if (c == '}') {
      Range = Range == TRangeState::BraceCommentInAsm ? TRangeState::AsmBlock : TRangeState::Normal;
      return;
    }
  }
}

void TqorPasRTF::ScanParenCommentBody() {
  for (;;) {
    const char c = Line[Run];
    if (IsLineEnd(c)) return;
    if (c == '*' && Line[Run + 1] == ')') {
      Run += 2;
      Range = Range == TRangeState::ParenCommentInAsm ? TRangeState::AsmBlock : TRangeState::Normal;
      return;
    }
    ++Run;
  }
}
