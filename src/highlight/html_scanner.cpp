#include "html_scanner.h"

#include <array>
#include <string>
#include <vector>

namespace {

using Byte = unsigned char;
using Kind = TqorHTMLRTF::TtkTokenKind;

// Byte classes, one 256-entry table of flags built at compile time.
enum : std::uint8_t {
  kBlank = 1 << 0,        // 1..9, 11, 12, 14..32
  kTextStop = 1 << 1,     // ends a text run: below 32, "<", "&" (an entity may start)
  kWordByte = 1 << 2,     // continues an attribute name: above 32, not '"', "=" or ">"
  kValueByte = 1 << 3,    // continues an unquoted value: above 32, not ">"
  kLineStop = 1 << 4,     // ends a string, script or comment line: NUL, LF, CR
  kTagNameByte = 1 << 5,  // "!", "/" or an ASCII letter
};

struct ByteClasses {
  std::uint8_t Flags[256];
  bool Has(Byte c, std::uint8_t flag) const { return (Flags[c] & flag) != 0; }
};

using byte_class::IsDigit;
using byte_class::IsLetter;

constexpr ByteClasses MakeByteClasses() {
  ByteClasses t{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t f = 0;
    if (c != 0 && c <= 32 && c != '\n' && c != '\r') f |= kBlank;
    if (c < 32 || c == '<' || c == '&') f |= kTextStop;
    if (c > 32 && c != '"' && c != '=' && c != '>') f |= kWordByte;
    if (c > 32 && c != '>') f |= kValueByte;
    if (c == 0 || c == '\n' || c == '\r') f |= kLineStop;
    if (c == '!' || c == '/' || IsLetter(static_cast<Byte>(c))) f |= kTagNameByte;
    t.Flags[c] = f;
  }
  return t;
}

constexpr ByteClasses kClasses = MakeByteClasses();

// Both cases of a letter share a value, so tag names match in any case; "!" and
// "/" weigh enough to set "/B" and "!DOCTYPE" apart from plain names.
constexpr std::array<std::int32_t, 256> MakeHashTable() {
  std::array<std::int32_t, 256> table{};
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = c - 'A' + 1;
  for (int c = 'a'; c <= 'z'; ++c) table[c] = c - 'a' + 1;
  table[static_cast<Byte>('!')] = 123;
  table[static_cast<Byte>('/')] = 122;
  return table;
}

constexpr std::array<std::int32_t, 256> HashTable = MakeHashTable();

// A tag name's hash: the sum of its leading tag-name bytes, then of the values
// of the digits right behind them ("H1"), 64 bits wide so no name overflows it.
TWordHash TagNameHash(const char* name) {
  const TWordHash letters =
      HashWord(name, HashTable.data(), [](Byte b) { return kClasses.Has(b, kTagNameByte); });
  static constexpr std::array<std::int32_t, 256> kDigitValue = [] {
    std::array<std::int32_t, 256> t{};
    for (int c = '0'; c <= '9'; ++c) t[c] = c - '0';
    return t;
  }();
  const TWordHash digits =
      HashWord(name + letters.Length, kDigitValue.data(), [](Byte b) { return IsDigit(b); });
  return TWordHash{letters.Hash + digits.Hash, letters.Length + digits.Length};
}

constexpr Byte FoldCase(Byte c) { return (c >= 'A' && c <= 'Z') ? static_cast<Byte>(c + 32) : c; }

// Compared in this order; "&divide" has no semicolon.
const char* const kEntities[] = {
    "&amp;",    "&lt;",     "&gt;",     "&quot;",   "&trade;",  "&nbsp;",   "&copy;",   "&reg;",
    "&Agrave;", "&Aacute;", "&Acirc;",  "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;",
    "&Egrave;", "&Eacute;", "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",
    "&ETH;",    "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&Oslash;",
    "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",  "&szlig;",  "&agrave;",
    "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",  "&aelig;",  "&ccedil;", "&egrave;",
    "&eacute;", "&ecirc;",  "&euml;",   "&igrave;", "&iacute;", "&icirc;",  "&iuml;",   "&eth;",
    "&ntilde;", "&ograve;", "&oacute;", "&ocirc;",  "&otilde;", "&ouml;",   "&oslash;", "&ugrave;",
    "&uacute;", "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;",   "&iexcl;",  "&cent;",
    "&pound;",  "&curren;", "&yen;",    "&brvbar;", "&sect;",   "&uml;",    "&ordf;",   "&laquo;",
    "&shy;",    "&macr;",   "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",  "&micro;",
    "&middot;", "&cedil;",  "&sup1;",   "&ordm;",   "&raquo;",  "&frac14;", "&frac12;", "&frac34;",
    "&iquest;", "&times;",  "&divide",  "&euro;",   "&#9;",     "&#127;",   "&#128;",   "&#129;",
    "&#130;",   "&#131;",   "&#132;",   "&ldots;",  "&#134;",   "&#135;",   "&#136;",   "&#137;",
    "&#138;",   "&#139;",   "&#140;",   "&#141;",   "&#142;",   "&#143;",   "&#144;",   "&#152;",
    "&#153;",   "&#154;",   "&#155;",   "&#156;",   "&#157;",   "&#158;",   "&#159;",   "&#161;",
    "&#162;",   "&#163;",   "&#164;",   "&#165;",   "&#166;",   "&#167;",   "&#168;",   "&#170;",
    "&#175;",   "&#176;",   "&#177;",   "&#178;",   "&#180;",   "&#181;",   "&#183;",   "&#184;",
    "&#185;",   "&#186;",   "&#188;",   "&#189;",   "&#190;",   "&#191;",   "&#215;"};
constexpr int kEntityCount = sizeof kEntities / sizeof kEntities[0];

const char* const kTagNames[] = {
    "A",         "B",          "DD",        "I",        "H1",        "H2",        "H3",
    "H4",        "H5",         "H6",        "DL",       "P",         "KBD",       "Q",
    "BIG",       "EM",         "HEAD",      "S",        "BR",        "DEL",       "LI",
    "U",         "ABBR",       "DFN",       "DT",       "TD",        "AREA",      "HR",
    "BASE",      "CODE",       "OL",        "TH",       "EMBED",     "IMG",       "COL",
    "MAP",       "DIR",        "LABEL",     "UL",       "DIV",       "CITE",      "THEAD",
    "TR",        "META",       "PRE",       "TABLE",    "TT",        "var",       "INS",
    "SUB",       "FRAME",      "WBR",       "BODY",     "LINK",      "LEGend",    "BLINK",
    "NOBR",      "PARAM",      "SAMP",      "SPAN",     "FORM",      "IFRAME",    "HTML",
    "MENU",      "XMP",        "FONT",      "object",   "SUP",       "SMALL",     "NOEMBED",
    "LAYER",     "SPACER",     "SELECT",    "CENTER",   "TBODY",     "TITLE",     "KEYGEN",
    "ADDRESS",   "APPLET",     "ILAYER",    "NEXTID",   "TFOOT",     "CAPTION",   "FIELDSET",
    "INPUT",     "MARQUEE",    "STYLE",     "BASEFONT", "BGSOUND",   "STRIKE",    "COMMENT",
    "ISINDEX",   "SCRIPT",     "SERVER",    "FRAMESET", "ACRONYM",   "OPTION",    "LISTING",
    "NOLAYER",   "NOFRAMES",   "BUTTON",    "STRONG",   "TEXTAREA",  "MULTICOL",  "COLGROUP",
    "NOSCRIPT",  "BLOCKQUOTE", "PLAINTEXT", "/A",       "/B",        "/DD",       "/I",
    "/H1",       "/H2",        "/H3",       "/H4",      "/H5",       "/H6",       "/DL",
    "/P",        "/KBD",       "/Q",        "/BIG",     "/EM",       "/HEAD",     "/S",
    "/DEL",      "/LI",        "/U",        "/ABBR",    "/DFN",      "/DT",       "/TD",
    "/CODE",     "/OL",        "/TH",       "/EMBED",   "/MAP",      "/DIR",      "/LABEL",
    "/UL",       "/DIV",       "/CITE",     "/THEAD",   "/TR",       "/PRE",      "/TABLE",
    "/TT",       "/var",       "/INS",      "/SUB",     "/BODY",     "/LEGend",   "/BLINK",
    "/NOBR",     "/SAMP",      "/SPAN",     "/FORM",    "/IFRAME",   "/HTML",     "/MENU",
    "/XMP",      "/FONT",      "/object",   "/SUP",     "/SMALL",    "/NOEMBED",  "/LAYER",
    "/SELECT",   "/CENTER",    "/TBODY",    "/TITLE",   "/ADDRESS",  "/APPLET",   "/ILAYER",
    "/TFOOT",    "/CAPTION",   "/FIELDSET", "/MARQUEE", "/STYLE",    "/STRIKE",   "/COMMENT",
    "/SCRIPT",   "/FRAMESET",  "/SERVER",   "/ACRONYM", "/OPTION",   "!DOCTYPE",  "/LISTING",
    "/NOLAYER",  "/NOFRAMES",  "/BUTTON",   "/STRONG",  "/TEXTAREA", "/MULTICOL", "/COLGROUP",
    "/NOSCRIPT", "/BLOCKQUOTE"};

const TKeywordBuckets& Tags() {
  static const TKeywordBuckets buckets(kTagNames, TqorHTMLRTF::MaxKey, [](const char* name) {
    const TWordHash h = TagNameHash(name);
    return name[h.Length] == '\0' && h.Hash <= TqorHTMLRTF::MaxKey ? static_cast<int>(h.Hash) : -1;
  });
  return buckets;
}

// The entity table folded to lower case, with the lengths, and the bytes that
// can follow an "&" in some entity, so most ampersands are dismissed at once.
struct EntityTable {
  std::string Folded[kEntityCount];
  std::int32_t Length[kEntityCount];
  bool SecondByte[256] = {};

  EntityTable() {
    for (int i = 0; i < kEntityCount; ++i) {
      for (const char* p = kEntities[i]; *p != 0; ++p)
        Folded[i] += static_cast<char>(FoldCase(static_cast<Byte>(*p)));
      Length[i] = static_cast<std::int32_t>(Folded[i].size());
      SecondByte[static_cast<Byte>(Folded[i][1])] = true;
    }
  }

  // The first entry that the text at p begins with, compared without regard to
  // case; the comparison stops at the first differing byte, so never passes NUL.
  std::int32_t Match(const Byte* p) const {
    if (!SecondByte[FoldCase(p[1])]) return TqorHTMLRTF::NoEntity;
    for (int i = 0; i < kEntityCount; ++i) {
      const std::string& e = Folded[i];
      std::int32_t k = 1;
      while (k < Length[i] && FoldCase(p[k]) == static_cast<Byte>(e[k])) ++k;
      if (k == Length[i]) return i;
    }
    return TqorHTMLRTF::NoEntity;
  }
};

const EntityTable& Entities() {
  static const EntityTable table;
  return table;
}

// Built before the first highlighter exists, so no scan ever pays for it and
// the tables are only read afterwards.
const bool kTablesBuilt = (Tags(), Entities(), true);

constexpr int kColorIndex[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11};

constexpr const char* kKindNames[] = {
    "ServerScript", "Comment", "Identifier",   "TagName", "Space",  "String",
    "Symbol",       "Text",    "UndefinedTag", "Value",   "Entity", "EndOfText",
};

static_assert(sizeof kColorIndex / sizeof kColorIndex[0] == static_cast<int>(Kind::EndOfText) + 1);
static_assert(sizeof kKindNames / sizeof kKindNames[0] == static_cast<int>(Kind::EndOfText) + 1);

}  // namespace

TqorHTMLRTF::TqorHTMLRTF() {
  InitIdent();
  MakeMethodTables();
  const TColor black = RGBColor(0, 0, 0);
  const TColor green = RGBColor(0, 128, 0);
  const TColor maroon = RGBColor(128, 0, 0);
  const TColor blue = RGBColor(0, 0, 255);
  const TColor red = RGBColor(255, 0, 0);
  SetColors({green, maroon, black, blue, black, green, blue, black, red, black, black});
}

void TqorHTMLRTF::InitIdent() { IdentFuncTable = Tags().Table(); }

// The handler table is built once per process and shared by every HTML highlighter.
void TqorHTMLRTF::MakeMethodTables() {
  static const std::array<TProc, 256> table = [] {
    std::array<TProc, 256> t{};
    for (int c = 0; c < 256; ++c) {
      TProc proc = Call<&TqorHTMLRTF::IdentProc>;
      if (c == 0) {
        proc = Call<&TqorHTMLRTF::NullProc>;
      } else if (c == '\n') {
        proc = Call<&TqorHTMLRTF::LFProc>;
      } else if (c == '\r') {
        proc = Call<&TqorHTMLRTF::CRProc>;
      } else if (c <= 32) {
        proc = Call<&TqorHTMLRTF::SpaceProc>;
      } else if (c == '"') {
        proc = Call<&TqorHTMLRTF::StringProc>;
      } else if (c == '&') {
        proc = Call<&TqorHTMLRTF::AmpersandProc>;
      } else if (c == '<') {
        proc = Call<&TqorHTMLRTF::TagOpenProc>;
      } else if (c == '=') {
        proc = Call<&TqorHTMLRTF::EqualsProc>;
      } else if (c == '>') {
        proc = Call<&TqorHTMLRTF::TagCloseProc>;
      }
      t[c] = proc;
    }
    return t;
  }();
  ProcTable = table.data();
}

std::uint64_t TqorHTMLRTF::KeyHash(std::int32_t pos) {
  const TWordHash h = TagNameHash(Line + pos);
  StringLen = h.Length;
  return h.Hash;
}

TqorHTMLRTF::TtkTokenKind TqorHTMLRTF::IdentKind(std::int32_t pos) {
  ToIdent = Line + pos;
  const std::uint64_t hash = KeyHash(pos);
  if (hash > MaxKey) return TtkTokenKind::Identifier;
  return FindKeyword(hash, MaxKey, HashTable.data()) ? TtkTokenKind::TagName
                                                     : TtkTokenKind::UndefinedTag;
}

void TqorHTMLRTF::Next() {
  TokenPos = Run;
  switch (Range) {
    case TRangeState::ServerScript:
      ServerScriptProc();
      break;
    case TRangeState::Comment:
      CommentProc();
      break;
    case TRangeState::Text:
      TextProc();
      break;
    default:
      ProcTable[static_cast<Byte>(Line[Run])](*this);
  }
}

int TqorHTMLRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorHTMLRTF::GetTokenKindName() { return kKindNames[static_cast<int>(TokenKind)]; }

// A line that reads as a script comment is shown in the comment colour, and a
// quoted attribute value in the string colour.
const TFragmentFrame& TqorHTMLRTF::FrameToken(int colorIndex, std::string_view token) {
  std::size_t i = 0;
  while (i < token.size() && static_cast<Byte>(token[i]) <= 32) ++i;
  if (i + 1 < token.size() && token[i] == '/' && token[i + 1] == '/') {
    colorIndex = 2;
  } else if (colorIndex == 10 && !token.empty() && token[0] == '"') {
    colorIndex = 6;
  }
  return PlainFrame(colorIndex);
}

void TqorHTMLRTF::StringProc() {
  if (Range == TRangeState::AfterEquals) {
    TokenKind = TtkTokenKind::Value;
    Range = TRangeState::InTag;
  } else {
    TokenKind = TtkTokenKind::String;
  }
  const Byte* p = reinterpret_cast<const Byte*>(Line) + Run + 1;
  while (*p != '"' && !kClasses.Has(*p, kLineStop)) ++p;
  if (*p == '"') ++p;
  Run = static_cast<std::int32_t>(reinterpret_cast<const char*>(p) - Line);
}

// Either the entity the text scan found in front of it, or an "&" met where a
// tag part would begin: then the token is empty, keeps the previous kind, and
// the "&" is scanned again as text.
void TqorHTMLRTF::AmpersandProc() {
  if (EntityIndex != NoEntity) {
    TokenKind = TtkTokenKind::Entity;
    Run += Entities().Length[EntityIndex];
  }
  EntityIndex = NoEntity;
  Range = TRangeState::Text;
}

void TqorHTMLRTF::TagOpenProc() {
  ++Run;
  if (Line[Run] == '!' && Line[Run + 1] == '-' && Line[Run + 2] == '-') {
    Run += 3;
    TokenKind = TtkTokenKind::Comment;
    Range = TRangeState::Comment;
  } else if (Line[Run] == '%') {
    ++Run;
    TokenKind = TtkTokenKind::ServerScript;
    Range = TRangeState::ServerScript;
  } else {
    TokenKind = TtkTokenKind::Symbol;
    Range = TRangeState::TagStart;
  }
}

void TqorHTMLRTF::EqualsProc() {
  ++Run;
  TokenKind = TtkTokenKind::Symbol;
  Range = TRangeState::AfterEquals;
}

void TqorHTMLRTF::TagCloseProc() {
  ++Run;
  TokenKind = TtkTokenKind::Symbol;
  Range = TRangeState::Text;
}

void TqorHTMLRTF::IdentProc() {
  const Byte* line = reinterpret_cast<const Byte*>(Line);
  switch (Range) {
    case TRangeState::TagStart:
      Range = TRangeState::InTag;
      TokenKind = IdentKind(Run);
      Run += StringLen;
      break;
    case TRangeState::AfterEquals:
      Range = TRangeState::InTag;
      TokenKind = TtkTokenKind::Value;
      do {
        ++Run;
      } while (kClasses.Has(line[Run], kValueByte));
      break;
    default:
      TokenKind = TtkTokenKind::Identifier;
      do {
        ++Run;
      } while (kClasses.Has(line[Run], kWordByte));
  }
}

// Script blocks and comments run to the line end or to their closing ">", which
// is recognised by the bytes in front of it, also when those belong to the
// previous token ("<%>", "<!-->"). The look-back never reaches in front of the
// text, should a range outlive its text into a new one.
void TqorHTMLRTF::ServerScriptProc() {
  const Byte* line = reinterpret_cast<const Byte*>(Line);
  if (LineEndInRange()) return;
  TokenKind = TtkTokenKind::ServerScript;
  for (;; ++Run) {
    const Byte c = line[Run];
    if (kClasses.Has(c, kLineStop)) return;
    if (c == '>' && Run >= 1 && line[Run - 1] == '%') break;
  }
  ++Run;
  Range = TRangeState::Text;
}

void TqorHTMLRTF::CommentProc() {
  const Byte* line = reinterpret_cast<const Byte*>(Line);
  if (LineEndInRange()) return;
  TokenKind = TtkTokenKind::Comment;
  for (;; ++Run) {
    const Byte c = line[Run];
    if (kClasses.Has(c, kLineStop)) return;
    if (c == '>' && Run >= 2 && line[Run - 1] == '-' && line[Run - 2] == '-') break;
  }
  ++Run;
  Range = TRangeState::Text;
}

void TqorHTMLRTF::TextProc() {
  const Byte* line = reinterpret_cast<const Byte*>(Line);
  const Byte first = line[Run];
  if (first < 32 || first == '<') {
    ProcTable[first](*this);
    return;
  }
  TokenKind = TtkTokenKind::Text;
  const EntityTable& entities = Entities();
  for (;; ++Run) {
    const Byte c = line[Run];
    if (!kClasses.Has(c, kTextStop)) continue;
    if (c != '&') return;
    const std::int32_t entity = entities.Match(line + Run);
    if (entity != NoEntity) {
      EntityIndex = entity;
      Range = TRangeState::Initial;
      return;
    }
  }
}
