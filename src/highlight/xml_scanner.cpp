#include "xml_scanner.h"

#include <array>

namespace {

using Byte = unsigned char;
using Kind = TqorXMLRTF::TtkTokenKind;

constexpr std::array<bool, 256> MakeNameChars() {
  std::array<bool, 256> set{};
  for (int c = '0'; c <= '9'; ++c) set[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) set[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) set[c] = true;
  set[static_cast<Byte>('-')] = true;
  set[static_cast<Byte>('.')] = true;
  set[static_cast<Byte>(':')] = true;
  set[static_cast<Byte>('_')] = true;
  return set;
}

// Character data runs until a control byte, a tag or a reference.
constexpr std::array<bool, 256> MakeTextStops() {
  std::array<bool, 256> set{};
  for (int c = 0; c < 32; ++c) set[c] = true;
  set[static_cast<Byte>('<')] = true;
  set[static_cast<Byte>('&')] = true;
  return set;
}

constexpr std::array<bool, 256> kNameChars = MakeNameChars();
constexpr std::array<bool, 256> kTextStops = MakeTextStops();

using byte_class::IsLineEnd;

// Compares byte by byte and stops at the first difference, so a NUL in the
// text ends the comparison before anything beyond it is read.
bool StartsWith(const char* p, const char* word) {
  for (; *word != 0; ++p, ++word) {
    if (*p != *word) return false;
  }
  return true;
}

bool BeginsCommentClose(const char* p) { return p[0] == '-' && p[1] == '-' && p[2] == '>'; }

// The colour index of each token kind, in declaration order.
constexpr int kColorIndex[] = {
    1,  // EndOfText
    1,  // ElementName
    3,  // AttributeName
    2,  // Text
    3,  // CData
    2,  // TextEntity
    1,  // ProcessingInstruction
    1,  // Comment
    3,  // ValueDouble
    1,  // ValueSingle
    3,  // ValueEntityDouble
    1,  // ValueEntitySingle
    1,  // Symbol
    1,  // Space
    1,  // Assign
    3,  // NamespaceName
    3,  // NamespaceValueDouble
    1,  // NamespaceValueSingle
    1,  // NamespaceEntityDouble
    1,  // NamespaceEntitySingle
    1,  // NamespaceAssign
    1,  // DocType
};

constexpr const char* kKindNames[] = {
    "EndOfText",
    "ElementName",
    "AttributeName",
    "Text",
    "CData",
    "TextEntity",
    "ProcessingInstruction",
    "Comment",
    "ValueDouble",
    "ValueSingle",
    "ValueEntityDouble",
    "ValueEntitySingle",
    "Symbol",
    "Space",
    "Assign",
    "NamespaceName",
    "NamespaceValueDouble",
    "NamespaceValueSingle",
    "NamespaceEntityDouble",
    "NamespaceEntitySingle",
    "NamespaceAssign",
    "DocType",
};

static_assert(sizeof(kColorIndex) / sizeof(kColorIndex[0]) == static_cast<int>(Kind::DocType) + 1);
static_assert(sizeof(kKindNames) / sizeof(kKindNames[0]) == static_cast<int>(Kind::DocType) + 1);

}  // namespace

TqorXMLRTF::TqorXMLRTF() {
  MakeMethodTables();
  SetColors({RGBColor(0, 0, 0), RGBColor(0, 0, 255), RGBColor(255, 0, 0), RGBColor(255, 255, 0)});
  Range = TRangeState::InText;
}

// The handler table is built once per process and shared by every XML highlighter.
void TqorXMLRTF::MakeMethodTables() {
  static const std::array<TProc, 256> table = [] {
    std::array<TProc, 256> t{};
    for (int c = 0; c < 256; ++c) {
      if (c == 0) {
        t[c] = Call<&TqorXMLRTF::NullProc>;
      } else if (c == '\n') {
        t[c] = Call<&TqorXMLRTF::LFProc>;
      } else if (c == '\r') {
        t[c] = Call<&TqorXMLRTF::CRProc>;
      } else if (c <= 32) {
        t[c] = Call<&TqorXMLRTF::SpaceProc>;
      } else if (c == '<') {
        t[c] = Call<&TqorXMLRTF::LessThanProc>;
      } else if (c == '>') {
        t[c] = Call<&TqorXMLRTF::GreaterThanProc>;
      } else {
        t[c] = Call<&TqorXMLRTF::MarkupProc>;
      }
    }
    return t;
  }();
  ProcTable = table.data();
}

void TqorXMLRTF::Next() {
  TokenPos = Run;
  switch (Range) {
    case TRangeState::InText:
      TextProc();
      break;
    case TRangeState::InCData:
      CDataProc();
      break;
    case TRangeState::InProcessingInstruction:
      ProcessingInstructionProc();
      break;
    case TRangeState::InComment:
      CommentProc();
      break;
    case TRangeState::InDocType:
      DocTypeProc();
      break;
    default:
      ProcTable[static_cast<Byte>(Line[Run])](*this);
      break;
  }
}

int TqorXMLRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorXMLRTF::GetTokenKindName() { return kKindNames[static_cast<int>(TokenKind)]; }

const TFragmentFrame& TqorXMLRTF::FrameToken(int colorIndex, std::string_view token) {
  // Text that opens with "//" is a script comment pasted into the document;
  // it takes the text colour whatever the scanner made of it.
  std::size_t i = 0;
  while (i < token.size() && static_cast<Byte>(token[i]) <= 32) ++i;
  if (i + 1 < token.size() && token[i] == '/' && token[i + 1] == '/') colorIndex = 2;
  return PlainFrame(colorIndex);
}

void TqorXMLRTF::LessThanProc() {
  ++Run;
  if (Line[Run] == '/') ++Run;
  const char* p = Line + Run;
  if (p[0] == '!') {
    if (p[1] == '-' && p[2] == '-') {
      TokenKind = TtkTokenKind::Symbol;
      Range = TRangeState::InComment;
      Run += 3;
    } else if (StartsWith(p + 1, "DOCTYPE")) {
      TokenKind = TtkTokenKind::DocType;
      Range = TRangeState::InDocType;
      Run += 8;
    } else if (StartsWith(p + 1, "[CDATA[")) {
      TokenKind = TtkTokenKind::CData;
      Range = TRangeState::InCData;
      Run += 8;
    } else {
      TokenKind = TtkTokenKind::Symbol;
      Range = TRangeState::InElementName;
      Run += 1;
    }
  } else if (p[0] == '?') {
    TokenKind = TtkTokenKind::ProcessingInstruction;
    Range = TRangeState::InProcessingInstruction;
    Run += 1;
  } else {
    TokenKind = TtkTokenKind::Symbol;
    Range = TRangeState::InElementName;
  }
}

void TqorXMLRTF::GreaterThanProc() {
  ++Run;
  TokenKind = TtkTokenKind::Symbol;
  Range = TRangeState::InText;
}

void TqorXMLRTF::MarkupProc() {
  switch (Range) {
    case TRangeState::InElementName:
      ElementNameProc();
      break;
    case TRangeState::InAttributeName:
      AttributeNameProc();
      break;
    case TRangeState::AfterAttributeName:
      AssignProc(false);
      break;
    case TRangeState::AfterNamespaceName:
      AssignProc(true);
      break;
    case TRangeState::InValueDouble:
      ValueProc('"', TtkTokenKind::ValueDouble, TRangeState::InValueEntityDouble);
      break;
    case TRangeState::InValueSingle:
      ValueProc('\'', TtkTokenKind::ValueSingle, TRangeState::InValueEntitySingle);
      break;
    case TRangeState::InNamespaceValueDouble:
      ValueProc('"', TtkTokenKind::NamespaceValueDouble, TRangeState::InNamespaceEntityDouble);
      break;
    case TRangeState::InNamespaceValueSingle:
      ValueProc('\'', TtkTokenKind::NamespaceValueSingle, TRangeState::InNamespaceEntitySingle);
      break;
    case TRangeState::InValueEntityDouble:
      EntityProc(TtkTokenKind::ValueEntityDouble, TRangeState::InValueDouble);
      break;
    case TRangeState::InValueEntitySingle:
      EntityProc(TtkTokenKind::ValueEntitySingle, TRangeState::InValueSingle);
      break;
    case TRangeState::InNamespaceEntityDouble:
      EntityProc(TtkTokenKind::NamespaceEntityDouble, TRangeState::InNamespaceValueDouble);
      break;
    case TRangeState::InNamespaceEntitySingle:
      EntityProc(TtkTokenKind::NamespaceEntitySingle, TRangeState::InNamespaceValueSingle);
      break;
    case TRangeState::InTextEntity:
      EntityProc(TtkTokenKind::TextEntity, TRangeState::InText);
      break;
    // Next serves these ranges itself; they are listed so every range has a handler.
    case TRangeState::InText:
      TextProc();
      break;
    case TRangeState::InCData:
      CDataProc();
      break;
    case TRangeState::InProcessingInstruction:
      ProcessingInstructionProc();
      break;
    case TRangeState::InComment:
      CommentProc();
      break;
    case TRangeState::InDocType:
      DocTypeProc();
      break;
  }
}

void TqorXMLRTF::ElementNameProc() {
  const Byte* p = reinterpret_cast<const Byte*>(Line) + Run;
  if (*p == '/') ++p;
  while (kNameChars[*p]) ++p;
  Run = static_cast<std::int32_t>(reinterpret_cast<const char*>(p) - Line);
  TokenKind = TtkTokenKind::ElementName;
  Range = TRangeState::InAttributeName;
}

void TqorXMLRTF::AttributeNameProc() {
  const Byte* start = reinterpret_cast<const Byte*>(Line) + Run;
  if (*start == '"' || *start == '\'') {
    ++Run;
    TokenKind = TtkTokenKind::Symbol;
    return;
  }
  const Byte* p = start;
  while (kNameChars[*p]) ++p;
  Run = static_cast<std::int32_t>(reinterpret_cast<const char*>(p) - Line);
  bool isNamespace = false;
  for (const Byte* q = start; q + 5 <= p; ++q) {
    if (q[0] == 'x' && q[1] == 'm' && q[2] == 'l' && q[3] == 'n' && q[4] == 's') {
      isNamespace = true;
      break;
    }
  }
  if (isNamespace) {
    TokenKind = TtkTokenKind::NamespaceName;
    Range = TRangeState::AfterNamespaceName;
  } else {
    TokenKind = TtkTokenKind::AttributeName;
    Range = TRangeState::AfterAttributeName;
  }
}

void TqorXMLRTF::AssignProc(bool isNamespace) {
  TokenKind = isNamespace ? TtkTokenKind::NamespaceAssign : TtkTokenKind::Assign;
  const char* p = Line + Run;
  for (;; ++p) {
    const char c = *p;
    if (IsLineEnd(c)) break;
    if (c == '"') {
      ++p;
      Range = isNamespace ? TRangeState::InNamespaceValueDouble : TRangeState::InValueDouble;
      break;
    }
    if (c == '\'') {
      ++p;
      Range = isNamespace ? TRangeState::InNamespaceValueSingle : TRangeState::InValueSingle;
      break;
    }
    if (c == '/') {
      // An empty-element close: everything scanned so far goes with the "/".
      ++p;
      TokenKind = TtkTokenKind::Symbol;
      Range = TRangeState::InElementName;
      break;
    }
  }
  Run = static_cast<std::int32_t>(p - Line);
}

void TqorXMLRTF::ValueProc(char quote, TtkTokenKind kind, TRangeState entityRange) {
  TokenKind = kind;
  const char* p = Line + Run;
  for (;; ++p) {
    const char c = *p;
    if (IsLineEnd(c)) break;
    if (c == '&') {
      Range = entityRange;
      break;
    }
    if (c == quote) {
      Range = TRangeState::InAttributeName;
      break;
    }
  }
  Run = static_cast<std::int32_t>(p - Line);
}

void TqorXMLRTF::EntityProc(TtkTokenKind kind, TRangeState returnRange) {
  TokenKind = kind;
  const Byte* p = reinterpret_cast<const Byte*>(Line) + Run;
  while (*p > 32 && *p != ';') ++p;
  if (*p == ';') ++p;
  Run = static_cast<std::int32_t>(reinterpret_cast<const char*>(p) - Line);
  Range = returnRange;
}

void TqorXMLRTF::TextProc() {
  const Byte* p = reinterpret_cast<const Byte*>(Line) + Run;
  if (*p < 32 || *p == '<') {
    ProcTable[*p](*this);
    return;
  }
  TokenKind = TtkTokenKind::Text;
  while (!kTextStops[*p]) ++p;
  if (*p == '&') Range = TRangeState::InTextEntity;
  Run = static_cast<std::int32_t>(reinterpret_cast<const char*>(p) - Line);
}

void TqorXMLRTF::CommentProc() {
  const char* p = Line + Run;
  if (BeginsCommentClose(p)) {
    Run += 3;
    TokenKind = TtkTokenKind::Symbol;
    Range = TRangeState::InText;
    return;
  }
  if (LineEndInRange()) return;
  TokenKind = TtkTokenKind::Comment;
  ++p;
  while (!IsLineEnd(*p) && !BeginsCommentClose(p)) ++p;
  Run = static_cast<std::int32_t>(p - Line);
}

bool TqorXMLRTF::ScanToClosingBracket(char before) {
  const char* p = Line + Run;
  bool closed = false;
  for (;; ++p) {
    const char c = *p;
    if (IsLineEnd(c)) break;
    // The byte before the ">" may belong to the previous token ("<?>"); at the
    // very start of the text there is none to look at.
    if (c == '>' && p != Line && p[-1] == before) {
      ++p;
      closed = true;
      break;
    }
  }
  Run = static_cast<std::int32_t>(p - Line);
  return closed;
}

void TqorXMLRTF::ProcessingInstructionProc() {
  if (LineEndInRange()) return;
  TokenKind = TtkTokenKind::ProcessingInstruction;
  if (ScanToClosingBracket('?')) Range = TRangeState::InText;
}

void TqorXMLRTF::CDataProc() {
  if (LineEndInRange()) return;
  TokenKind = TtkTokenKind::CData;
  if (ScanToClosingBracket(']')) Range = TRangeState::InText;
}

void TqorXMLRTF::DocTypeProc() {
  if (LineEndInRange()) return;
  TokenKind = TtkTokenKind::DocType;
  if (ScanToClosingBracket(']')) Range = TRangeState::InAttributeName;
}
