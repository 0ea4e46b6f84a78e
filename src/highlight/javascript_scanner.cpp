#include "javascript_scanner.h"

namespace {

using TTokenKind = TqorJScriptRTF::TTokenKind;
using TRangeState = TqorJScriptRTF::TRangeState;

constexpr std::array<std::int32_t, 256> HashTable = MakeLetterHashTable();
constexpr std::array<bool, 256> IdentifierTable = MakeWordCharTable();

using byte_class::IsDigit;
using byte_class::IsHexDigit;
using byte_class::kBlankTable;

// The scanner's hash rule: the sum of the hash values of the identifier bytes.
TWordHash IdentHash(const char* p) {
  return HashWord(p, HashTable.data(), [](unsigned char b) { return IdentifierTable[b]; });
}

using byte_class::IsLineEnd;

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
        return ListedWordHash(w, HashTable.data(),
                              [](unsigned char b) { return IdentifierTable[b]; }, MaxKey);
      });
  // clang-format on
  return buckets;
}

const TqorJScriptRTF::TProcTable& TqorJScriptRTF::SharedProcTable() {
  static const TProcTable table = [] {
    TProcTable t;
    t.fill(Call<&TqorJScriptRTF::SymbolProc>);
    for (std::size_t c = 0; c < 256; ++c) {
      if (kBlankTable[c]) t[c] = Call<&TqorJScriptRTF::SpaceProc>;
      if (c >= 127) t[c] = Call<&TqorJScriptRTF::StrayProc>;
      if (IdentifierTable[c]) t[c] = Call<&TqorJScriptRTF::IdentProc>;
      if (c >= '0' && c <= '9') t[c] = Call<&TqorJScriptRTF::NumberProc>;
    }
    t[0] = Call<&TqorJScriptRTF::NullProc>;
    t['\n'] = Call<&TqorJScriptRTF::LFProc>;
    t['\r'] = Call<&TqorJScriptRTF::CRProc>;
    t['"'] = Call<&TqorJScriptRTF::StringProc>;
    t['\''] = Call<&TqorJScriptRTF::StringProc>;
    t['#'] = Call<&TqorJScriptRTF::HashProc>;
    t['$'] = Call<&TqorJScriptRTF::DollarProc>;
    t['%'] = Call<&TqorJScriptRTF::PercentProc>;
    t['&'] = Call<&TqorJScriptRTF::AndProc>;
    t['*'] = Call<&TqorJScriptRTF::StarProc>;
    t['+'] = Call<&TqorJScriptRTF::PlusProc>;
    t['-'] = Call<&TqorJScriptRTF::MinusProc>;
    t['.'] = Call<&TqorJScriptRTF::PointProc>;
    t['/'] = Call<&TqorJScriptRTF::SlashProc>;
    t['|'] = Call<&TqorJScriptRTF::OrProc>;
    for (unsigned char c : {'?', '@', '\\', '^', '`'}) t[c] = Call<&TqorJScriptRTF::StrayProc>;
    return t;
  }();
  return table;
}

void TqorJScriptRTF::InitIdent() { IdentFuncTable = SharedKeywords().Table(); }

void TqorJScriptRTF::MakeMethodTables() { ProcTable = SharedProcTable().data(); }

std::uint64_t TqorJScriptRTF::KeyHash(const char* p) {
  const TWordHash h = IdentHash(p);
  StringLen = h.Length;
  return h.Hash;
}

TTokenKind TqorJScriptRTF::IdentKind(const char* p) {
  ToIdent = p;
  const std::uint64_t hash = KeyHash(p);
  return FindKeyword(hash, MaxKey, HashTable.data()) ? TTokenKind::Key : TTokenKind::Identifier;
}

void TqorJScriptRTF::Next() {
  TokenPos = Run;
  if (Range == TRangeState::Comment) {
    CommentProc();
  } else {
    ProcTable[static_cast<unsigned char>(Line[Run])](*this);
  }
}

int TqorJScriptRTF::GetTokenKind() { return kColorIndex[static_cast<int>(TokenKind)]; }

const char* TqorJScriptRTF::GetTokenKindName() { return kKindName[static_cast<int>(TokenKind)]; }

// Scans to just after "*/" (leaving the comment) or up to the line end, where
// the comment stays open for the next line.
void TqorJScriptRTF::ScanBlockCommentBody() {
  if (ScanPastCommentClose()) Range = TRangeState::Normal;
}

void TqorJScriptRTF::StringProc() {
  const char quote = Line[Run];
  // Two more quotes right behind the opening one are stepped over; the third
  // quote then opens the string.
  if (Line[Run + 1] == quote && Line[Run + 2] == quote) Run += 2;
  ++Run;
  while (Line[Run] != quote && !IsLineEnd(Line[Run])) ++Run;
  if (Line[Run] == quote) ++Run;
  TokenKind = TTokenKind::String;
}

void TqorJScriptRTF::HashProc() {
  ++Run;
  while (IsDigit(Line[Run])) ++Run;
  TokenKind = TTokenKind::String;
}

void TqorJScriptRTF::DollarProc() {
  ++Run;
  while (IsHexDigit(Line[Run])) ++Run;
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

void TqorJScriptRTF::NumberProc() {
  ++Run;
  for (;;) {
    const char c = Line[Run];
    if (IsDigit(c) || c == 'e' || c == 'E') {
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
  if (LineEndInRange()) return;
  TokenKind = TTokenKind::Comment;
  ScanBlockCommentBody();
}
