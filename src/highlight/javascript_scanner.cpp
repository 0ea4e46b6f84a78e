#include "javascript_scanner.h"

namespace {

using TTokenKind = TqorJScriptRTF::TTokenKind;
using TRangeState = TqorJScriptRTF::TRangeState;

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

constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool IsHexDigit(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Colour index per kind; the stray bytes and the end of text share the last one.
constexpr int kColorIndex[] = {1, 2, 3, 4, 5, 6, 7, 8, 8};
constexpr const char* kKindName[] = {"Comment", "Identifier", "Key",   "Number",   "Space",
                                     "String",  "Symbol",     "Stray", "EndOfText"};

}  // namespace

TqorJScriptRTF::TqorJScriptRTF() {
  InitIdent();
  MakeMethodTables();
  Range = TRangeState::Normal;
  const TColor black = RGBColor(0, 0, 0);
  SetColors({RGBColor(0, 128, 0), black, RGBColor(0, 0, 128), RGBColor(0, 0, 255), black, black,
             black, black});
}

const TKeywordBuckets& TqorJScriptRTF::SharedKeywords() {
  // clang-format off
  static const TKeywordBuckets buckets(
      {"abs", "acos", "action", "alert", "alinkColor", "Anchor", "anchors", "appCodeName",
       "Applet", "applets", "appName", "appVersion", "Area", "arguments", "Array", "asin",
       "atan", "atan2", "back", "bgColor", "big", "blink", "blur", "bold", "Boolean",
       "border", "break", "Button", "caller", "ceil", "charAt", "Checkbox", "checked",
       "clearTimeout", "click", "close", "closed", "comment", "complete", "confirm",
       "constructor", "continue", "cookie", "cos", "current", "Date", "defaultChecked",
       "defaultSelected", "defaultStatus", "defaultValue", "description", "document",
       "domain", "E", "elements", "else", "embeds", "enabledPlugin", "encoding", "escape",
       "eval", "exp", "fgColor", "filename", "FileUpload", "fixed", "floor", "focus",
       "fontcolor", "fontsize", "for", "Form", "forms", "forward", "Frame", "frames",
       "Function", "getDate", "getDay", "getHours", "getMinutes", "getMonth", "getSeconds",
       "getTime", "getTimezoneOffset", "getYear", "go", "hash", "height", "Hidden", "history",
       "host", "hostname", "href", "hspace", "if", "Image", "images", "in", "index",
       "indexOf", "isNaN", "italics", "javaEnabled", "join", "lastIndexOf", "lastModified",
       "length", "Link", "linkColor", "links", "LN10", "LN2", "location", "log", "LOG10E",
       "LOG2E", "loop", "lowsrc", "Math", "max", "MAX_VALUE", "method", "MimeType",
       "mimeTypes", "min", "MIN_VALUE", "name", "NaN", "navigator", "NEGATIVE_INFINITY",
       "new", "next", "Number", "object", "onAbort", "onBlur", "onChange", "onClick",
       "onError", "onFocus", "onLoad", "onMouseOut", "onMouseOver", "onReset", "onSelect",
       "onSubmit", "onUnload", "open", "opener", "Option", "options", "parent", "parse",
       "parseFloat", "parseInt", "Password", "pathname", "PI", "Plugin", "plugins", "port",
       "POSITIVE_INFINITY", "pow", "previous", "prompt", "property", "protocol", "prototype",
       "Radio", "random", "referrer", "refresh", "reload", "replace", "reset", "return",
       "reverse", "round", "scroll", "search", "Select", "selected", "selectedIndex", "self",
       "setDate", "setHours", "setMinutes", "setMonth", "setSeconds", "setTime", "setTimeout",
       "setYear", "sin", "small", "sort", "split", "sqrt", "SQRT1_2", "SQRT2", "src",
       "status", "strike", "String", "sub", "submit", "substring", "suffixes", "sup", "taint",
       "taintEnabled", "tan", "target", "Text", "Textarea", "this", "title", "toGMTString",
       "toLocaleString", "toLowerCase", "top", "toString", "toUpperCase", "type", "unescape",
       "untaint", "URL", "userAgent", "UTC", "value", "valueOf", "var", "vlinkColor",
       "vspace", "while", "width", "window", "with", "write", "writeln"},
      MaxKey, [](const char* w) {
        const char* end = nullptr;
        const std::uint64_t h = WordHash(w, &end);
        return *end == '\0' && h <= static_cast<std::uint64_t>(MaxKey) ? static_cast<int>(h) : -1;
      });
  // clang-format on
  return buckets;
}

const TqorJScriptRTF::TProcTable& TqorJScriptRTF::SharedProcTable() {
  static const TProcTable table = [] {
    TProcTable t;
    t.fill(&TqorJScriptRTF::SymbolProc);
    for (std::size_t c = 0; c < 256; ++c) {
      if (BlankTable[c]) t[c] = &TqorJScriptRTF::SpaceProc;
      if (c >= 127) t[c] = &TqorJScriptRTF::StrayProc;
      if (IdentifierTable[c]) t[c] = &TqorJScriptRTF::IdentProc;
      if (c >= '0' && c <= '9') t[c] = &TqorJScriptRTF::NumberProc;
    }
    t[0] = &TqorJScriptRTF::NullProc;
    t['\n'] = &TqorJScriptRTF::LFProc;
    t['\r'] = &TqorJScriptRTF::CRProc;
    t['"'] = &TqorJScriptRTF::StringProc;
    t['\''] = &TqorJScriptRTF::StringProc;
    t['#'] = &TqorJScriptRTF::HashProc;
    t['$'] = &TqorJScriptRTF::DollarProc;
    t['%'] = &TqorJScriptRTF::PercentProc;
    t['&'] = &TqorJScriptRTF::AndProc;
    t['*'] = &TqorJScriptRTF::StarProc;
    t['+'] = &TqorJScriptRTF::PlusProc;
    t['-'] = &TqorJScriptRTF::MinusProc;
    t['.'] = &TqorJScriptRTF::PointProc;
    t['/'] = &TqorJScriptRTF::SlashProc;
    t['|'] = &TqorJScriptRTF::OrProc;
    for (unsigned char c : {'?', '@', '\\', '^', '`'}) t[c] = &TqorJScriptRTF::StrayProc;
    return t;
  }();
  return table;
}

void TqorJScriptRTF::InitIdent() { IdentFuncTable = SharedKeywords().Table(); }

void TqorJScriptRTF::MakeMethodTables() { ProcTable = SharedProcTable().data(); }

int TqorJScriptRTF::KeyHash(const char* p) {
  const char* end = nullptr;
  const std::uint64_t h = WordHash(p, &end);
  StringLen = static_cast<std::int32_t>(end - p);
  // Every sum beyond the table means the same: no keyword.
  return h > static_cast<std::uint64_t>(MaxKey) ? MaxKey + 1 : static_cast<int>(h);
}

TTokenKind TqorJScriptRTF::IdentKind(const char* p) {
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

bool TqorJScriptRTF::KeyComp(const TKeyword& keyword) const {
  return SameUnderHash(keyword, ToIdent, StringLen, HashTable.data());
}

TTokenKind TqorJScriptRTF::AltFunc() const { return TTokenKind::Identifier; }

void TqorJScriptRTF::EscapeToken(std::string& token) { EscapeRtf(token); }

void TqorJScriptRTF::SetLine(const char* text, int lineNumber) {
  Line = text != nullptr ? text : "";
  Run = 0;
  LineNumber = lineNumber;
  Next();
}

void TqorJScriptRTF::Next() {
  TokenPos = Run;
  if (Range == TRangeState::Comment) {
    CommentProc();
  } else {
    (this->*ProcTable[static_cast<unsigned char>(Line[Run])])();
  }
}

bool TqorJScriptRTF::GetEol() { return TokenKind == TTokenKind::EndOfText; }

std::string TqorJScriptRTF::GetToken() {
  return std::string(Line + TokenPos, static_cast<std::size_t>(Run - TokenPos));
}

bool TqorJScriptRTF::TokenInPlace(std::string_view& token) {
  token = std::string_view(Line + TokenPos, static_cast<std::size_t>(Run - TokenPos));
  return true;
}

void TqorJScriptRTF::AppendTokens(std::string& out, TStream* flushTo) {
  AppendTokensOf(*this, out, flushTo);
}

int TqorJScriptRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorJScriptRTF::GetTokenKindName() { return kKindName[static_cast<int>(TokenKind)]; }

// Scans to just after "*/" (leaving the comment) or up to the line end, where
// the comment stays open for the next line.
void TqorJScriptRTF::ScanBlockCommentBody() {
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

void TqorJScriptRTF::NullProc() { TokenKind = TTokenKind::EndOfText; }

void TqorJScriptRTF::SpaceProc() {
  ++Run;
  while (BlankTable[static_cast<unsigned char>(Line[Run])]) ++Run;
  TokenKind = TTokenKind::Space;
}

void TqorJScriptRTF::LFProc() {
  ++Run;
  TokenKind = TTokenKind::Space;
}

void TqorJScriptRTF::CRProc() {
  ++Run;
  if (Line[Run] == '\n') ++Run;
  TokenKind = TTokenKind::Space;
}

void TqorJScriptRTF::StringProc() {
  const char quote = Line[Run];
  // Two more quotes right behind the opening one are stepped over; the third
  // quote then opens the string.
  if (Line[Run + 1] == quote && Line[Run + 2] == quote) Run += 2;
  ++Run;
  while (Line[Run] != quote && !EndsLine(Line[Run])) ++Run;
  if (Line[Run] == quote) ++Run;
  TokenKind = TTokenKind::String;
}

void TqorJScriptRTF::HashProc() {
  ++Run;
  while (IsDigit(static_cast<unsigned char>(Line[Run]))) ++Run;
  TokenKind = TTokenKind::String;
}

void TqorJScriptRTF::DollarProc() {
  ++Run;
  while (IsHexDigit(static_cast<unsigned char>(Line[Run]))) ++Run;
  TokenKind = TTokenKind::Number;
}

void TqorJScriptRTF::PercentProc() {
  Run += Line[Run + 1] == '=' ? 2 : 1;
  TokenKind = TTokenKind::Space;
}

void TqorJScriptRTF::AndProc() {
  const char n = Line[Run + 1];
  Run += n == '&' || n == '=' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorJScriptRTF::StarProc() {
  Run += Line[Run + 1] == '=' ? 2 : 1;
  TokenKind = TTokenKind::Space;
}

void TqorJScriptRTF::PlusProc() {
  const char n = Line[Run + 1];
  Run += n == '+' || n == '=' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorJScriptRTF::MinusProc() {
  const char n = Line[Run + 1];
  Run += n == '-' || n == '=' || n == '>' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorJScriptRTF::PointProc() {
  Run += Line[Run + 1] == '.' && Line[Run + 2] == '.' ? 3 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorJScriptRTF::SlashProc() {
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

void TqorJScriptRTF::NumberProc() {
  ++Run;
  for (;;) {
    const char c = Line[Run];
    if (IsDigit(static_cast<unsigned char>(c)) || c == 'e' || c == 'E') {
      ++Run;
    } else if (c == '.' && Line[Run + 1] != '.') {
      ++Run;
    } else {
      break;
    }
  }
  TokenKind = TTokenKind::Number;
}

void TqorJScriptRTF::IdentProc() {
  TokenKind = IdentKind(Line + Run);
  Run += StringLen;
}

void TqorJScriptRTF::OrProc() {
  const char n = Line[Run + 1];
  Run += n == '|' || n == '=' ? 2 : 1;
  TokenKind = TTokenKind::Symbol;
}

void TqorJScriptRTF::StrayProc() {
  ++Run;
  TokenKind = TTokenKind::Stray;
}

void TqorJScriptRTF::SymbolProc() {
  ++Run;
  TokenKind = TTokenKind::Symbol;
}

// The next stretch of an open block comment: a line end keeps its own token and
// leaves the comment open; anything else is comment text up to "*/" or the line end.
void TqorJScriptRTF::CommentProc() {
  switch (Line[Run]) {
    case '\0':
      NullProc();
      return;
    case '\n':
      LFProc();
      return;
    case '\r':
      CRProc();
      return;
    default:
      TokenKind = TTokenKind::Comment;
      ScanBlockCommentBody();
  }
}
