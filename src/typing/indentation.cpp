#include "indentation.h"

#include <algorithm>
#include <array>

#include "tag_closing.h"

namespace {

constexpr int kTabWidth = 8;
constexpr std::size_t kGuessBytes = 64 * 1024;
constexpr int kGuessLines = 20;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Columns the blanks take, tabs to the next multiple of eight.
int Width(std::string_view blanks) {
  int width = 0;
  for (char c : blanks) width = c == '\t' ? (width / kTabWidth + 1) * kTabWidth : width + 1;
  return width;
}

std::string Leading(TTextReader& text, std::size_t lineStart, std::size_t end) {
  std::size_t i = lineStart;
  while (i < end && IsBlank(text.At(i))) ++i;
  return text.Copy(lineStart, i);
}

std::string OneStepLess(std::string indent, const std::string& step) {
  if (indent.size() >= step.size() &&
      indent.compare(indent.size() - step.size(), step.size(), step) == 0) {
    indent.resize(indent.size() - step.size());
    return indent;
  }
  if (!indent.empty() && indent.back() == '\t') {
    indent.pop_back();
    return indent;
  }
  const std::size_t spaces = std::max<std::size_t>(1, static_cast<std::size_t>(Width(step)));
  for (std::size_t n = 0; n < spaces && !indent.empty() && indent.back() == ' '; ++n) {
    indent.pop_back();
  }
  return indent;
}

// The "{" that a "}" typed at `pos` would close.
std::size_t OpenBraceBefore(TTextReader& text, std::size_t pos, std::size_t limit) {
  int depth = 0;
  const std::size_t floor = pos > limit ? pos - limit : 0;
  for (std::size_t i = pos; i > floor;) {
    const char c = text.At(--i);
    if (c == '}') ++depth;
    if (c == '{' && depth-- == 0) return i;
  }
  return kNoPosition;
}

constexpr std::array<std::string_view, 59> kBlockElements = {
    "address", "article",  "aside",    "blockquote", "body",       "canvas",   "caption",
    "center",  "colgroup", "datalist", "dd",         "details",    "dialog",   "dir",
    "div",     "dl",       "dt",       "fieldset",   "figcaption", "figure",   "footer",
    "form",    "frameset", "h1",       "h2",         "h3",         "h4",       "h5",
    "h6",      "head",     "header",   "hgroup",     "html",       "iframe",   "li",
    "main",    "map",      "menu",     "nav",        "noframes",   "noscript", "object",
    "ol",      "optgroup", "p",        "picture",    "script",     "section",  "select",
    "style",   "table",    "tbody",    "td",         "template",   "tfoot",    "th",
    "thead",   "tr",       "ul"};

}  // namespace

bool IsBlockElement(std::string_view name) {
  return std::any_of(kBlockElements.begin(), kBlockElements.end(), [name](std::string_view b) {
    if (b.size() != name.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
      if (Lower(name[i]) != b[i]) return false;
    }
    return true;
  });
}

std::string GuessIndentStep(TTextReader& text) {
  const std::size_t end = std::min(text.Length(), kGuessBytes);
  int fewest = 0;
  int seen = 0;
  for (std::size_t i = 0; i < end && seen < kGuessLines;) {
    std::size_t j = i;
    while (j < end && IsBlank(text.At(j))) ++j;
    // A line of blanks alone says nothing.
    const bool content = j < end && text.At(j) != '\r' && text.At(j) != '\n';
    if (content && j > i) {
      if (text.At(i) == '\t') {
        if (seen == 0) return "\t";
      } else {
        std::size_t spaces = i;
        while (spaces < j && text.At(spaces) == ' ') ++spaces;
        fewest = seen == 0 ? static_cast<int>(spaces - i)
                           : std::min(fewest, static_cast<int>(spaces - i));
        ++seen;
      }
    }
    while (j < end && text.At(j) != '\n') ++j;
    i = j + 1;
  }
  return std::string(seen > 0 ? static_cast<std::size_t>(std::min(fewest, 8)) : 2, ' ');
}

std::size_t LineStartOf(TTextReader& text, std::size_t pos, std::size_t limit) {
  const std::size_t floor = pos > limit ? pos - limit : 0;
  std::size_t i = std::min(pos, text.Length());
  while (i > floor && text.At(i - 1) != '\n' && text.At(i - 1) != '\r') --i;
  return i;
}

bool OnlyBlanks(TTextReader& text, std::size_t lineStart, std::size_t pos) {
  for (std::size_t i = lineStart; i < pos; ++i) {
    if (!IsBlank(text.At(i))) return false;
  }
  return true;
}

TEdit EnterAt(TMarkupReader& markup, std::size_t pos, THint hint, const std::string& step,
              bool braces, std::size_t limit) {
  TTextReader& text = markup.Text();
  const std::size_t lineStart = LineStartOf(text, pos, limit);
  const std::string indent = Leading(text, lineStart, pos);
  std::size_t last = pos;  // after the last byte before the caret that is not blank
  while (last > lineStart && IsBlank(text.At(last - 1))) --last;

  std::string closer;  // what closes the opener the line ends with
  if (braces && last > lineStart && text.At(last - 1) == '{') {
    closer = "}";
  } else if (markup.Flavour() != TMarkupFlavour::None && last > lineStart &&
             text.At(last - 1) == '>') {
    const TMarkupItem tag = markup.PrevItem(last, lineStart);
    if (tag.Kind == TItemKind::StartTag && tag.End == last && !tag.SelfClosing) {
      const std::string name = markup.Name(tag);
      const TRegionAt region = RegionAt(markup, pos, hint, limit);
      const bool markupHere = region.Region == TRegion::Markup || region.Opener == tag.Start;
      const bool block = markup.Flavour() == TMarkupFlavour::Xml || IsBlockElement(name);
      if (markupHere && block && !markup.IsVoid(name)) closer = "</" + name;
    }
  }

  TEdit edit;
  edit.From = edit.To = pos;
  if (closer.empty()) {
    edit.Text = "\r\n" + indent;
    edit.Caret = edit.Text.size();
    return edit;
  }
  const std::string inner = indent + step;
  edit.Text = "\r\n" + inner;
  edit.Caret = edit.Text.size();
  std::size_t next = pos;
  while (next < text.Length() && IsBlank(text.At(next))) ++next;
  const bool closerFollows =
      closer == "}"
          ? text.At(next) == '}'
          : markup.EndTagFollows(next, std::string_view(closer).substr(2)) && text.At(next) == '<';
  if (closerFollows) {
    edit.To = next;
    edit.Text += "\r\n" + indent;
  }
  return edit;
}

std::string ClosingIndent(TMarkupReader& markup, std::size_t lineStart, std::size_t closer,
                          std::string_view name, const std::string& step, std::size_t limit) {
  TTextReader& text = markup.Text();
  const std::string current = text.Copy(lineStart, closer);
  std::size_t opener = kNoPosition;
  if (name.empty()) {
    opener = OpenBraceBefore(text, closer, limit);
  } else {
    TMarkupItem open;
    const std::string innermost = InnermostOpenElement(markup, closer, limit, &open);
    if (!innermost.empty() && markup.SameName(innermost, name)) opener = open.Start;
  }
  if (opener == kNoPosition) return OneStepLess(current, step);
  const std::size_t openerLine = LineStartOf(text, opener, limit);
  const std::string openerIndent = Leading(text, openerLine, opener);
  return Width(openerIndent) < Width(current) ? openerIndent : current;
}
