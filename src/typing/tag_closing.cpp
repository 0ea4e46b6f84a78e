#include "tag_closing.h"

#include <algorithm>
#include <vector>

std::string ClosingTagFor(TMarkupReader& markup, std::size_t pos, THint hint, std::size_t limit) {
  if (markup.Flavour() == TMarkupFlavour::None) return {};
  const TCaretContext context = ContextAt(markup, pos, hint, limit);
  if (context.Region.Region != TRegion::Markup || !context.InTag || context.InValue) return {};
  if (context.Tag.Kind != TItemKind::StartTag) return {};
  if (markup.Text().At(pos - 1) == '/') return {};
  const std::string name = markup.Name(context.Tag);
  if (name.empty() || markup.IsVoid(name)) return {};
  if (markup.EndTagFollows(pos, name)) return {};
  return "</" + name + ">";
}

TEndTag EndTagAt(TMarkupReader& markup, std::size_t pos, THint hint, std::size_t limit) {
  TEndTag tag;
  if (markup.Flavour() == TMarkupFlavour::None) return tag;
  if (pos == 0 || markup.Text().At(pos - 1) != '<') return tag;
  const TRegionAt region = RegionAt(markup, pos, hint, limit);
  if (region.Region == TRegion::Script || region.Region == TRegion::Style) {
    // "</" ends a script or style element's raw content whatever it holds.
    tag.Name = markup.Name(markup.ItemAt(region.Opener, pos));
  } else if (region.Region == TRegion::Markup && hint != THint::Value) {
    tag.Name = InnermostOpenElement(markup, pos - 1, limit);
  }
  if (!tag.Name.empty()) tag.Existing = markup.EndTagAfter(pos, tag.Name);
  return tag;
}

std::string EndTagCompletion(TMarkupReader& markup, std::size_t pos, THint hint,
                             std::size_t limit) {
  const TEndTag tag = EndTagAt(markup, pos, hint, limit);
  if (tag.Name.empty() || tag.Existing != kNoPosition) return {};
  return tag.Name + ">";
}

void TTypeOver::Start(std::size_t start, std::string text, std::size_t consumed,
                      std::size_t length) {
  Text_ = std::move(text);
  FromEnd_ = length - start;
  Consumed_ = consumed;
}

TTypeOver::TStep TTypeOver::Key(char c, std::size_t caret, TTextReader& text) {
  if (Text_.empty()) return TStep::None;
  const std::size_t start = TagStart(text.Length());
  // The caret where the typing left it, before the bytes still to type.
  if (text.Length() < FromEnd_ || caret != start + Consumed_ || !text.Matches(start, Text_)) {
    Stop();
    return TStep::None;
  }
  if (Text_[Consumed_] != c) return TStep::Diverge;
  if (++Consumed_ == Text_.size()) Stop();
  return TStep::Over;
}

std::string InnermostOpenElement(TMarkupReader& markup, std::size_t pos, std::size_t limit,
                                 TMarkupItem* found) {
  const std::size_t floor = pos > limit ? pos - limit : 0;
  const bool html = markup.Flavour() == TMarkupFlavour::Html;
  std::vector<std::string> closed;  // end tags met going back, the innermost last
  for (std::size_t at = pos;;) {
    const TMarkupItem item = markup.PrevItem(at, floor);
    if (item.Kind == TItemKind::None) return {};
    at = item.Start;
    if (item.Kind == TItemKind::EndTag) {
      std::string name = markup.Name(item);
      if (html && IsRawTextElement(name)) {
        // Raw content may hold anything: the element is passed over whole.
        const std::size_t open = markup.FindStartTag(name, at, floor);
        if (open == kNoPosition) return {};
        at = open;
        continue;
      }
      closed.push_back(std::move(name));
      continue;
    }
    if (item.Kind != TItemKind::StartTag || item.SelfClosing) continue;
    const std::string name = markup.Name(item);
    if (markup.IsVoid(name)) continue;
    if (closed.empty()) {
      if (found != nullptr) *found = item;
      return name;
    }
    const auto match = std::find_if(closed.rbegin(), closed.rend(),
                                    [&](const std::string& c) { return markup.SameName(c, name); });
    // An element whose end tag is missing was closed by one around it.
    if (match != closed.rend()) closed.erase(std::next(match).base(), closed.end());
  }
}
