#include "pair_matching.h"

#include <algorithm>
#include <string>

namespace {

char PartnerOf(char c) {
  switch (c) {
    case '(':
      return ')';
    case ')':
      return '(';
    case '[':
      return ']';
    case ']':
      return '[';
    case '{':
      return '}';
    case '}':
      return '{';
    default:
      return '\0';
  }
}

bool Opens(char c) { return c == '(' || c == '[' || c == '{'; }

bool IsElementTag(const TMarkupItem& item) {
  return item.Kind == TItemKind::StartTag || item.Kind == TItemKind::EndTag;
}

// Pops the innermost entry named `name` and everything inside it; false when
// no entry is so named.
bool PopThrough(TMarkupReader& markup, std::vector<std::string>& stack, const std::string& name) {
  const auto match = std::find_if(stack.rbegin(), stack.rend(),
                                  [&](const std::string& s) { return markup.SameName(s, name); });
  if (match == stack.rend()) return false;
  stack.erase(std::next(match).base(), stack.end());
  return true;
}

std::optional<TMarkupItem> EndTagOf(TMarkupReader& markup, const TMarkupItem& open,
                                    std::size_t limit) {
  const std::string target = markup.Name(open);
  const std::size_t bound = open.End + limit;
  if (markup.OpensRawText(open)) {
    const std::size_t at = markup.FindEndTag(target, open.End, bound);
    if (at == kNoPosition) return std::nullopt;
    const TMarkupItem close = markup.ItemAt(at, bound);
    if (close.Kind != TItemKind::EndTag || !close.Closed) return std::nullopt;
    return close;
  }
  std::vector<std::string> open_elements;  // opened after the tag, the innermost last
  for (std::size_t at = open.End;;) {
    const TMarkupItem item = markup.NextItem(at, bound);
    if (item.Kind == TItemKind::None || !item.Closed) return std::nullopt;
    at = item.End;
    if (item.Kind == TItemKind::StartTag) {
      const std::string name = markup.Name(item);
      if (markup.OpensRawText(item)) {
        const std::size_t end = markup.FindEndTag(name, item.End, bound);
        if (end == kNoPosition) return std::nullopt;
        at = end;
        continue;
      }
      if (!item.SelfClosing && !markup.IsVoid(name)) open_elements.push_back(name);
    } else if (item.Kind == TItemKind::EndTag) {
      const std::string name = markup.Name(item);
      if (PopThrough(markup, open_elements, name)) continue;
      if (markup.SameName(name, target)) return item;
      // The end tag of an element around it: the tag was never closed.
      return std::nullopt;
    }
  }
}

std::optional<TMarkupItem> StartTagOf(TMarkupReader& markup, const TMarkupItem& close,
                                      std::size_t limit) {
  const std::string target = markup.Name(close);
  const std::size_t floor = close.Start > limit ? close.Start - limit : 0;
  const bool rawText = markup.Flavour() == TMarkupFlavour::Html && IsRawTextElement(target);
  std::vector<std::string> closed;  // end tags met going back, the innermost last
  for (std::size_t at = close.Start;;) {
    if (rawText) {
      const std::size_t open = markup.FindStartTag(target, at, floor);
      if (open == kNoPosition) return std::nullopt;
      const TMarkupItem item = markup.ItemAt(open, close.Start);
      if (item.Kind != TItemKind::StartTag || !item.Closed) return std::nullopt;
      return item;
    }
    const TMarkupItem item = markup.PrevItem(at, floor);
    if (item.Kind == TItemKind::None) return std::nullopt;
    at = item.Start;
    const std::string name = markup.Name(item);
    if (item.Kind == TItemKind::EndTag) {
      if (markup.Flavour() == TMarkupFlavour::Html && IsRawTextElement(name)) {
        const std::size_t open = markup.FindStartTag(name, at, floor);
        if (open == kNoPosition) return std::nullopt;
        at = open;
        continue;
      }
      closed.push_back(name);
    } else if (item.Kind == TItemKind::StartTag && !item.SelfClosing && !markup.IsVoid(name)) {
      if (PopThrough(markup, closed, name)) continue;
      if (markup.SameName(name, target)) return item;
      // A start tag without its end tag inside the element: passed over.
    }
  }
}

}  // namespace

std::optional<TMarkupItem> TagAtCaret(TMarkupReader& markup, std::size_t pos, THint hint,
                                      std::size_t limit, std::size_t regionLimit) {
  TTextReader& text = markup.Text();
  const auto whole = [&](std::size_t start) -> std::optional<TMarkupItem> {
    const TMarkupItem item = markup.ItemAt(start, start + limit);
    if (IsElementTag(item) && item.Closed) return item;
    return std::nullopt;
  };
  // Where no tag is near the caret, nothing more is read.
  TCaretContext context;
  TagAround(markup, pos, hint, limit, context);
  const bool near = context.InTag || text.At(pos) == '<' ||
                    (pos > 0 && (text.At(pos - 1) == '<' || text.At(pos - 1) == '>'));
  if (!near) return std::nullopt;
  context.Region = RegionAt(markup, pos, hint, regionLimit);
  const TRegion region = context.Region.Region;
  if (context.InTag && region == TRegion::Markup) {
    if (auto item = whole(context.Tag.Start)) return item;
  }
  // Right after the "<", or on it: an end tag of a script or style element
  // starts in its content.
  const bool rawText = region == TRegion::Script || region == TRegion::Style;
  if (pos > 0 && text.At(pos - 1) == '<' && region == TRegion::Markup) {
    if (auto item = whole(pos - 1)) return item;
  }
  if (text.At(pos) == '<' && (region == TRegion::Markup || rawText)) {
    if (auto item = whole(pos)) {
      if (!rawText || item->Kind == TItemKind::EndTag) return item;
    }
  }
  // Right after its ">" (a script's start tag ends where its content begins).
  if (pos > 0 && text.At(pos - 1) == '>' && (region == TRegion::Markup || rawText)) {
    const TMarkupItem item = markup.PrevItem(pos, pos > limit ? pos - limit : 0);
    if (IsElementTag(item) && item.End == pos &&
        (!rawText || item.Start == context.Region.Opener)) {
      return item;
    }
  }
  return std::nullopt;
}

std::optional<TMarkupItem> PartnerTag(TMarkupReader& markup, const TMarkupItem& tag,
                                      std::size_t limit) {
  if (tag.Kind == TItemKind::EndTag) return StartTagOf(markup, tag, limit);
  if (tag.Kind != TItemKind::StartTag || tag.SelfClosing || markup.IsVoid(markup.Name(tag))) {
    return std::nullopt;
  }
  return EndTagOf(markup, tag, limit);
}

std::optional<std::size_t> PartnerBracket(TTextReader& text, std::size_t at, std::size_t limit) {
  const char bracket = text.At(at);
  const char partner = PartnerOf(bracket);
  if (partner == '\0') return std::nullopt;
  const bool styled = text.HasStyles();
  const std::uint8_t style = styled ? text.StyleAt(at) : 0;
  const bool forward = Opens(bracket);
  int depth = 0;
  for (std::size_t steps = 0; steps < limit; ++steps) {
    std::size_t i;
    if (forward) {
      i = at + 1 + steps;
      if (i >= text.Length()) break;
    } else {
      if (steps >= at) break;
      i = at - 1 - steps;
    }
    const char c = text.At(i);
    if (c != bracket && c != partner) continue;
    if (styled && text.StyleAt(i) != style) continue;
    if (c == bracket) {
      ++depth;
    } else if (depth-- == 0) {
      return i;
    }
  }
  return std::nullopt;
}

bool PairMayBeAt(TTextReader& text, std::size_t pos, std::size_t limit) {
  const char before = pos > 0 ? text.At(pos - 1) : '\0';
  const char after = text.At(pos);
  if (PartnerOf(before) != '\0' || PartnerOf(after) != '\0' || before == '<' || before == '>' ||
      after == '<') {
    return true;
  }
  const std::size_t floor = pos > limit ? pos - limit : 0;
  for (std::size_t i = pos; i > floor;) {
    const char c = text.At(--i);
    if (c == '<') return true;
    if (c == '>') return false;
  }
  return false;
}

TPairMarks PairsAt(TMarkupReader& markup, std::size_t pos, THint hint, TBracketScope scope,
                   std::size_t limit, std::size_t regionLimit) {
  TPairMarks marks;
  TTextReader& text = markup.Text();
  if (markup.Flavour() != TMarkupFlavour::None) {
    if (const auto tag = TagAtCaret(markup, pos, hint, limit, regionLimit)) {
      if (const auto partner = PartnerTag(markup, *tag, limit)) {
        marks.Matched = {{tag->Start, tag->End}, {partner->Start, partner->End}};
        std::sort(marks.Matched.begin(), marks.Matched.end(),
                  [](const TRange& a, const TRange& b) { return a.From < b.From; });
        marks.Target = partner->Start;
      }
      return marks;
    }
  }
  // The bracket before the caret, else the one after it.
  std::vector<std::size_t> candidates;
  if (pos > 0 && PartnerOf(text.At(pos - 1)) != '\0') candidates.push_back(pos - 1);
  if (pos < text.Length() && PartnerOf(text.At(pos)) != '\0') candidates.push_back(pos);
  if (candidates.empty()) return marks;
  if (scope == TBracketScope::ScriptParts) {
    const TRegion region = RegionAt(markup, pos, hint, regionLimit).Region;
    if (region != TRegion::Script && region != TRegion::Style && region != TRegion::Instruction &&
        region != TRegion::ServerBlock) {
      return marks;
    }
  }
  for (const std::size_t at : candidates) {
    const auto partner = PartnerBracket(text, at, limit);
    if (!partner) {
      marks.Unmatched = TRange{at, at + 1};
      return marks;
    }
    marks.Matched = {{std::min(at, *partner), std::min(at, *partner) + 1},
                     {std::max(at, *partner), std::max(at, *partner) + 1}};
    // The caret keeps its side: after the partner when it stood after the bracket.
    marks.Target = at + 1 == pos ? *partner + 1 : *partner;
    return marks;
  }
  return marks;
}
