#include "page_tree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

// Written by hand rather than on an HTML parsing library: the one Debian
// offers takes some forty milliseconds for a page of a mebibyte and builds
// every attribute and text node, while the caret's element is wanted within a
// few milliseconds of a change and only the elements, their places and their
// start tags' offsets matter here.

namespace pagetree {

// The tags the browser's rules name, with the name each is written with.
// clang-format off
#define VEXA_PAGE_TAGS(X) \
  X(A, "a") \
  X(Address, "address") \
  X(AnnotationXml, "annotation-xml") \
  X(Applet, "applet") \
  X(Area, "area") \
  X(Article, "article") \
  X(Aside, "aside") \
  X(B, "b") \
  X(Base, "base") \
  X(Basefont, "basefont") \
  X(Bgsound, "bgsound") \
  X(Big, "big") \
  X(Blockquote, "blockquote") \
  X(Body, "body") \
  X(Br, "br") \
  X(Button, "button") \
  X(Caption, "caption") \
  X(Center, "center") \
  X(Code, "code") \
  X(Col, "col") \
  X(Colgroup, "colgroup") \
  X(Dd, "dd") \
  X(Desc, "desc") \
  X(Details, "details") \
  X(Dialog, "dialog") \
  X(Dir, "dir") \
  X(Div, "div") \
  X(Dl, "dl") \
  X(Dt, "dt") \
  X(Em, "em") \
  X(Embed, "embed") \
  X(Fieldset, "fieldset") \
  X(Figcaption, "figcaption") \
  X(Figure, "figure") \
  X(Font, "font") \
  X(Footer, "footer") \
  X(ForeignObject, "foreignobject") \
  X(Form, "form") \
  X(Frame, "frame") \
  X(Frameset, "frameset") \
  X(H1, "h1") \
  X(H2, "h2") \
  X(H3, "h3") \
  X(H4, "h4") \
  X(H5, "h5") \
  X(H6, "h6") \
  X(Head, "head") \
  X(Header, "header") \
  X(Hgroup, "hgroup") \
  X(Hr, "hr") \
  X(Html, "html") \
  X(I, "i") \
  X(Iframe, "iframe") \
  X(Image, "image") \
  X(Img, "img") \
  X(Input, "input") \
  X(Keygen, "keygen") \
  X(Li, "li") \
  X(Link, "link") \
  X(Listing, "listing") \
  X(Main, "main") \
  X(Malignmark, "malignmark") \
  X(Marquee, "marquee") \
  X(Math, "math") \
  X(Menu, "menu") \
  X(Meta, "meta") \
  X(Mglyph, "mglyph") \
  X(Mi, "mi") \
  X(Mn, "mn") \
  X(Mo, "mo") \
  X(Ms, "ms") \
  X(Mtext, "mtext") \
  X(Nav, "nav") \
  X(Nobr, "nobr") \
  X(Noembed, "noembed") \
  X(Noframes, "noframes") \
  X(Noscript, "noscript") \
  X(Object, "object") \
  X(Ol, "ol") \
  X(Optgroup, "optgroup") \
  X(Option, "option") \
  X(P, "p") \
  X(Param, "param") \
  X(Plaintext, "plaintext") \
  X(Pre, "pre") \
  X(Rb, "rb") \
  X(Rp, "rp") \
  X(Rt, "rt") \
  X(Rtc, "rtc") \
  X(Ruby, "ruby") \
  X(S, "s") \
  X(Script, "script") \
  X(Section, "section") \
  X(Select, "select") \
  X(Small, "small") \
  X(Source, "source") \
  X(Span, "span") \
  X(Strike, "strike") \
  X(Strong, "strong") \
  X(Style, "style") \
  X(Sub, "sub") \
  X(Summary, "summary") \
  X(Sup, "sup") \
  X(Svg, "svg") \
  X(Table, "table") \
  X(Tbody, "tbody") \
  X(Td, "td") \
  X(Template, "template") \
  X(Textarea, "textarea") \
  X(Tfoot, "tfoot") \
  X(Th, "th") \
  X(Thead, "thead") \
  X(Title, "title") \
  X(Tr, "tr") \
  X(Track, "track") \
  X(Tt, "tt") \
  X(U, "u") \
  X(Ul, "ul") \
  X(Var, "var") \
  X(Wbr, "wbr") \
  X(Xmp, "xmp")
// clang-format on

namespace {

using TNs = TPageTree::TNs;

enum TTag : std::uint16_t {
  kOther = 0,
#define VEXA_TAG_ENUM(id, name) k##id,
  VEXA_PAGE_TAGS(VEXA_TAG_ENUM)
#undef VEXA_TAG_ENUM
      kTagCount
};

const std::unordered_map<std::string_view, TTag>& TagTable() {
  static const std::unordered_map<std::string_view, TTag> table = {
#define VEXA_TAG_ENTRY(id, name) {name, k##id},
      VEXA_PAGE_TAGS(VEXA_TAG_ENTRY)
#undef VEXA_TAG_ENTRY
  };
  return table;
}

TTag TagOf(std::string_view name) {
  const auto& table = TagTable();
  const auto found = table.find(name);
  return found == table.end() ? kOther : found->second;
}

// What each tag is to the rules.
enum TKind : std::uint32_t {
  kSpecial = 1u << 0,
  kFormatting = 1u << 1,
  kImpliedEnd = 1u << 2,       // closed by "generate implied end tags"
  kImpliedThorough = 1u << 3,  // ... and by its thorough form
  kScopeBoundary = 1u << 4,    // an HTML element that ends every scope
  kClosesP = 1u << 5,          // a start tag that first closes an open paragraph
  kBlockEnd = 1u << 6,         // an end tag that closes through implied ends
  kHeading = 1u << 7,
  kBreaksForeign = 1u << 8,  // a start tag that leaves SVG or MathML
  kHeadElement = 1u << 9,    // handled by the head's rules wherever it stands
  kTableSection = 1u << 10,  // tbody, thead, tfoot
};

const std::array<std::uint32_t, kTagCount>& Kinds() {
  static const std::array<std::uint32_t, kTagCount> kinds = [] {
    std::array<std::uint32_t, kTagCount> k{};
    auto mark = [&k](std::uint32_t kind, std::initializer_list<TTag> tags) {
      for (TTag t : tags) k[t] |= kind;
    };
    mark(kSpecial,
         {kAddress,    kApplet,  kArea,   kArticle, kAside,     kBase,     kBasefont, kBgsound,
          kBlockquote, kBody,    kBr,     kButton,  kCaption,   kCenter,   kCol,      kColgroup,
          kDd,         kDetails, kDir,    kDiv,     kDl,        kDt,       kEmbed,    kFieldset,
          kFigcaption, kFigure,  kFooter, kForm,    kFrame,     kFrameset, kH1,       kH2,
          kH3,         kH4,      kH5,     kH6,      kHead,      kHeader,   kHgroup,   kHr,
          kHtml,       kIframe,  kImg,    kInput,   kKeygen,    kLi,       kLink,     kListing,
          kMain,       kMarquee, kMenu,   kMeta,    kNav,       kNoembed,  kNoframes, kNoscript,
          kObject,     kOl,      kP,      kParam,   kPlaintext, kPre,      kScript,   kSection,
          kSelect,     kSource,  kStyle,  kSummary, kTable,     kTbody,    kTd,       kTemplate,
          kTextarea,   kTfoot,   kTh,     kThead,   kTitle,     kTr,       kTrack,    kUl,
          kWbr,        kXmp});
    mark(kFormatting,
         {kA, kB, kBig, kCode, kEm, kFont, kI, kNobr, kS, kSmall, kStrike, kStrong, kTt, kU});
    mark(kImpliedEnd, {kDd, kDt, kLi, kOptgroup, kOption, kP, kRb, kRp, kRt, kRtc});
    mark(kImpliedThorough, {kDd, kDt, kLi, kOptgroup, kOption, kP, kRb, kRp, kRt, kRtc, kCaption,
                            kColgroup, kTbody, kTd, kTfoot, kTh, kThead, kTr});
    mark(kScopeBoundary,
         {kApplet, kCaption, kHtml, kTable, kTd, kTh, kMarquee, kObject, kTemplate});
    mark(kClosesP,
         {kAddress, kArticle, kAside,    kBlockquote, kCenter, kDetails, kDialog,  kDir,
          kDiv,     kDl,      kFieldset, kFigcaption, kFigure, kFooter,  kHeader,  kHgroup,
          kMain,    kMenu,    kNav,      kOl,         kP,      kSection, kSummary, kUl});
    mark(kBlockEnd, {kAddress, kArticle, kAside,   kBlockquote, kButton,   kCenter,     kDetails,
                     kDialog,  kDir,     kDiv,     kDl,         kFieldset, kFigcaption, kFigure,
                     kFooter,  kHeader,  kHgroup,  kListing,    kMain,     kMenu,       kNav,
                     kOl,      kPre,     kSection, kSummary,    kUl});
    mark(kHeading, {kH1, kH2, kH3, kH4, kH5, kH6});
    mark(kBreaksForeign,
         {kB,     kBig,   kBlockquote, kBody,   kBr,   kCenter, kCode,  kDd, kDiv,  kDl,   kDt,
          kEm,    kEmbed, kH1,         kH2,     kH3,   kH4,     kH5,    kH6, kHead, kHr,   kI,
          kImg,   kLi,    kListing,    kMenu,   kMeta, kNobr,   kOl,    kP,  kPre,  kRuby, kS,
          kSmall, kSpan,  kStrong,     kStrike, kSub,  kSup,    kTable, kTt, kU,    kUl,   kVar});
    mark(kHeadElement,
         {kBase, kBasefont, kBgsound, kLink, kMeta, kNoframes, kScript, kStyle, kTemplate, kTitle});
    mark(kTableSection, {kTbody, kThead, kTfoot});
    return k;
  }();
  return kinds;
}

bool Is(std::uint16_t tag, std::uint32_t kind) { return (Kinds()[tag] & kind) != 0; }

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
constexpr bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

struct TAttr {
  std::string Name;
  std::string_view Value;
};

struct TToken {
  enum TType { kStart, kEnd, kText, kComment, kDoctype, kSkip, kEof } Type = kEof;
  int Begin = 0;
  int End = 0;
  std::uint16_t Tag = kOther;
  std::string Name;
  bool SelfClosing = false;
  bool Quirks = false;  // a doctype that puts the page in quirks mode
  std::vector<TAttr> Attrs;

  std::string_view Attr(std::string_view name) const {
    for (const TAttr& a : Attrs) {
      if (a.Name == name) return a.Value;
    }
    return {};
  }
  bool HasAttr(std::string_view name) const {
    return std::any_of(Attrs.begin(), Attrs.end(),
                       [name](const TAttr& a) { return a.Name == name; });
  }
};

// The doctypes that keep the old layout rules (quirks mode): the one rule that
// matters here is that a table then opens inside an open paragraph.
bool DoctypeQuirks(std::string_view doctype) {
  // doctype: the text between "<!DOCTYPE" and ">".
  std::size_t i = 0;
  auto skipSpace = [&] {
    while (i < doctype.size() && IsSpace(doctype[i])) ++i;
  };
  skipSpace();
  std::string name;
  while (i < doctype.size() && !IsSpace(doctype[i])) name += Lower(doctype[i++]);
  if (name != "html") return true;
  skipSpace();
  const std::string_view rest = doctype.substr(i);
  auto quoted = [&](std::size_t& at, bool& found) {
    while (at < doctype.size() && IsSpace(doctype[at])) ++at;
    found = false;
    if (at >= doctype.size() || (doctype[at] != '"' && doctype[at] != '\'')) return std::string();
    const char quote = doctype[at++];
    const std::size_t end = doctype.find(quote, at);
    if (end == std::string_view::npos) return std::string();  // cut short by ">": quirks
    found = true;
    std::string value;
    for (std::size_t k = at; k < end; ++k) value += Lower(doctype[k]);
    at = end + 1;
    return value;
  };
  if (rest.empty()) return false;
  if (StartsNoCase(rest, "system")) {
    std::size_t at = i + 6;
    bool found = false;
    const std::string system = quoted(at, found);
    return !found || system == "http://www.ibm.com/data/dtd/v11/ibmxhtml1-transitional.dtd";
  }
  if (!StartsNoCase(rest, "public")) return true;
  std::size_t at = i + 6;
  bool found = false;
  const std::string pub = quoted(at, found);
  if (!found) return true;
  bool hasSystem = false;
  const std::string system = quoted(at, hasSystem);
  if (system == "http://www.ibm.com/data/dtd/v11/ibmxhtml1-transitional.dtd") return true;
  if (pub == "-//w3o//dtd w3 html strict 3.0//en//" ||
      pub == "-/w3c/dtd html 4.0 transitional/en" || pub == "html") {
    return true;
  }
  static const char* const kPrefixes[] = {
      "+//silmaril//dtd html pro v0r11 19970101//",
      "-//as//dtd html 3.0 aswedit + extensions//",
      "-//advasoft ltd//dtd html 3.0 aswedit + extensions//",
      "-//ietf//dtd html 2.0 level 1//",
      "-//ietf//dtd html 2.0 level 2//",
      "-//ietf//dtd html 2.0 strict level 1//",
      "-//ietf//dtd html 2.0 strict level 2//",
      "-//ietf//dtd html 2.0 strict//",
      "-//ietf//dtd html 2.0//",
      "-//ietf//dtd html 2.1e//",
      "-//ietf//dtd html 3.0//",
      "-//ietf//dtd html 3.2 final//",
      "-//ietf//dtd html 3.2//",
      "-//ietf//dtd html 3//",
      "-//ietf//dtd html level 0//",
      "-//ietf//dtd html level 1//",
      "-//ietf//dtd html level 2//",
      "-//ietf//dtd html level 3//",
      "-//ietf//dtd html strict level 0//",
      "-//ietf//dtd html strict level 1//",
      "-//ietf//dtd html strict level 2//",
      "-//ietf//dtd html strict level 3//",
      "-//ietf//dtd html strict//",
      "-//ietf//dtd html//",
      "-//metrius//dtd metrius presentational//",
      "-//microsoft//dtd internet explorer 2.0 html strict//",
      "-//microsoft//dtd internet explorer 2.0 html//",
      "-//microsoft//dtd internet explorer 2.0 tables//",
      "-//microsoft//dtd internet explorer 3.0 html strict//",
      "-//microsoft//dtd internet explorer 3.0 html//",
      "-//microsoft//dtd internet explorer 3.0 tables//",
      "-//netscape comm. corp.//dtd html//",
      "-//netscape comm. corp.//dtd strict html//",
      "-//o'reilly and associates//dtd html 2.0//",
      "-//o'reilly and associates//dtd html extended 1.0//",
      "-//o'reilly and associates//dtd html extended relaxed 1.0//",
      "-//sq//dtd html 2.0 hotmetal + extensions//",
      "-//softquad software//dtd hotmetal pro 6.0::19990601::extensions to html 4.0//",
      "-//softquad//dtd hotmetal pro 4.0::19971010::extensions to html 4.0//",
      "-//spyglass//dtd html 2.0 extended//",
      "-//sun microsystems corp.//dtd hotjava html//",
      "-//sun microsystems corp.//dtd hotjava strict html//",
      "-//w3c//dtd html 3 1995-03-24//",
      "-//w3c//dtd html 3.2 draft//",
      "-//w3c//dtd html 3.2 final//",
      "-//w3c//dtd html 3.2//",
      "-//w3c//dtd html 3.2s draft//",
      "-//w3c//dtd html 4.0 frameset//",
      "-//w3c//dtd html 4.0 transitional//",
      "-//w3c//dtd html experimental 19960712//",
      "-//w3c//dtd html experimental 970421//",
      "-//w3c//dtd w3 html//",
      "-//w3o//dtd w3 html 3.0//",
      "-//webtechs//dtd mozilla html 2.0//",
      "-//webtechs//dtd mozilla html//",
  };
  for (const char* prefix : kPrefixes) {
    if (pub.compare(0, std::strlen(prefix), prefix) == 0) return true;
  }
  if (!hasSystem && (pub.rfind("-//w3c//dtd html 4.01 frameset//", 0) == 0 ||
                     pub.rfind("-//w3c//dtd html 4.01 transitional//", 0) == 0)) {
    return true;
  }
  return false;
}

}  // namespace

// Reads the page token by token and builds the tree by the browser's
// insertion modes; a friend of the tree it fills.
class TBuilder {
 public:
  TBuilder(TPageTree& tree, std::string_view text) : Tree_(tree), Text_(text) {}

  void Run() {
    Tree_.Names_.emplace_back();  // name 0: none
    TToken token;
    do {
      Next(token);
      Process(token);
    } while (token.Type != TToken::kEof);
  }

 private:
  enum class TMode {
    Initial,
    BeforeHtml,
    BeforeHead,
    InHead,
    AfterHead,
    InBody,
    Text,
    InTable,
    InCaption,
    InColumnGroup,
    InTableBody,
    InRow,
    InCell,
    InSelect,
    InSelectInTable,
    InTemplate,
    AfterBody,
    InFrameset,
    AfterFrameset,
    AfterAfterBody,
    AfterAfterFrameset,
  };
  enum class TLex { Data, Rcdata, Rawtext, Script, Plaintext };

  // An entry of the list of active formatting elements; -1 is a marker.
  struct TFormatting {
    int Element = -1;
    std::string Key;  // the tag's name and attributes, to tell equal tags
  };

  using TElement = TPageTree::TElement;

  // ---- The tokenizer ----

  int Size() const { return static_cast<int>(Text_.size()); }
  char At(int i) const { return i < Size() ? Text_[static_cast<std::size_t>(i)] : '\0'; }

  void Next(TToken& t) {
    t.Type = TToken::kEof;
    t.Begin = Pos_;
    t.End = Pos_;
    t.SelfClosing = false;
    t.Attrs.clear();
    if (Pos_ >= Size()) return;
    switch (Lex_) {
      case TLex::Plaintext:
        return Text(t, Size());
      case TLex::Rcdata:
      case TLex::Rawtext: {
        int p = Pos_;
        while (p < Size() && !AppropriateEndTag(p)) {
          const void* lt =
              std::memchr(Text_.data() + p + 1, '<', static_cast<std::size_t>(Size() - p - 1));
          p = lt ? static_cast<int>(static_cast<const char*>(lt) - Text_.data()) : Size();
        }
        if (p > Pos_) return Text(t, p);
        Lex_ = TLex::Data;
        return Tag(t, Pos_ + 2, TToken::kEnd);
      }
      case TLex::Script: {
        const int p = ScriptEnd(Pos_);
        if (p > Pos_) return Text(t, p);
        Lex_ = TLex::Data;
        return Tag(t, Pos_ + 2, TToken::kEnd);
      }
      case TLex::Data:
        break;
    }
    int p = Pos_;
    while (true) {
      const void* lt = std::memchr(Text_.data() + p, '<', static_cast<std::size_t>(Size() - p));
      if (lt == nullptr) return Text(t, Size());
      const int q = static_cast<int>(static_cast<const char*>(lt) - Text_.data());
      if (!Markup(q)) {
        p = q + 1;
        continue;
      }
      if (q > Pos_) return Text(t, q);
      return ReadMarkup(t);
    }
  }

  void Text(TToken& t, int end) {
    t.Type = TToken::kText;
    t.End = end;
    Pos_ = end;
  }

  // Whether a "<" at q opens a tag, a comment or a declaration (otherwise it
  // is text).
  bool Markup(int q) const {
    const char c = At(q + 1);
    if (IsAlpha(c) || c == '!' || c == '?') return true;
    return c == '/' && q + 2 < Size();
  }

  void ReadMarkup(TToken& t) {
    const int q = Pos_;
    const char c = At(q + 1);
    if (IsAlpha(c)) return Tag(t, q + 1, TToken::kStart);
    if (c == '/') {
      if (IsAlpha(At(q + 2))) return Tag(t, q + 2, TToken::kEnd);
      if (At(q + 2) == '>') return Skip(t, q + 3);  // "</>" is dropped
      return UpTo(t, q + 2, ">", TToken::kComment);
    }
    if (c == '?') return UpTo(t, q + 1, ">", TToken::kComment);
    // "<!"
    const std::string_view rest = Text_.substr(static_cast<std::size_t>(q + 2));
    if (rest.substr(0, 2) == "--") return Comment(t, q + 4);
    if (StartsNoCase(rest, "doctype")) {
      UpTo(t, q + 9, ">", TToken::kDoctype);
      const int close = t.End > q + 9 && At(t.End - 1) == '>' ? t.End - 1 : t.End;
      t.Quirks = DoctypeQuirks(
          Text_.substr(static_cast<std::size_t>(q + 9), static_cast<std::size_t>(close - q - 9)));
      return;
    }
    if (rest.substr(0, 7) == "[CDATA[" && InForeign()) {
      UpTo(t, q + 9, "]]>", TToken::kText);
      return;
    }
    return UpTo(t, q + 2, ">", TToken::kComment);
  }

  void Skip(TToken& t, int end) {
    t.Type = TToken::kSkip;
    t.End = end;
    Pos_ = end;
  }

  // A token that runs to the end of `close` after `from` (or to the end of the text).
  void UpTo(TToken& t, int from, std::string_view close, TToken::TType type) {
    const std::size_t end = Text_.find(close, static_cast<std::size_t>(std::min(from, Size())));
    t.Type = type;
    t.End = end == std::string_view::npos ? Size() : static_cast<int>(end + close.size());
    Pos_ = t.End;
  }

  // A comment after "<!--": "<!-->" and "<!--->" end at once; otherwise the
  // first "--" (or more dashes) followed by ">" or "!>" ends it.
  void Comment(TToken& t, int from) {
    t.Type = TToken::kComment;
    if (At(from) == '>' || (At(from) == '-' && At(from + 1) == '>')) {
      t.End = At(from) == '>' ? from + 1 : from + 2;
      Pos_ = t.End;
      return;
    }
    std::size_t p = static_cast<std::size_t>(from);
    while (true) {
      p = Text_.find("--", p);
      if (p == std::string_view::npos) {
        t.End = Size();
        break;
      }
      std::size_t e = p + 2;
      while (e < Text_.size() && Text_[e] == '-') ++e;
      if (e < Text_.size() && Text_[e] == '>') {
        t.End = static_cast<int>(e + 1);
        break;
      }
      if (e + 1 < Text_.size() && Text_[e] == '!' && Text_[e + 1] == '>') {
        t.End = static_cast<int>(e + 2);
        break;
      }
      p = e;
    }
    Pos_ = t.End;
  }

  // A start or end tag whose name begins at `from`. A tag the text ends in
  // is dropped.
  void Tag(TToken& t, int from, TToken::TType type) {
    t.Type = type;
    t.Name.clear();
    int p = from;
    while (p < Size() && !IsSpace(At(p)) && At(p) != '/' && At(p) != '>') t.Name += Lower(At(p++));
    t.Tag = TagOf(t.Name);
    // The attributes, by the tokenizer's states from "before attribute name" on.
    while (true) {
      while (p < Size() && (IsSpace(At(p)) || At(p) == '/')) {
        if (At(p) == '/' && At(p + 1) == '>') {
          t.SelfClosing = true;
          ++p;
          break;
        }
        ++p;
      }
      if (p >= Size()) return Skip(t, Size());
      if (At(p) == '>') break;
      TAttr attr;
      // The first character belongs to the name even when it is "=".
      attr.Name += Lower(At(p++));
      while (p < Size() && !IsSpace(At(p)) && At(p) != '/' && At(p) != '>' && At(p) != '=') {
        attr.Name += Lower(At(p++));
      }
      while (p < Size() && IsSpace(At(p))) ++p;
      if (At(p) == '=') {
        ++p;
        while (p < Size() && IsSpace(At(p))) ++p;
        const char quote = At(p);
        if (quote == '"' || quote == '\'') {
          const std::size_t close = Text_.find(quote, static_cast<std::size_t>(p + 1));
          if (close == std::string_view::npos) return Skip(t, Size());
          attr.Value = Text_.substr(static_cast<std::size_t>(p + 1), close - p - 1);
          p = static_cast<int>(close + 1);
        } else {
          const int begin = p;
          while (p < Size() && !IsSpace(At(p)) && At(p) != '>') ++p;
          attr.Value =
              Text_.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(p - begin));
        }
      }
      if (type == TToken::kStart && !t.HasAttr(attr.Name)) t.Attrs.push_back(std::move(attr));
    }
    t.End = p + 1;
    Pos_ = t.End;
  }

  // Whether "</" + the open raw text element's name + a delimiter begins at p.
  bool AppropriateEndTag(int p) const {
    if (At(p) != '<' || At(p + 1) != '/') return false;
    const int n = static_cast<int>(RawName_.size());
    if (p + 2 + n >= Size()) return false;
    if (!EqualsNoCase(Text_.substr(static_cast<std::size_t>(p + 2), static_cast<std::size_t>(n)),
                      RawName_)) {
      return false;
    }
    const char after = At(p + 2 + n);
    return IsSpace(after) || after == '/' || after == '>';
  }

  // Whether the letters from `from` are "script" followed by a delimiter;
  // `end` is set past the letters either way.
  bool NamesScript(int from, int& end) const {
    end = from;
    while (IsAlpha(At(end))) ++end;
    const char after = At(end);
    return (IsSpace(after) || after == '/' || after == '>') &&
           EqualsNoCase(
               Text_.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(end - from)),
               "script");
  }

  // Where a script's text ends: at its end tag, unless that stands inside an
  // escaped "<!--" part where another "<script" opened.
  int ScriptEnd(int p) const {
    enum { kData, kEscaped, kEscapedDash, kEscapedDashDash, kDouble, kDoubleDash, kDoubleDashDash };
    int state = kData;
    while (p < Size()) {
      const char c = At(p);
      switch (state) {
        case kData:
          if (c == '<') {
            if (AppropriateEndTag(p)) return p;
            if (At(p + 1) == '!' && At(p + 2) == '-' && At(p + 3) == '-') {
              state = kEscapedDashDash;
              p += 4;
              continue;
            }
          }
          break;
        case kEscaped:
        case kEscapedDash:
        case kEscapedDashDash:
          if (c == '-') {
            state = state == kEscaped ? kEscapedDash : kEscapedDashDash;
          } else if (c == '>' && state == kEscapedDashDash) {
            state = kData;
          } else if (c == '<') {
            if (AppropriateEndTag(p)) return p;
            state = kEscaped;
            if (IsAlpha(At(p + 1))) {
              if (NamesScript(p + 1, p)) state = kDouble;
              continue;
            }
          } else {
            state = kEscaped;
          }
          break;
        default:  // double escaped
          if (c == '-') {
            state = state == kDouble ? kDoubleDash : kDoubleDashDash;
          } else if (c == '>' && state == kDoubleDashDash) {
            state = kData;
          } else if (c == '<') {
            state = kDouble;
            if (At(p + 1) == '/') {
              if (NamesScript(p + 2, p)) state = kEscaped;
              continue;
            }
          } else {
            state = kDouble;
          }
          break;
      }
      ++p;
    }
    return Size();
  }

  // ---- The tree ----

  TElement& E(int i) { return Tree_.Elements_[static_cast<std::size_t>(i)]; }
  const TElement& E(int i) const { return Tree_.Elements_[static_cast<std::size_t>(i)]; }
  bool IsHtml(int i, std::uint16_t tag) const {
    return i >= 0 && E(i).Ns == TNs::Html && E(i).Tag == tag;
  }
  bool IsHtmlKind(int i, std::uint32_t kind) const {
    return i >= 0 && E(i).Ns == TNs::Html && Is(E(i).Tag, kind);
  }
  int Current() const { return Stack_.empty() ? -1 : Stack_.back(); }

  std::uint32_t Intern(const std::string& name) {
    const auto found = NameIds_.find(name);
    if (found != NameIds_.end()) return found->second;
    const auto id = static_cast<std::uint32_t>(Tree_.Names_.size());
    Tree_.Names_.push_back(name);
    NameIds_.emplace(name, id);
    return id;
  }

  int NewElement(const std::string& name, std::uint16_t tag, TNs ns, int start, bool implied) {
    TElement e;
    e.Tag = tag;
    e.Name = Intern(name);
    e.Ns = ns;
    e.Start = start;
    e.Implied = implied;
    Tree_.Elements_.push_back(e);
    return static_cast<int>(Tree_.Elements_.size() - 1);
  }

  void Detach(int child) {
    TElement& c = E(child);
    if (c.Parent < 0) return;
    TElement& p = E(c.Parent);
    if (c.Prev >= 0)
      E(c.Prev).Next = c.Next;
    else
      p.FirstChild = c.Next;
    if (c.Next >= 0)
      E(c.Next).Prev = c.Prev;
    else
      p.LastChild = c.Prev;
    c.Parent = c.Prev = c.Next = -1;
  }

  // Puts the child into the parent, before `before` (at the end for -1).
  void Attach(int parent, int child, int before = -1) {
    Detach(child);
    TElement& c = E(child);
    TElement& p = E(parent);
    c.Parent = parent;
    if (before < 0) {
      c.Prev = p.LastChild;
      if (p.LastChild >= 0)
        E(p.LastChild).Next = child;
      else
        p.FirstChild = child;
      p.LastChild = child;
    } else {
      c.Next = before;
      c.Prev = E(before).Prev;
      if (c.Prev >= 0)
        E(c.Prev).Next = child;
      else
        p.FirstChild = child;
      E(before).Prev = child;
    }
  }

  struct TPlace {
    int Parent = -1;
    int Before = -1;
  };

  // Where a new node goes: at the end of the target, or, while a table
  // misplaces content, before the table.
  TPlace AppropriatePlace(int target = -1) const {
    if (target < 0) target = Current();
    if (FosterParenting_ &&
        (IsHtml(target, kTable) || IsHtmlKind(target, kTableSection) || IsHtml(target, kTr))) {
      int lastTemplate = -1, lastTable = -1;
      for (int i = static_cast<int>(Stack_.size()) - 1; i >= 0; --i) {
        const int node = Stack_[static_cast<std::size_t>(i)];
        if (lastTemplate < 0 && IsHtml(node, kTemplate)) lastTemplate = i;
        if (lastTable < 0 && IsHtml(node, kTable)) lastTable = i;
      }
      if (lastTemplate >= 0 && (lastTable < 0 || lastTemplate > lastTable)) {
        return {Stack_[static_cast<std::size_t>(lastTemplate)], -1};
      }
      if (lastTable < 0) return {Stack_.front(), -1};
      const int table = Stack_[static_cast<std::size_t>(lastTable)];
      if (E(table).Parent >= 0) return {E(table).Parent, table};
      return {Stack_[static_cast<std::size_t>(lastTable - 1)], -1};
    }
    return {target, -1};
  }

  int Insert(const std::string& name, std::uint16_t tag, TNs ns, int start, bool implied) {
    const TPlace place = AppropriatePlace();
    const int e = NewElement(name, tag, ns, start, implied);
    if (place.Parent >= 0) Attach(place.Parent, e, place.Before);
    Stack_.push_back(e);
    return e;
  }

  int InsertToken(const TToken& t, TNs ns = TNs::Html) {
    const int e = Insert(t.Name, ns == TNs::Html ? t.Tag : ForeignTag(t, ns), ns, t.Begin, false);
    Mark(t.Begin, e);
    return e;
  }

  // An element the markup implies without writing it.
  int InsertImplied(std::uint16_t tag, int at) {
    const int e = Insert(ImpliedName(tag), tag, TNs::Html, at, true);
    return e;
  }

  static std::string ImpliedName(std::uint16_t tag) {
    for (const auto& entry : TagTable()) {
      if (entry.second == tag) return std::string(entry.first);
    }
    return std::string();
  }

  static std::uint16_t ForeignTag(const TToken& t, TNs ns) {
    // Only the integration points and a few others matter among foreign tags.
    switch (t.Tag) {
      case kMi:
      case kMo:
      case kMn:
      case kMs:
      case kMtext:
      case kAnnotationXml:
      case kMglyph:
      case kMalignmark:
        return ns == TNs::Math ? t.Tag : static_cast<std::uint16_t>(kOther);
      case kForeignObject:
      case kDesc:
      case kTitle:
        return ns == TNs::Svg ? t.Tag : static_cast<std::uint16_t>(kOther);
      case kSvg:
        return ns == TNs::Svg ? t.Tag : static_cast<std::uint16_t>(kOther);
      case kMath:
        return ns == TNs::Math ? t.Tag : static_cast<std::uint16_t>(kOther);
      default:
        return kOther;
    }
  }

  void Pop() {
    if (!Stack_.empty()) Stack_.pop_back();
  }

  void PopUntil(std::uint16_t tag) {
    while (!Stack_.empty()) {
      const int node = Current();
      Stack_.pop_back();
      if (IsHtml(node, tag)) return;
    }
  }

  template <typename Pred>
  void PopUntilIf(Pred pred) {
    while (!Stack_.empty()) {
      const int node = Current();
      Stack_.pop_back();
      if (pred(node)) return;
    }
  }

  bool OnStack(int element) const {
    return std::find(Stack_.begin(), Stack_.end(), element) != Stack_.end();
  }

  bool TemplateOnStack() const {
    return std::any_of(Stack_.begin(), Stack_.end(),
                       [this](int n) { return IsHtml(n, kTemplate); });
  }

  enum class TScope { Default, ListItem, Button, Table, Select };

  bool IsBoundary(int node, TScope scope) const {
    const TElement& e = E(node);
    switch (scope) {
      case TScope::Table:
        return e.Ns == TNs::Html && (e.Tag == kHtml || e.Tag == kTable || e.Tag == kTemplate);
      case TScope::Select:
        return !(e.Ns == TNs::Html && (e.Tag == kOptgroup || e.Tag == kOption));
      default:
        break;
    }
    if (e.Ns == TNs::Html) {
      if (Is(e.Tag, kScopeBoundary)) return true;
      if (scope == TScope::ListItem && (e.Tag == kOl || e.Tag == kUl)) return true;
      if (scope == TScope::Button && e.Tag == kButton) return true;
      return false;
    }
    if (e.Ns == TNs::Math) {
      return e.Tag == kMi || e.Tag == kMo || e.Tag == kMn || e.Tag == kMs || e.Tag == kMtext ||
             e.Tag == kAnnotationXml;
    }
    return e.Tag == kForeignObject || e.Tag == kDesc || e.Tag == kTitle;
  }

  template <typename Pred>
  bool InScopeIf(Pred pred, TScope scope = TScope::Default) const {
    for (auto it = Stack_.rbegin(); it != Stack_.rend(); ++it) {
      if (pred(*it)) return true;
      if (IsBoundary(*it, scope)) return false;
    }
    return false;
  }

  bool InScope(std::uint16_t tag, TScope scope = TScope::Default) const {
    return InScopeIf([this, tag](int n) { return IsHtml(n, tag); }, scope);
  }

  bool IsSpecial(int node) const {
    const TElement& e = E(node);
    if (e.Ns == TNs::Html) return Is(e.Tag, kSpecial);
    return IsBoundary(node, TScope::Default);  // the integration points
  }

  void GenerateImpliedEndTags(std::uint16_t except = kOther) {
    while (IsHtmlKind(Current(), kImpliedEnd) && !IsHtml(Current(), except)) Pop();
  }

  void GenerateImpliedEndTagsThoroughly() {
    while (IsHtmlKind(Current(), kImpliedThorough)) Pop();
  }

  void CloseP() {
    GenerateImpliedEndTags(kP);
    PopUntil(kP);
  }

  void CloseIfPInButtonScope() {
    if (InScope(kP, TScope::Button)) CloseP();
  }

  // ---- Active formatting elements ----

  static std::string FormattingKey(const TToken& t) {
    std::vector<std::string> attrs;
    for (const TAttr& a : t.Attrs) attrs.push_back(a.Name + '=' + std::string(a.Value));
    std::sort(attrs.begin(), attrs.end());
    std::string key = t.Name;
    for (const std::string& a : attrs) key += '\0' + a;
    return key;
  }

  void PushFormatting(int element, const TToken& t) {
    std::string key = FormattingKey(t);
    // No more than three equal entries after the last marker.
    int equal = 0, earliest = -1;
    for (int i = static_cast<int>(Formatting_.size()) - 1; i >= 0; --i) {
      const TFormatting& f = Formatting_[static_cast<std::size_t>(i)];
      if (f.Element < 0) break;
      if (f.Key == key) {
        ++equal;
        earliest = i;
      }
    }
    if (equal >= 3) Formatting_.erase(Formatting_.begin() + earliest);
    Formatting_.push_back({element, std::move(key)});
  }

  void PushMarker() { Formatting_.push_back({-1, std::string()}); }

  void ClearFormattingToMarker() {
    while (!Formatting_.empty()) {
      const bool marker = Formatting_.back().Element < 0;
      Formatting_.pop_back();
      if (marker) return;
    }
  }

  int CloneOf(int element, int start) {
    const TElement& original = E(element);
    const std::string name = Tree_.Names_[original.Name];
    const int origin = original.Origin >= 0 ? original.Origin : element;
    const int clone = NewElement(name, original.Tag, original.Ns, start, true);
    E(clone).Origin = origin;
    return clone;
  }

  void ReconstructFormatting(int at) {
    if (Formatting_.empty()) return;
    int i = static_cast<int>(Formatting_.size()) - 1;
    auto open = [this](int k) {
      const int e = Formatting_[static_cast<std::size_t>(k)].Element;
      return e < 0 || OnStack(e);
    };
    if (open(i)) return;
    while (i > 0) {
      if (open(i - 1)) break;
      --i;
    }
    for (; i < static_cast<int>(Formatting_.size()); ++i) {
      TFormatting& f = Formatting_[static_cast<std::size_t>(i)];
      const TPlace place = AppropriatePlace();
      const int clone = CloneOf(f.Element, at);
      if (place.Parent >= 0) Attach(place.Parent, clone, place.Before);
      Stack_.push_back(clone);
      f.Element = clone;
    }
  }

  int FormattingIndex(int element) const {
    for (int i = static_cast<int>(Formatting_.size()) - 1; i >= 0; --i) {
      if (Formatting_[static_cast<std::size_t>(i)].Element == element) return i;
    }
    return -1;
  }

  // The repair of formatting elements closed out of order. Returns false when
  // the end tag is to be handled as any other end tag.
  bool AdoptionAgency(const TToken& t) {
    const int current = Current();
    if (IsHtml(current, t.Tag) && FormattingIndex(current) < 0) {
      Pop();
      return true;
    }
    for (int outer = 0; outer < 8; ++outer) {
      int fi = -1;
      for (int i = static_cast<int>(Formatting_.size()) - 1; i >= 0; --i) {
        const int e = Formatting_[static_cast<std::size_t>(i)].Element;
        if (e < 0) break;
        if (IsHtml(e, t.Tag)) {
          fi = i;
          break;
        }
      }
      if (fi < 0) return false;
      const int formatting = Formatting_[static_cast<std::size_t>(fi)].Element;
      const auto stackPos = std::find(Stack_.begin(), Stack_.end(), formatting);
      if (stackPos == Stack_.end()) {
        Formatting_.erase(Formatting_.begin() + fi);
        return true;
      }
      if (!InScopeIf([formatting](int n) { return n == formatting; })) return true;
      const std::size_t fpos = static_cast<std::size_t>(stackPos - Stack_.begin());
      int furthest = -1;
      std::size_t furthestPos = 0;
      for (std::size_t k = fpos + 1; k < Stack_.size(); ++k) {
        if (IsSpecial(Stack_[k])) {
          furthest = Stack_[k];
          furthestPos = k;
          break;
        }
      }
      if (furthest < 0) {
        Stack_.resize(fpos);
        Formatting_.erase(Formatting_.begin() + fi);
        return true;
      }
      const int commonAncestor = Stack_[fpos - 1];
      // Where the formatting element's clone goes in the list: in its own
      // place, or after the entry named here.
      int bookmarkAfter = -1;
      int node = furthest;
      int lastNode = furthest;
      std::size_t nodePos = furthestPos;
      for (int inner = 1;; ++inner) {
        --nodePos;
        node = Stack_[nodePos];
        if (node == formatting) break;
        int ni = FormattingIndex(node);
        if (inner > 3 && ni >= 0) {
          Formatting_.erase(Formatting_.begin() + ni);
          ni = -1;
        }
        if (ni < 0) {
          Stack_.erase(Stack_.begin() + static_cast<std::ptrdiff_t>(nodePos));
          continue;
        }
        const int clone = CloneOf(node, E(node).Start);
        Formatting_[static_cast<std::size_t>(ni)].Element = clone;
        Stack_[nodePos] = clone;
        node = clone;
        if (lastNode == furthest) bookmarkAfter = clone;
        Attach(node, lastNode);
        lastNode = node;
      }
      const TPlace place = AppropriatePlace(commonAncestor);
      if (place.Parent >= 0) Attach(place.Parent, lastNode, place.Before);
      const int clone = CloneOf(formatting, E(formatting).Start);
      while (E(furthest).FirstChild >= 0) Attach(clone, E(furthest).FirstChild);
      Attach(furthest, clone);
      const int own = FormattingIndex(formatting);
      if (bookmarkAfter < 0) {
        Formatting_[static_cast<std::size_t>(own)].Element = clone;
      } else {
        TFormatting entry = Formatting_[static_cast<std::size_t>(own)];
        entry.Element = clone;
        Formatting_.erase(Formatting_.begin() + own);
        Formatting_.insert(Formatting_.begin() + FormattingIndex(bookmarkAfter) + 1,
                           std::move(entry));
      }
      Stack_.erase(std::find(Stack_.begin(), Stack_.end(), formatting));
      Stack_.insert(std::find(Stack_.begin(), Stack_.end(), furthest) + 1, clone);
    }
    return true;
  }

  // ---- Marks: which element holds the text from an offset on ----

  void Mark(int offset, int element) {
    auto& marks = Tree_.Marks_;
    if (!marks.empty() && marks.back().first >= offset) {
      // A later decision about the same offset wins.
      while (!marks.empty() && marks.back().first > offset) marks.pop_back();
      if (!marks.empty() && marks.back().first == offset) {
        marks.back().second = element;
        return;
      }
    }
    if (!marks.empty() && marks.back().second == element) return;
    marks.emplace_back(offset, element);
  }

  // ---- The insertion modes ----

  // The adjusted current node is in SVG or MathML and the token is read by
  // the rules for foreign content.
  bool InForeign() const {
    const int c = Current();
    return c >= 0 && E(c).Ns != TNs::Html;
  }

  bool IsMathTextPoint(int n) const {
    const TElement& e = E(n);
    return e.Ns == TNs::Math &&
           (e.Tag == kMi || e.Tag == kMo || e.Tag == kMn || e.Tag == kMs || e.Tag == kMtext);
  }

  bool IsHtmlPoint(int n) const {
    const TElement& e = E(n);
    if (e.Ns == TNs::Svg) return e.Tag == kForeignObject || e.Tag == kDesc || e.Tag == kTitle;
    return e.Ns == TNs::Math && e.Tag == kAnnotationXml && HtmlAnnotations_.count(n) != 0;
  }

  bool UseForeignRules(const TToken& t) const {
    const int c = Current();
    if (c < 0 || E(c).Ns == TNs::Html || t.Type == TToken::kEof) return false;
    const bool start = t.Type == TToken::kStart;
    if (IsMathTextPoint(c)) {
      if (start && t.Tag != kMglyph && t.Tag != kMalignmark) return false;
      if (t.Type == TToken::kText) return false;
    }
    if (E(c).Ns == TNs::Math && E(c).Tag == kAnnotationXml && start && t.Tag == kSvg) return false;
    if (IsHtmlPoint(c) && (start || t.Type == TToken::kText)) return false;
    return true;
  }

  void Process(const TToken& t) {
    const int before = static_cast<int>(Tree_.Elements_.size());
    if (t.Type == TToken::kText) {
      ProcessText(t.Begin, t.End);
    } else {
      if (t.Type == TToken::kStart || t.Type == TToken::kEnd || t.Type == TToken::kComment ||
          t.Type == TToken::kSkip) {
        // A start tag belongs to the element it opens from its "<" on, so that
        // the caret put at a start tag finds that element; an end tag to the
        // element it closes from after its "<", so that the caret at the end
        // of an element's text is still inside it. A comment belongs to where
        // it stands.
        if (t.Type == TToken::kEnd) {
          Mark(t.Begin + 1, Closing(t));
        } else {
          Mark(t.Begin, Current());
        }
      }
      if (UseForeignRules(t)) {
        Foreign(t);
      } else {
        Dispatch(t);
      }
      if (t.Type == TToken::kStart && static_cast<int>(Tree_.Elements_.size()) > before) {
        // The element the start tag wrote (the last one made for it).
        int made = -1;
        for (int i = static_cast<int>(Tree_.Elements_.size()) - 1; i >= before; --i) {
          if (!E(i).Implied) {
            made = i;
            break;
          }
        }
        if (made >= 0) Mark(t.Begin, made);
      }
    }
    if (t.Type != TToken::kEof && t.Type != TToken::kText) Mark(t.End, Current());
  }

  // The element an end tag closes: the innermost open one of its name.
  int Closing(const TToken& t) const {
    for (auto it = Stack_.rbegin(); it != Stack_.rend(); ++it) {
      if (Tree_.Names_[E(*it).Name] == t.Name) return *it;
    }
    return Current();
  }

  void Dispatch(const TToken& t) {
    switch (Mode_) {
      case TMode::Initial:
        return Initial(t);
      case TMode::BeforeHtml:
        return BeforeHtml(t);
      case TMode::BeforeHead:
        return BeforeHead(t);
      case TMode::InHead:
        return InHead(t);
      case TMode::AfterHead:
        return AfterHead(t);
      case TMode::InBody:
        return InBody(t);
      case TMode::Text:
        return InText(t);
      case TMode::InTable:
        return InTable(t);
      case TMode::InCaption:
        return InCaption(t);
      case TMode::InColumnGroup:
        return InColumnGroup(t);
      case TMode::InTableBody:
        return InTableBody(t);
      case TMode::InRow:
        return InRow(t);
      case TMode::InCell:
        return InCell(t);
      case TMode::InSelect:
        return InSelect(t);
      case TMode::InSelectInTable:
        return InSelectInTable(t);
      case TMode::InTemplate:
        return InTemplate(t);
      case TMode::AfterBody:
        return AfterBody(t);
      case TMode::InFrameset:
        return InFrameset(t);
      case TMode::AfterFrameset:
        return AfterFrameset(t);
      case TMode::AfterAfterBody:
        return AfterAfterBody(t);
      case TMode::AfterAfterFrameset:
        return AfterAfterFrameset(t);
    }
  }

  void Reprocess(const TToken& t, TMode mode) {
    Mode_ = mode;
    Dispatch(t);
  }

  // Text: the parts that are only white space count for little; the others
  // imply elements and bring back formatting elements.
  void ProcessText(int begin, int end) {
    while (begin < end) {
      int split = begin;
      while (split < end && IsSpace(At(split))) ++split;
      const bool space = split > begin;
      const int to = space ? split : end;
      if (!InForeignText()) {
        TextRun(begin, to, space);
      } else {
        Mark(begin, Current());
      }
      begin = to;
    }
  }

  bool InForeignText() const {
    const int c = Current();
    if (c < 0 || E(c).Ns == TNs::Html) return false;
    return !IsMathTextPoint(c) && !IsHtmlPoint(c);
  }

  void TextRun(int begin, int end, bool space) {
    switch (Mode_) {
      case TMode::Initial:
        if (space) return;
        Quirks_ = true;
        Mode_ = TMode::BeforeHtml;
        [[fallthrough]];
      case TMode::BeforeHtml:
        if (space) return;
        Mark(begin, InsertImplied(kHtml, begin));
        Mode_ = TMode::BeforeHead;
        [[fallthrough]];
      case TMode::BeforeHead:
        if (space) return;
        Head_ = InsertImplied(kHead, begin);
        Mode_ = TMode::InHead;
        [[fallthrough]];
      case TMode::InHead:
        if (space) return Mark(begin, Current());
        Pop();
        Mode_ = TMode::AfterHead;
        [[fallthrough]];
      case TMode::AfterHead:
        if (space) return Mark(begin, Current());
        InsertImplied(kBody, begin);
        Mode_ = TMode::InBody;
        [[fallthrough]];
      case TMode::InBody:
      case TMode::InCaption:
      case TMode::InCell:
      case TMode::InTemplate:
        ReconstructFormatting(begin);
        if (!space) FramesetOk_ = false;
        return Mark(begin, AppropriatePlace().Parent);
      case TMode::Text:
      case TMode::InSelect:
      case TMode::InSelectInTable:
        return Mark(begin, Current());
      case TMode::InTable:
      case TMode::InTableBody:
      case TMode::InRow: {
        const int c = Current();
        const bool tableNode = IsHtml(c, kTable) || IsHtmlKind(c, kTableSection) ||
                               IsHtml(c, kTr) || IsHtml(c, kTemplate);
        if (!tableNode) {
          const TMode mode = Mode_;
          Mode_ = TMode::InBody;
          TextRun(begin, end, space);
          Mode_ = mode;
          return;
        }
        if (space) return Mark(begin, c);
        // Text in a table is moved out in front of it.
        FosterParenting_ = true;
        ReconstructFormatting(begin);
        FramesetOk_ = false;
        Mark(begin, AppropriatePlace().Parent);
        FosterParenting_ = false;
        return;
      }
      case TMode::InColumnGroup:
        if (space || !IsHtml(Current(), kColgroup)) return Mark(begin, Current());
        Pop();
        Mode_ = TMode::InTable;
        return TextRun(begin, end, space);
      case TMode::AfterBody:
      case TMode::AfterAfterBody:
        if (!space) Mode_ = TMode::InBody;
        {
          const TMode mode = Mode_;
          Mode_ = TMode::InBody;
          TextRun(begin, end, space);
          if (space) Mode_ = mode;
        }
        return;
      case TMode::InFrameset:
      case TMode::AfterFrameset:
      case TMode::AfterAfterFrameset:
        return Mark(begin, Current());
    }
  }

  void Initial(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kSkip) return;
    if (t.Type == TToken::kDoctype) {
      Quirks_ = t.Quirks;
      Mode_ = TMode::BeforeHtml;
      return;
    }
    Quirks_ = true;
    Reprocess(t, TMode::BeforeHtml);
  }

  void BeforeHtml(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip) return;
    if (t.Type == TToken::kStart && t.Tag == kHtml) {
      InsertToken(t);
      Mode_ = TMode::BeforeHead;
      return;
    }
    if (t.Type == TToken::kEnd && t.Tag != kHead && t.Tag != kBody && t.Tag != kHtml &&
        t.Tag != kBr) {
      return;
    }
    InsertImplied(kHtml, t.Begin);
    Reprocess(t, TMode::BeforeHead);
  }

  void BeforeHead(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip) return;
    if (t.Type == TToken::kStart && t.Tag == kHtml) return InBody(t);
    if (t.Type == TToken::kStart && t.Tag == kHead) {
      Head_ = InsertToken(t);
      Mode_ = TMode::InHead;
      return;
    }
    if (t.Type == TToken::kEnd && t.Tag != kHead && t.Tag != kBody && t.Tag != kHtml &&
        t.Tag != kBr) {
      return;
    }
    Head_ = InsertImplied(kHead, t.Begin);
    Reprocess(t, TMode::InHead);
  }

  // A raw text or RCDATA element: its text is read as text up to its end tag.
  void RawText(const TToken& t, TLex lex) {
    InsertToken(t);
    Lex_ = lex;
    RawName_ = t.Name;
    Original_ = Mode_;
    Mode_ = TMode::Text;
  }

  void InHead(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip) return;
    if (t.Type == TToken::kStart) {
      switch (t.Tag) {
        case kHtml:
          return InBody(t);
        case kBase:
        case kBasefont:
        case kBgsound:
        case kLink:
        case kMeta:
          InsertToken(t);
          Pop();
          return;
        case kTitle:
          return RawText(t, TLex::Rcdata);
        case kNoscript:
        case kNoframes:
        case kStyle:
          return RawText(t, TLex::Rawtext);
        case kScript:
          return RawText(t, TLex::Script);
        case kTemplate:
          InsertToken(t);
          PushMarker();
          FramesetOk_ = false;
          Mode_ = TMode::InTemplate;
          TemplateModes_.push_back(TMode::InTemplate);
          return;
        case kHead:
          return;
        default:
          break;
      }
    } else if (t.Type == TToken::kEnd) {
      switch (t.Tag) {
        case kHead:
          Pop();
          Mode_ = TMode::AfterHead;
          return;
        case kBody:
        case kHtml:
        case kBr:
          break;
        case kTemplate:
          if (!TemplateOnStack()) return;
          GenerateImpliedEndTagsThoroughly();
          PopUntil(kTemplate);
          ClearFormattingToMarker();
          if (!TemplateModes_.empty()) TemplateModes_.pop_back();
          ResetMode();
          return;
        default:
          return;
      }
    }
    Pop();
    Reprocess(t, TMode::AfterHead);
  }

  void AfterHead(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip) return;
    if (t.Type == TToken::kStart) {
      if (t.Tag == kHtml) return InBody(t);
      if (t.Tag == kBody) {
        InsertToken(t);
        FramesetOk_ = false;
        Mode_ = TMode::InBody;
        return;
      }
      if (t.Tag == kFrameset) {
        InsertToken(t);
        Mode_ = TMode::InFrameset;
        return;
      }
      if (Is(t.Tag, kHeadElement)) {
        // Back into the head, wherever the head's end tag stood.
        Stack_.push_back(Head_);
        InHead(t);
        const auto head = std::find(Stack_.begin(), Stack_.end(), Head_);
        if (head != Stack_.end()) Stack_.erase(head);
        return;
      }
      if (t.Tag == kHead) return;
    } else if (t.Type == TToken::kEnd) {
      if (t.Tag == kTemplate) return InHead(t);
      if (t.Tag != kBody && t.Tag != kHtml && t.Tag != kBr) return;
    }
    InsertImplied(kBody, t.Begin);
    Reprocess(t, TMode::InBody);
  }

  void InBody(const TToken& t) {
    if (t.Type == TToken::kStart) return BodyStart(t);
    if (t.Type == TToken::kEnd) return BodyEnd(t);
    if (t.Type == TToken::kEof && !TemplateModes_.empty()) return InTemplate(t);
  }

  void BodyStart(const TToken& t) {
    const std::uint16_t tag = t.Tag;
    if (tag == kHtml || tag == kBody) {
      if (tag == kBody) FramesetOk_ = false;
      return;
    }
    if (Is(tag, kHeadElement)) return InHead(t);
    if (tag == kFrameset) {
      if (Stack_.size() < 2 || !IsHtml(Stack_[1], kBody) || !FramesetOk_) return;
      Detach(Stack_[1]);
      Stack_.resize(1);
      InsertToken(t);
      Mode_ = TMode::InFrameset;
      return;
    }
    if (Is(tag, kClosesP)) {
      CloseIfPInButtonScope();
      InsertToken(t);
      return;
    }
    if (Is(tag, kHeading)) {
      CloseIfPInButtonScope();
      if (IsHtmlKind(Current(), kHeading)) Pop();
      InsertToken(t);
      return;
    }
    switch (tag) {
      case kPre:
      case kListing:
        CloseIfPInButtonScope();
        InsertToken(t);
        FramesetOk_ = false;
        return;
      case kForm:
        if (Form_ >= 0 && !TemplateOnStack()) return;
        CloseIfPInButtonScope();
        {
          const int form = InsertToken(t);
          if (!TemplateOnStack()) Form_ = form;
        }
        return;
      case kLi:
      case kDd:
      case kDt: {
        FramesetOk_ = false;
        for (auto it = Stack_.rbegin(); it != Stack_.rend(); ++it) {
          const int node = *it;
          const bool same =
              tag == kLi ? IsHtml(node, kLi) : (IsHtml(node, kDd) || IsHtml(node, kDt));
          if (same) {
            const std::uint16_t closing = E(node).Tag;
            GenerateImpliedEndTags(closing);
            PopUntil(closing);
            break;
          }
          if (IsSpecial(node) && !IsHtml(node, kAddress) && !IsHtml(node, kDiv) &&
              !IsHtml(node, kP)) {
            break;
          }
        }
        CloseIfPInButtonScope();
        InsertToken(t);
        return;
      }
      case kPlaintext:
        CloseIfPInButtonScope();
        InsertToken(t);
        Lex_ = TLex::Plaintext;
        return;
      case kButton:
        if (InScope(kButton)) {
          GenerateImpliedEndTags();
          PopUntil(kButton);
        }
        ReconstructFormatting(t.Begin);
        InsertToken(t);
        FramesetOk_ = false;
        return;
      case kA:
        for (int i = static_cast<int>(Formatting_.size()) - 1; i >= 0; --i) {
          const int e = Formatting_[static_cast<std::size_t>(i)].Element;
          if (e < 0) break;
          if (IsHtml(e, kA)) {
            AdoptionAgency(t);
            const int fi = FormattingIndex(e);
            if (fi >= 0) Formatting_.erase(Formatting_.begin() + fi);
            const auto s = std::find(Stack_.begin(), Stack_.end(), e);
            if (s != Stack_.end()) Stack_.erase(s);
            break;
          }
        }
        ReconstructFormatting(t.Begin);
        PushFormatting(InsertToken(t), t);
        return;
      case kNobr:
        ReconstructFormatting(t.Begin);
        if (InScope(kNobr)) {
          AdoptionAgency(t);
          ReconstructFormatting(t.Begin);
        }
        PushFormatting(InsertToken(t), t);
        return;
      case kApplet:
      case kMarquee:
      case kObject:
        ReconstructFormatting(t.Begin);
        InsertToken(t);
        PushMarker();
        FramesetOk_ = false;
        return;
      case kTable:
        if (!Quirks_) CloseIfPInButtonScope();
        InsertToken(t);
        FramesetOk_ = false;
        Mode_ = TMode::InTable;
        return;
      case kArea:
      case kBr:
      case kEmbed:
      case kImg:
      case kKeygen:
      case kWbr:
      case kInput:
        ReconstructFormatting(t.Begin);
        InsertToken(t);
        Pop();
        if (tag != kInput || !EqualsNoCase(t.Attr("type"), "hidden")) FramesetOk_ = false;
        return;
      case kParam:
      case kSource:
      case kTrack:
        InsertToken(t);
        Pop();
        return;
      case kHr:
        CloseIfPInButtonScope();
        InsertToken(t);
        Pop();
        FramesetOk_ = false;
        return;
      case kImage: {
        TToken img = t;
        img.Name = "img";
        img.Tag = kImg;
        return BodyStart(img);
      }
      case kTextarea:
        RawText(t, TLex::Rcdata);
        FramesetOk_ = false;
        return;
      case kXmp:
        CloseIfPInButtonScope();
        ReconstructFormatting(t.Begin);
        FramesetOk_ = false;
        return RawText(t, TLex::Rawtext);
      case kIframe:
        FramesetOk_ = false;
        return RawText(t, TLex::Rawtext);
      case kNoembed:
      case kNoscript:
        return RawText(t, TLex::Rawtext);
      case kSelect:
        ReconstructFormatting(t.Begin);
        InsertToken(t);
        FramesetOk_ = false;
        Mode_ = (Mode_ == TMode::InTable || Mode_ == TMode::InCaption ||
                 Mode_ == TMode::InTableBody || Mode_ == TMode::InRow || Mode_ == TMode::InCell)
                    ? TMode::InSelectInTable
                    : TMode::InSelect;
        return;
      case kOptgroup:
      case kOption:
        if (IsHtml(Current(), kOption)) Pop();
        ReconstructFormatting(t.Begin);
        InsertToken(t);
        return;
      case kRb:
      case kRtc:
        if (InScope(kRuby)) GenerateImpliedEndTags();
        InsertToken(t);
        return;
      case kRp:
      case kRt:
        if (InScope(kRuby)) GenerateImpliedEndTags(kRtc);
        InsertToken(t);
        return;
      case kMath:
      case kSvg:
        ReconstructFormatting(t.Begin);
        InsertToken(t, tag == kMath ? TNs::Math : TNs::Svg);
        if (t.SelfClosing) Pop();
        return;
      case kCaption:
      case kCol:
      case kColgroup:
      case kFrame:
      case kHead:
      case kTbody:
      case kTd:
      case kTfoot:
      case kTh:
      case kThead:
      case kTr:
        return;
      default:
        break;
    }
    if (Is(tag, kFormatting)) {
      ReconstructFormatting(t.Begin);
      PushFormatting(InsertToken(t), t);
      return;
    }
    ReconstructFormatting(t.Begin);
    InsertToken(t);
  }

  void BodyEnd(const TToken& t) {
    const std::uint16_t tag = t.Tag;
    if (tag == kTemplate) return InHead(t);
    if (tag == kBody || tag == kHtml) {
      if (!InScope(kBody)) return;
      Mode_ = TMode::AfterBody;
      if (tag == kHtml) Dispatch(t);
      return;
    }
    if (Is(tag, kBlockEnd)) {
      if (!InScope(tag)) return;
      GenerateImpliedEndTags();
      PopUntil(tag);
      return;
    }
    if (Is(tag, kHeading)) {
      if (!InScopeIf([this](int n) { return IsHtmlKind(n, kHeading); })) return;
      GenerateImpliedEndTags();
      PopUntilIf([this](int n) { return IsHtmlKind(n, kHeading); });
      return;
    }
    switch (tag) {
      case kForm:
        if (!TemplateOnStack()) {
          const int node = Form_;
          Form_ = -1;
          if (node < 0 || !InScopeIf([node](int n) { return n == node; })) return;
          GenerateImpliedEndTags();
          Stack_.erase(std::find(Stack_.begin(), Stack_.end(), node));
          return;
        }
        if (!InScope(kForm)) return;
        GenerateImpliedEndTags();
        PopUntil(kForm);
        return;
      case kP:
        if (!InScope(kP, TScope::Button)) {
          // An end tag with no paragraph open makes an empty one.
          InsertImplied(kP, t.Begin);
        }
        CloseP();
        return;
      case kLi:
        if (!InScope(kLi, TScope::ListItem)) return;
        GenerateImpliedEndTags(kLi);
        PopUntil(kLi);
        return;
      case kDd:
      case kDt:
        if (!InScope(tag)) return;
        GenerateImpliedEndTags(tag);
        PopUntil(tag);
        return;
      case kApplet:
      case kMarquee:
      case kObject:
        if (!InScope(tag)) return;
        GenerateImpliedEndTags();
        PopUntil(tag);
        ClearFormattingToMarker();
        return;
      case kBr: {
        // "</br>" is read as "<br>".
        TToken br = t;
        br.Type = TToken::kStart;
        br.Attrs.clear();
        return BodyStart(br);
      }
      default:
        break;
    }
    if (Is(tag, kFormatting) && AdoptionAgency(t)) return;
    AnyOtherEnd(t);
  }

  void AnyOtherEnd(const TToken& t) {
    for (auto it = Stack_.rbegin(); it != Stack_.rend(); ++it) {
      const int node = *it;
      if (E(node).Ns == TNs::Html && Tree_.Names_[E(node).Name] == t.Name) {
        GenerateImpliedEndTags(E(node).Tag);
        // Pops everything above the node and the node itself.
        while (!Stack_.empty() && Current() != node) Pop();
        Pop();
        return;
      }
      if (IsSpecial(node)) return;
    }
  }

  void InText(const TToken& t) {
    if (t.Type == TToken::kEof) {
      Pop();
      return Reprocess(t, Original_);
    }
    if (t.Type == TToken::kEnd) {
      Pop();
      Mode_ = Original_;
    }
  }

  void ClearToTableContext(std::initializer_list<std::uint16_t> stops) {
    while (!Stack_.empty()) {
      const int c = Current();
      bool stop = IsHtml(c, kHtml) || IsHtml(c, kTemplate);
      for (std::uint16_t s : stops) stop = stop || IsHtml(c, s);
      if (stop) return;
      Pop();
    }
  }

  void ResetMode() {
    for (int i = static_cast<int>(Stack_.size()) - 1; i >= 0; --i) {
      const int node = Stack_[static_cast<std::size_t>(i)];
      const bool last = i == 0;
      const TElement& e = E(node);
      if (e.Ns != TNs::Html) continue;
      switch (e.Tag) {
        case kSelect:
          if (!last) {
            for (int k = i - 1; k > 0; --k) {
              const int ancestor = Stack_[static_cast<std::size_t>(k)];
              if (IsHtml(ancestor, kTemplate)) break;
              if (IsHtml(ancestor, kTable)) {
                Mode_ = TMode::InSelectInTable;
                return;
              }
            }
          }
          Mode_ = TMode::InSelect;
          return;
        case kTd:
        case kTh:
          if (!last) {
            Mode_ = TMode::InCell;
            return;
          }
          break;
        case kTr:
          Mode_ = TMode::InRow;
          return;
        case kTbody:
        case kThead:
        case kTfoot:
          Mode_ = TMode::InTableBody;
          return;
        case kCaption:
          Mode_ = TMode::InCaption;
          return;
        case kColgroup:
          Mode_ = TMode::InColumnGroup;
          return;
        case kTable:
          Mode_ = TMode::InTable;
          return;
        case kTemplate:
          Mode_ = TemplateModes_.empty() ? TMode::InBody : TemplateModes_.back();
          return;
        case kHead:
          if (!last) {
            Mode_ = TMode::InHead;
            return;
          }
          break;
        case kBody:
          Mode_ = TMode::InBody;
          return;
        case kFrameset:
          Mode_ = TMode::InFrameset;
          return;
        case kHtml:
          Mode_ = Head_ < 0 ? TMode::BeforeHead : TMode::AfterHead;
          return;
        default:
          break;
      }
      if (last) break;
    }
    Mode_ = TMode::InBody;
  }

  // Content that has no place in a table is handled as in the body and moved
  // out in front of the table.
  void FosterInBody(const TToken& t) {
    FosterParenting_ = true;
    InBody(t);
    FosterParenting_ = false;
  }

  void InTable(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip) return;
    if (t.Type == TToken::kEof) return InBody(t);
    if (t.Type == TToken::kStart) {
      switch (t.Tag) {
        case kCaption:
          ClearToTableContext({kTable});
          PushMarker();
          InsertToken(t);
          Mode_ = TMode::InCaption;
          return;
        case kColgroup:
          ClearToTableContext({kTable});
          InsertToken(t);
          Mode_ = TMode::InColumnGroup;
          return;
        case kCol:
          ClearToTableContext({kTable});
          InsertImplied(kColgroup, t.Begin);
          return Reprocess(t, TMode::InColumnGroup);
        case kTbody:
        case kTfoot:
        case kThead:
          ClearToTableContext({kTable});
          InsertToken(t);
          Mode_ = TMode::InTableBody;
          return;
        case kTd:
        case kTh:
        case kTr:
          ClearToTableContext({kTable});
          InsertImplied(kTbody, t.Begin);
          return Reprocess(t, TMode::InTableBody);
        case kTable:
          if (!InScope(kTable, TScope::Table)) return;
          PopUntil(kTable);
          ResetMode();
          return Dispatch(t);
        case kStyle:
        case kScript:
        case kTemplate:
          return InHead(t);
        case kInput:
          if (!EqualsNoCase(t.Attr("type"), "hidden")) break;
          InsertToken(t);
          Pop();
          return;
        case kForm:
          if (TemplateOnStack() || Form_ >= 0) return;
          Form_ = InsertToken(t);
          Pop();
          return;
        default:
          break;
      }
    } else if (t.Type == TToken::kEnd) {
      switch (t.Tag) {
        case kTable:
          if (!InScope(kTable, TScope::Table)) return;
          PopUntil(kTable);
          ResetMode();
          return;
        case kBody:
        case kCaption:
        case kCol:
        case kColgroup:
        case kHtml:
        case kTbody:
        case kTd:
        case kTfoot:
        case kTh:
        case kThead:
        case kTr:
          return;
        case kTemplate:
          return InHead(t);
        default:
          break;
      }
    }
    FosterInBody(t);
  }

  void InCaption(const TToken& t) {
    const bool closesCaption =
        (t.Type == TToken::kStart &&
         (t.Tag == kCaption || t.Tag == kCol || t.Tag == kColgroup || t.Tag == kTbody ||
          t.Tag == kTd || t.Tag == kTfoot || t.Tag == kTh || t.Tag == kThead || t.Tag == kTr)) ||
        (t.Type == TToken::kEnd && t.Tag == kTable);
    if ((t.Type == TToken::kEnd && t.Tag == kCaption) || closesCaption) {
      if (!InScope(kCaption, TScope::Table)) return;
      GenerateImpliedEndTags();
      PopUntil(kCaption);
      ClearFormattingToMarker();
      Mode_ = TMode::InTable;
      if (closesCaption) Dispatch(t);
      return;
    }
    if (t.Type == TToken::kEnd &&
        (t.Tag == kBody || t.Tag == kCol || t.Tag == kColgroup || t.Tag == kHtml ||
         t.Tag == kTbody || t.Tag == kTd || t.Tag == kTfoot || t.Tag == kTh || t.Tag == kThead ||
         t.Tag == kTr)) {
      return;
    }
    InBody(t);
  }

  void InColumnGroup(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip) return;
    if (t.Type == TToken::kStart && t.Tag == kHtml) return InBody(t);
    if (t.Type == TToken::kStart && t.Tag == kCol) {
      InsertToken(t);
      Pop();
      return;
    }
    if (t.Type == TToken::kEnd && t.Tag == kColgroup) {
      if (!IsHtml(Current(), kColgroup)) return;
      Pop();
      Mode_ = TMode::InTable;
      return;
    }
    if (t.Type == TToken::kEnd && t.Tag == kCol) return;
    if ((t.Type == TToken::kStart || t.Type == TToken::kEnd) && t.Tag == kTemplate)
      return InHead(t);
    if (t.Type == TToken::kEof) return InBody(t);
    if (!IsHtml(Current(), kColgroup)) return;
    Pop();
    Reprocess(t, TMode::InTable);
  }

  bool SectionInTableScope() const {
    return InScopeIf([this](int n) { return IsHtmlKind(n, kTableSection); }, TScope::Table);
  }

  void InTableBody(const TToken& t) {
    if (t.Type == TToken::kStart) {
      switch (t.Tag) {
        case kTr:
          ClearToTableContext({kTbody, kThead, kTfoot});
          InsertToken(t);
          Mode_ = TMode::InRow;
          return;
        case kTh:
        case kTd:
          ClearToTableContext({kTbody, kThead, kTfoot});
          InsertImplied(kTr, t.Begin);
          return Reprocess(t, TMode::InRow);
        case kCaption:
        case kCol:
        case kColgroup:
        case kTbody:
        case kTfoot:
        case kThead:
          if (!SectionInTableScope()) return;
          ClearToTableContext({kTbody, kThead, kTfoot});
          Pop();
          return Reprocess(t, TMode::InTable);
        default:
          break;
      }
    } else if (t.Type == TToken::kEnd) {
      switch (t.Tag) {
        case kTbody:
        case kTfoot:
        case kThead:
          if (!InScope(t.Tag, TScope::Table)) return;
          ClearToTableContext({kTbody, kThead, kTfoot});
          Pop();
          Mode_ = TMode::InTable;
          return;
        case kTable:
          if (!SectionInTableScope()) return;
          ClearToTableContext({kTbody, kThead, kTfoot});
          Pop();
          return Reprocess(t, TMode::InTable);
        case kBody:
        case kCaption:
        case kCol:
        case kColgroup:
        case kHtml:
        case kTd:
        case kTh:
        case kTr:
          return;
        default:
          break;
      }
    }
    InTable(t);
  }

  void InRow(const TToken& t) {
    if (t.Type == TToken::kStart) {
      switch (t.Tag) {
        case kTh:
        case kTd:
          ClearToTableContext({kTr});
          InsertToken(t);
          Mode_ = TMode::InCell;
          PushMarker();
          return;
        case kCaption:
        case kCol:
        case kColgroup:
        case kTbody:
        case kTfoot:
        case kThead:
        case kTr:
          if (!InScope(kTr, TScope::Table)) return;
          ClearToTableContext({kTr});
          Pop();
          return Reprocess(t, TMode::InTableBody);
        default:
          break;
      }
    } else if (t.Type == TToken::kEnd) {
      switch (t.Tag) {
        case kTr:
          if (!InScope(kTr, TScope::Table)) return;
          ClearToTableContext({kTr});
          Pop();
          Mode_ = TMode::InTableBody;
          return;
        case kTable:
          if (!InScope(kTr, TScope::Table)) return;
          ClearToTableContext({kTr});
          Pop();
          return Reprocess(t, TMode::InTableBody);
        case kTbody:
        case kTfoot:
        case kThead:
          if (!InScope(t.Tag, TScope::Table) || !InScope(kTr, TScope::Table)) return;
          ClearToTableContext({kTr});
          Pop();
          return Reprocess(t, TMode::InTableBody);
        case kBody:
        case kCaption:
        case kCol:
        case kColgroup:
        case kHtml:
        case kTd:
        case kTh:
          return;
        default:
          break;
      }
    }
    InTable(t);
  }

  void CloseCell() {
    GenerateImpliedEndTags();
    PopUntilIf([this](int n) { return IsHtml(n, kTd) || IsHtml(n, kTh); });
    ClearFormattingToMarker();
    Mode_ = TMode::InRow;
  }

  void InCell(const TToken& t) {
    if (t.Type == TToken::kEnd && (t.Tag == kTd || t.Tag == kTh)) {
      if (!InScope(t.Tag, TScope::Table)) return;
      GenerateImpliedEndTags();
      PopUntil(t.Tag);
      ClearFormattingToMarker();
      Mode_ = TMode::InRow;
      return;
    }
    if (t.Type == TToken::kStart &&
        (t.Tag == kCaption || t.Tag == kCol || t.Tag == kColgroup || t.Tag == kTbody ||
         t.Tag == kTd || t.Tag == kTfoot || t.Tag == kTh || t.Tag == kThead || t.Tag == kTr)) {
      if (!InScope(kTd, TScope::Table) && !InScope(kTh, TScope::Table)) return;
      CloseCell();
      return Dispatch(t);
    }
    if (t.Type == TToken::kEnd) {
      switch (t.Tag) {
        case kBody:
        case kCaption:
        case kCol:
        case kColgroup:
        case kHtml:
          return;
        case kTable:
        case kTbody:
        case kTfoot:
        case kThead:
        case kTr:
          if (!InScope(t.Tag, TScope::Table)) return;
          CloseCell();
          return Dispatch(t);
        default:
          break;
      }
    }
    InBody(t);
  }

  void InSelect(const TToken& t) {
    if (t.Type == TToken::kStart) {
      switch (t.Tag) {
        case kHtml:
          return InBody(t);
        case kOption:
          if (IsHtml(Current(), kOption)) Pop();
          InsertToken(t);
          return;
        case kOptgroup:
          if (IsHtml(Current(), kOption)) Pop();
          if (IsHtml(Current(), kOptgroup)) Pop();
          InsertToken(t);
          return;
        case kSelect:
          if (!InScope(kSelect, TScope::Select)) return;
          PopUntil(kSelect);
          ResetMode();
          return;
        case kInput:
        case kKeygen:
        case kTextarea:
          if (!InScope(kSelect, TScope::Select)) return;
          PopUntil(kSelect);
          ResetMode();
          return Dispatch(t);
        case kScript:
        case kTemplate:
          return InHead(t);
        default:
          return;
      }
    }
    if (t.Type == TToken::kEnd) {
      switch (t.Tag) {
        case kOptgroup:
          if (IsHtml(Current(), kOption) && Stack_.size() >= 2 &&
              IsHtml(Stack_[Stack_.size() - 2], kOptgroup)) {
            Pop();
          }
          if (IsHtml(Current(), kOptgroup)) Pop();
          return;
        case kOption:
          if (IsHtml(Current(), kOption)) Pop();
          return;
        case kSelect:
          if (!InScope(kSelect, TScope::Select)) return;
          PopUntil(kSelect);
          ResetMode();
          return;
        case kTemplate:
          return InHead(t);
        default:
          return;
      }
    }
    if (t.Type == TToken::kEof) InBody(t);
  }

  void InSelectInTable(const TToken& t) {
    const bool tableTag = t.Tag == kCaption || t.Tag == kTable || t.Tag == kTbody ||
                          t.Tag == kTfoot || t.Tag == kThead || t.Tag == kTr || t.Tag == kTd ||
                          t.Tag == kTh;
    if (t.Type == TToken::kStart && tableTag) {
      PopUntil(kSelect);
      ResetMode();
      return Dispatch(t);
    }
    if (t.Type == TToken::kEnd && tableTag) {
      if (!InScope(t.Tag, TScope::Table)) return;
      PopUntil(kSelect);
      ResetMode();
      return Dispatch(t);
    }
    InSelect(t);
  }

  void InTemplate(const TToken& t) {
    if (t.Type == TToken::kStart) {
      if (Is(t.Tag, kHeadElement)) return InHead(t);
      TMode mode = TMode::InBody;
      switch (t.Tag) {
        case kCaption:
        case kColgroup:
        case kTbody:
        case kTfoot:
        case kThead:
          mode = TMode::InTable;
          break;
        case kCol:
          mode = TMode::InColumnGroup;
          break;
        case kTr:
          mode = TMode::InTableBody;
          break;
        case kTd:
        case kTh:
          mode = TMode::InRow;
          break;
        default:
          break;
      }
      if (!TemplateModes_.empty()) TemplateModes_.back() = mode;
      return Reprocess(t, mode);
    }
    if (t.Type == TToken::kEnd) {
      if (t.Tag == kTemplate) InHead(t);
      return;
    }
    if (t.Type == TToken::kEof) {
      if (!TemplateOnStack()) return;
      PopUntil(kTemplate);
      ClearFormattingToMarker();
      if (!TemplateModes_.empty()) TemplateModes_.pop_back();
      ResetMode();
      return Dispatch(t);
    }
  }

  void AfterBody(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip ||
        t.Type == TToken::kEof) {
      return;
    }
    if (t.Type == TToken::kStart && t.Tag == kHtml) return InBody(t);
    if (t.Type == TToken::kEnd && t.Tag == kHtml) {
      Mode_ = TMode::AfterAfterBody;
      return;
    }
    Reprocess(t, TMode::InBody);
  }

  void InFrameset(const TToken& t) {
    if (t.Type == TToken::kStart) {
      switch (t.Tag) {
        case kHtml:
          return InBody(t);
        case kFrameset:
          InsertToken(t);
          return;
        case kFrame:
          InsertToken(t);
          Pop();
          return;
        case kNoframes:
          return InHead(t);
        default:
          return;
      }
    }
    if (t.Type == TToken::kEnd && t.Tag == kFrameset) {
      if (IsHtml(Current(), kHtml)) return;
      Pop();
      if (!IsHtml(Current(), kFrameset)) Mode_ = TMode::AfterFrameset;
    }
  }

  void AfterFrameset(const TToken& t) {
    if (t.Type == TToken::kStart && t.Tag == kHtml) return InBody(t);
    if (t.Type == TToken::kStart && t.Tag == kNoframes) return InHead(t);
    if (t.Type == TToken::kEnd && t.Tag == kHtml) Mode_ = TMode::AfterAfterFrameset;
  }

  void AfterAfterBody(const TToken& t) {
    if (t.Type == TToken::kComment || t.Type == TToken::kDoctype || t.Type == TToken::kSkip ||
        t.Type == TToken::kEof) {
      return;
    }
    if (t.Type == TToken::kStart && t.Tag == kHtml) return InBody(t);
    Reprocess(t, TMode::InBody);
  }

  void AfterAfterFrameset(const TToken& t) {
    if (t.Type == TToken::kStart && t.Tag == kHtml) return InBody(t);
    if (t.Type == TToken::kStart && t.Tag == kNoframes) return InHead(t);
  }

  // SVG and MathML: tags nest as written, until an HTML tag leaves them.
  void Foreign(const TToken& t) {
    if (t.Type == TToken::kStart) {
      const bool breaks =
          Is(t.Tag, kBreaksForeign) ||
          (t.Tag == kFont && (t.HasAttr("color") || t.HasAttr("face") || t.HasAttr("size")));
      if (!breaks) {
        const TNs ns = E(Current()).Ns;
        const int e = InsertToken(t, ns);
        const std::string_view encoding = t.Attr("encoding");
        if (ns == TNs::Math && t.Tag == kAnnotationXml &&
            (EqualsNoCase(encoding, "text/html") ||
             EqualsNoCase(encoding, "application/xhtml+xml"))) {
          HtmlAnnotations_.insert(e);
        }
        if (t.SelfClosing) Pop();
        return;
      }
      while (!Stack_.empty() && E(Current()).Ns != TNs::Html && !IsMathTextPoint(Current()) &&
             !IsHtmlPoint(Current())) {
        Pop();
      }
      return Dispatch(t);
    }
    if (t.Type == TToken::kEnd) {
      if (t.Tag == kBr || t.Tag == kP) {
        while (!Stack_.empty() && E(Current()).Ns != TNs::Html && !IsMathTextPoint(Current()) &&
               !IsHtmlPoint(Current())) {
          Pop();
        }
        return Dispatch(t);
      }
      for (int i = static_cast<int>(Stack_.size()) - 1; i > 0; --i) {
        const int node = Stack_[static_cast<std::size_t>(i)];
        if (E(node).Ns == TNs::Html) return Dispatch(t);
        if (Tree_.Names_[E(node).Name] == t.Name) {
          Stack_.resize(static_cast<std::size_t>(i));
          return;
        }
      }
    }
  }

  TPageTree& Tree_;
  std::string_view Text_;
  int Pos_ = 0;
  TLex Lex_ = TLex::Data;
  std::string RawName_;
  TMode Mode_ = TMode::Initial;
  TMode Original_ = TMode::InBody;
  std::vector<TMode> TemplateModes_;
  std::vector<int> Stack_;
  std::vector<TFormatting> Formatting_;
  std::unordered_map<std::string, std::uint32_t> NameIds_;
  std::unordered_set<int> HtmlAnnotations_;
  int Head_ = -1;
  int Form_ = -1;
  bool Quirks_ = false;
  bool FramesetOk_ = true;
  bool FosterParenting_ = false;
};

TPageTree::TPageTree(std::string_view text) { TBuilder(*this, text).Run(); }

int TPageTree::ElementAt(int offset) const {
  const auto after = std::upper_bound(
      Marks_.begin(), Marks_.end(), offset,
      [](int value, const std::pair<int, int>& mark) { return value < mark.first; });
  if (after == Marks_.begin()) return -1;
  return std::prev(after)->second;
}

bool TPageTree::IsTemplate(int element) const {
  const TElement& e = Elements_[static_cast<std::size_t>(element)];
  return e.Ns == TNs::Html && e.Tag == kTemplate;
}

TPath TPageTree::PathOf(int element) const {
  if (element < 0 || element >= ElementCount()) return {};
  // Inside a template's content the template stands for the element.
  int shown = element;
  for (int e = element; Elements_[static_cast<std::size_t>(e)].Parent >= 0;) {
    const int parent = Elements_[static_cast<std::size_t>(e)].Parent;
    if (IsTemplate(parent)) shown = parent;
    e = parent;
  }
  TPath path;
  int e = shown;
  while (true) {
    const TElement& el = Elements_[static_cast<std::size_t>(e)];
    int index = 0;
    for (int s = el.Prev; s >= 0; s = Elements_[static_cast<std::size_t>(s)].Prev) ++index;
    path.push_back({index, Names_[el.Name]});
    if (el.Parent < 0) break;
    e = el.Parent;
  }
  // The root of the document is its first element, made first.
  if (e != 0) return {};
  std::reverse(path.begin(), path.end());
  return path;
}

TResolved TPageTree::Resolve(const TPath& path) const {
  TResolved r;
  if (path.empty() || Elements_.empty() || path[0].Index != 0 || path[0].Name != NameOf(0)) {
    return r;
  }
  r = {0, 1};
  for (std::size_t k = 1; k < path.size(); ++k) {
    if (IsTemplate(r.Element)) break;
    int child = Elements_[static_cast<std::size_t>(r.Element)].FirstChild;
    for (int i = 0; i < path[k].Index && child >= 0; ++i) {
      child = Elements_[static_cast<std::size_t>(child)].Next;
    }
    if (child < 0 || NameOf(child) != path[k].Name) break;
    r = {child, static_cast<int>(k) + 1};
  }
  return r;
}

int TPageTree::StartOf(int element) const {
  const TElement& e = Elements_[static_cast<std::size_t>(element)];
  return e.Origin >= 0 ? Elements_[static_cast<std::size_t>(e.Origin)].Start : e.Start;
}

const std::string& TPageTree::NameOf(int element) const {
  return Names_[Elements_[static_cast<std::size_t>(element)].Name];
}

bool TPageTree::Written(int element) const {
  return !Elements_[static_cast<std::size_t>(element)].Implied;
}

void TPageTree::OutlineOf(int element, std::string& out) const {
  const TElement& e = Elements_[static_cast<std::size_t>(element)];
  out += Names_[e.Name];
  if (e.FirstChild < 0 || IsTemplate(element)) return;
  out += '(';
  for (int c = e.FirstChild; c >= 0; c = Elements_[static_cast<std::size_t>(c)].Next) {
    OutlineOf(c, out);
    if (Elements_[static_cast<std::size_t>(c)].Next >= 0) out += ',';
  }
  out += ')';
}

std::string TPageTree::Outline(int element) const {
  std::string out;
  if (element >= 0 && element < ElementCount()) OutlineOf(element, out);
  return out;
}

}  // namespace pagetree
