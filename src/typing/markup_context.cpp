#include "markup_context.h"

#include <string>
#include <vector>

#include "html_scanner.h"
#include "rtf_syntax.h"
#include "xml_scanner.h"

namespace {

THint HtmlHint(TqorHTMLRTF& html, TScanState lineState, const char* text) {
  using R = TqorHTMLRTF::TRangeState;
  html.RestoreState(lineState);
  html.SetLine(text, 1);
  std::string_view last;
  THTMLTokenKind lastKind = THTMLTokenKind::EndOfText;
  while (!html.GetEol()) {
    last = std::string_view(text + html.TokenStart(),
                            static_cast<std::size_t>(html.TokenEnd() - html.TokenStart()));
    lastKind = html.TokenId();
    html.Next();
  }
  switch (html.RangeState()) {
    case R::Comment:
      return THint::Comment;
    case R::ServerScript:
      return THint::ServerBlock;
    case R::TagStart:
    case R::InTag:
    case R::AfterEquals: {
      // A quoted value runs to its closing quote; one cut off by the caret is
      // still open.
      const bool openValue = lastKind == THTMLTokenKind::Value && !last.empty() &&
                             last.front() == '"' && (last.size() == 1 || last.back() != '"');
      return openValue ? THint::Value : THint::Tag;
    }
    default:
      return THint::Text;
  }
}

THint XmlHint(TqorXMLRTF& xml, TScanState lineState, const char* text) {
  using R = TqorXMLRTF::TRangeState;
  xml.RestoreState(lineState);
  xml.SetLine(text, 1);
  while (!xml.GetEol()) xml.Next();
  switch (xml.GetRange()) {
    case R::InText:
    case R::InTextEntity:
      return THint::Text;
    case R::InCData:
      return THint::CData;
    case R::InProcessingInstruction:
      return THint::Instruction;
    case R::InComment:
      return THint::Comment;
    case R::InValueDouble:
    case R::InValueSingle:
    case R::InValueEntityDouble:
    case R::InValueEntitySingle:
    case R::InNamespaceValueDouble:
    case R::InNamespaceValueSingle:
    case R::InNamespaceEntityDouble:
    case R::InNamespaceEntitySingle:
      return THint::Value;
    default:
      return THint::Tag;
  }
}

// The constructs a backward search tells apart.
enum TCategory { kServer, kInstruction, kComment, kCData, kScript, kStyle, kCategories };

constexpr TRegion kRegionOf[kCategories] = {TRegion::ServerBlock, TRegion::Instruction,
                                            TRegion::Comment,     TRegion::CData,
                                            TRegion::Script,      TRegion::Style};

}  // namespace

THint ScannerHint(TqorRTFSyntax& scanner, TScanState lineState, std::string_view linePrefix) {
  // The scanners read up to a NUL, and look back two bytes for the "--" or
  // "%" in front of a ">": the line ending before the line stands there.
  std::string text = "\r\n";
  text.append(linePrefix);
  text.push_back('\0');
  const char* start = text.c_str() + 2;
  if (auto* html = dynamic_cast<TqorHTMLRTF*>(&scanner)) return HtmlHint(*html, lineState, start);
  if (auto* xml = dynamic_cast<TqorXMLRTF*>(&scanner)) return XmlHint(*xml, lineState, start);
  return THint::None;
}

TRegionAt RegionAt(TMarkupReader& markup, std::size_t pos, THint hint, std::size_t limit) {
  TTextReader& text = markup.Text();
  pos = std::min(pos, text.Length());
  const bool html = markup.Flavour() == TMarkupFlavour::Html;
  bool decided[kCategories] = {};
  bool open[kCategories] = {};
  std::size_t opener[kCategories];
  for (std::size_t& o : opener) o = kNoPosition;
  // What the scanner tracks, it has decided at the caret.
  if (hint != THint::None) {
    decided[kServer] = decided[kComment] = true;
    open[kServer] = hint == THint::ServerBlock;
    open[kComment] = hint == THint::Comment;
    if (markup.Flavour() == TMarkupFlavour::Xml) {
      decided[kInstruction] = decided[kCData] = true;
      open[kInstruction] = hint == THint::Instruction;
      open[kCData] = hint == THint::CData;
    }
  }
  if (!html) decided[kScript] = decided[kStyle] = true;

  const auto decide = [&](TCategory c, bool isOpen, std::size_t at) {
    if (decided[c]) return;
    decided[c] = true;
    open[c] = isOpen;
    if (isOpen) opener[c] = at;
  };
  const auto allDecided = [&] {
    for (bool d : decided) {
      if (!d) return false;
    }
    return true;
  };
  // A marker counts only where it lies wholly before the caret.
  const auto before = [&](std::size_t at, std::string_view marker, bool ignoreCase = false) {
    return at + marker.size() <= pos && text.Matches(at, marker, ignoreCase);
  };
  // A script or style tag's name: wholly before the caret, whatever follows.
  const auto tagNamed = [&](std::size_t at, std::string_view open) {
    if (!before(at, open, true)) return false;
    const char after = text.At(at + open.size());
    return after == '>' || after == '/' || after == '\0' || TMarkupReader::IsSpace(after);
  };

  const std::size_t floor = pos > limit ? pos - limit : 0;
  // Most "<" and ">" begin or end none of the markers: the byte beside them
  // tells which could.
  for (std::size_t i = pos; i > floor && !allDecided();) {
    i = markup.PrevAngle(i, floor);
    if (i == kNoPosition) break;
    if (text.At(i) == '>') {
      switch (i >= 1 ? text.At(i - 1) : '\0') {
        case '%':
          decide(kServer, false, i);
          break;
        case '?':
          decide(kInstruction, false, i);
          break;
        case '-':
          if (i >= 2 && text.At(i - 2) == '-') decide(kComment, false, i);
          break;
        case ']':
          if (i >= 2 && text.At(i - 2) == ']') decide(kCData, false, i);
          break;
        default:
          break;
      }
      continue;
    }
    switch (text.At(i + 1)) {
      case '%':
        if (before(i, "<%")) decide(kServer, true, i);
        break;
      case '?':
        if (before(i, "<?")) decide(kInstruction, true, i);
        break;
      case '!':
        if (before(i, "<!--")) decide(kComment, true, i);
        if (before(i, "<![CDATA[")) decide(kCData, true, i);
        break;
      case '/':
        if (tagNamed(i, "</script")) decide(kScript, false, i);
        if (tagNamed(i, "</style")) decide(kStyle, false, i);
        break;
      case 's':
      case 'S':
        if (tagNamed(i, "<script")) decide(kScript, true, i);
        if (tagNamed(i, "<style")) decide(kStyle, true, i);
        break;
      default:
        break;
    }
  }

  // Of the constructs open at the caret, the outermost holds the others: a
  // comment inside a script hides nothing of it, a script tag inside a
  // comment opens nothing.
  static constexpr std::string_view kOpeners[kCategories] = {"<%", "<?", "<!--", "<![CDATA["};
  TRegionAt region;
  for (int c = 0; c < kCategories; ++c) {
    if (!open[c]) continue;
    if (opener[c] == kNoPosition) {
      // Known open from the scanner: its opener lies where the search finds it.
      const std::size_t at = markup.FindBack(kOpeners[c], pos, floor);
      opener[c] = at == kNoPosition ? floor : at;
    }
    if ((c == kScript || c == kStyle) && !markup.ItemAt(opener[c], pos).Closed) {
      // The caret is in the element's own start tag, which is markup.
      continue;
    }
    if (region.Opener == kNoPosition || opener[c] < region.Opener) {
      region = {kRegionOf[c], opener[c]};
    }
  }
  return region;
}

TCaretContext ContextAt(TMarkupReader& markup, std::size_t pos, THint hint, std::size_t limit) {
  TCaretContext context;
  context.Region = RegionAt(markup, pos, hint, limit);
  if (context.Region.Region == TRegion::Markup) TagAround(markup, pos, hint, limit, context);
  return context;
}

void TagAround(TMarkupReader& markup, std::size_t pos, THint hint, std::size_t limit,
               TCaretContext& context) {
  if (hint == THint::Text) return;
  TTextReader& text = markup.Text();
  pos = std::min(pos, text.Length());
  // The tag's "<": of the "<" before the caret, the first whose tag reaches
  // the caret; a later "<" or ">" may stand in that tag's quoted values. The
  // search goes back over the caret's line, and beyond it to the first ">"
  // (server code in a tag, a "?>" or "%>", stepped over).
  const std::size_t floor = pos > limit ? pos - limit : 0;
  std::size_t lineStart = pos;
  while (lineStart > floor && text.At(lineStart - 1) != '\n' && text.At(lineStart - 1) != '\r') {
    --lineStart;
  }
  std::vector<std::size_t> starts;
  for (std::size_t i = pos; i > floor;) {
    i = markup.PrevAngle(i, floor);
    if (i == kNoPosition) break;
    if (text.At(i) == '<') {
      const char next = text.At(i + 1);
      if (next != '?' && next != '%') starts.push_back(i);
      continue;
    }
    const char inner = i > 0 ? text.At(i - 1) : '\0';
    if (inner != '?' && inner != '%') {
      if (i >= lineStart) continue;
      break;
    }
    const std::size_t open = markup.FindBack(inner == '?' ? "<?" : "<%", i - 1, floor);
    if (open == kNoPosition) break;
    i = open;
  }
  for (auto start = starts.rbegin(); start != starts.rend(); ++start) {
    const TMarkupItem tag = markup.ItemAt(*start, pos);
    const bool isTag = tag.Kind == TItemKind::StartTag || tag.Kind == TItemKind::EndTag ||
                       tag.Kind == TItemKind::Declaration;
    if (!isTag || tag.Closed || tag.End != pos) continue;
    context.InTag = true;
    context.InValue = tag.InQuote || hint == THint::Value;
    context.Tag = tag;
    return;
  }
}
