#include "markup_scan.h"

#include <algorithm>
#include <array>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

template <std::size_t N>
bool InList(const std::array<std::string_view, N>& list, std::string_view name) {
  return std::any_of(list.begin(), list.end(),
                     [name](std::string_view item) { return EqualNoCase(item, name); });
}

constexpr std::array<std::string_view, 17> kVoidElements = {
    "area", "base",  "br",     "col",   "embed", "hr",       "img",   "input",  "link",
    "meta", "param", "source", "track", "wbr",   "basefont", "frame", "isindex"};

constexpr std::array<std::string_view, 2> kRawTextElements = {"script", "style"};

}  // namespace

bool IsVoidElement(std::string_view name) { return InList(kVoidElements, name); }
bool IsRawTextElement(std::string_view name) { return InList(kRawTextElements, name); }

bool TMarkupReader::IsNameStart(char c) const {
  return IsLetter(c) || (Flavour_ == TMarkupFlavour::Xml && (c == '_' || c == ':'));
}

bool TMarkupReader::IsNameByte(char c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.' ||
         static_cast<unsigned char>(c) >= 0x80;
}

TMarkupItem TMarkupReader::Until(TItemKind kind, std::size_t at, std::size_t from,
                                 std::string_view close, std::size_t bound) {
  TMarkupItem item;
  item.Kind = kind;
  item.Start = at;
  const std::size_t end = Find(close, from, bound);
  item.Closed = end != kNoPosition;
  item.End = item.Closed ? end + close.size() : std::min(bound, Text_.Length());
  return item;
}

TMarkupItem TMarkupReader::ItemAt(std::size_t at, std::size_t bound) {
  bound = std::min(bound, Text_.Length());
  if (at + 1 >= bound || Text_.At(at) != '<') return {};
  const char next = Text_.At(at + 1);
  if (next == '!') {
    if (Text_.Matches(at, "<!--")) return Until(TItemKind::Comment, at, at + 2, "-->", bound);
    if (Text_.Matches(at, "<![CDATA[")) return Until(TItemKind::CData, at, at + 9, "]]>", bound);
    return Until(TItemKind::Declaration, at, at + 2, ">", bound);
  }
  if (next == '?') return Until(TItemKind::Instruction, at, at + 2, "?>", bound);
  if (next == '%') return Until(TItemKind::ServerBlock, at, at + 2, "%>", bound);
  if (next == '/') {
    if (at + 2 < bound && IsNameStart(Text_.At(at + 2))) return TagAt(at, bound, true);
    return {};
  }
  if (IsNameStart(next)) return TagAt(at, bound, false);
  return {};
}

TMarkupItem TMarkupReader::TagAt(std::size_t at, std::size_t bound, bool end) {
  TMarkupItem item;
  item.Kind = end ? TItemKind::EndTag : TItemKind::StartTag;
  item.Start = at;
  std::size_t i = at + (end ? 2 : 1);
  item.NameStart = i;
  while (i < bound && IsNameByte(Text_.At(i))) ++i;
  item.NameEnd = i;
  bool afterEquals = false;
  while (i < bound) {
    const char c = Text_.At(i);
    if (c == '>') {
      item.Closed = true;
      item.SelfClosing = !end && i > item.NameEnd && Text_.At(i - 1) == '/';
      item.End = i + 1;
      return item;
    }
    if (c == '<') {
      // Server code inside a tag is part of it; any other "<" means this tag
      // was never finished.
      const char next = i + 1 < bound ? Text_.At(i + 1) : '\0';
      if (next == '?' || next == '%') {
        const std::size_t close = Find(next == '?' ? "?>" : "%>", i + 2, bound);
        if (close == kNoPosition) break;
        i = close + 2;
        afterEquals = false;
        continue;
      }
      item.End = i;
      return item;
    }
    if (!end && afterEquals && (c == '"' || c == '\'')) {
      const std::size_t close = Find(std::string_view(&c, 1), i + 1, bound);
      if (close == kNoPosition) {
        item.InQuote = true;
        break;
      }
      i = close + 1;
      afterEquals = false;
      continue;
    }
    if (c == '=') {
      afterEquals = true;
    } else if (!IsSpace(c)) {
      afterEquals = false;
    }
    ++i;
  }
  item.End = bound;
  return item;
}

TMarkupItem TMarkupReader::NextItem(std::size_t from, std::size_t bound) {
  bound = std::min(bound, Text_.Length());
  for (std::size_t i = from; i < bound; ++i) {
    if (Text_.At(i) != '<') continue;
    TMarkupItem item = ItemAt(i, bound);
    if (item.Kind != TItemKind::None) return item;
  }
  return {};
}

TMarkupItem TMarkupReader::PrevItem(std::size_t before, std::size_t floor) {
  std::size_t pos = std::min(before, Text_.Length());
  while (pos > floor) {
    const std::size_t g = PrevAngle(pos, floor);
    if (g == kNoPosition) return {};
    pos = g;
    if (Text_.At(g) != '>') continue;
    // What ends at this ">": a comment, a block, a section or a tag.
    struct Ending {
      std::string_view Close;
      std::string_view Open;
      TItemKind Kind;
    };
    static constexpr Ending kEndings[] = {{"-->", "<!--", TItemKind::Comment},
                                          {"?>", "<?", TItemKind::Instruction},
                                          {"%>", "<%", TItemKind::ServerBlock},
                                          {"]]>", "<![CDATA[", TItemKind::CData}};
    std::size_t start = kNoPosition;
    TItemKind kind = TItemKind::None;
    for (const Ending& e : kEndings) {
      if (g + 1 >= e.Close.size() && g + 1 - e.Close.size() >= floor &&
          Text_.Matches(g + 1 - e.Close.size(), e.Close)) {
        // The opener may overlap the closer ("<!-->" is a whole comment); the
        // item read from it must end here.
        start = FindBack(e.Open, g + 1, floor);
        kind = e.Kind;
        break;
      }
    }
    if (kind == TItemKind::None) {
      // A tag: its "<" is the last one before this ">" with no other ">"
      // between them outside quotes.
      std::size_t i = g;
      while (i > floor) {
        --i;
        const char c = Text_.At(i);
        if (c == '<') {
          start = i;
          break;
        }
        if (c == '>') break;
        if (c == '"' || c == '\'') {
          const std::size_t open = FindBack(std::string_view(&c, 1), i, floor);
          if (open == kNoPosition) break;
          i = open;
        }
      }
    }
    if (start == kNoPosition) continue;
    TMarkupItem item = ItemAt(start, g + 1);
    if (item.Kind != TItemKind::None && item.Closed && item.End == g + 1) return item;
  }
  return {};
}

std::string TMarkupReader::Name(const TMarkupItem& item) {
  return Text_.Copy(item.NameStart, item.NameEnd);
}

bool TMarkupReader::SameName(std::string_view a, std::string_view b) const {
  return Flavour_ == TMarkupFlavour::Xml ? a == b : EqualNoCase(a, b);
}

bool TMarkupReader::IsVoid(std::string_view name) const {
  return Flavour_ == TMarkupFlavour::Html && IsVoidElement(name);
}

bool TMarkupReader::OpensRawText(const TMarkupItem& item) {
  return Flavour_ == TMarkupFlavour::Html && item.Kind == TItemKind::StartTag && item.Closed &&
         IsRawTextElement(Name(item));
}

std::size_t TMarkupReader::FindEndTag(std::string_view name, std::size_t from, std::size_t bound) {
  const std::string needle = "</" + std::string(name);
  for (std::size_t at = from;; ++at) {
    at = Find(needle, at, bound, true);
    if (at == kNoPosition) return kNoPosition;
    const char after = Text_.At(at + needle.size());
    if (after == '>' || IsSpace(after) || after == '\0') return at;
  }
}

std::size_t TMarkupReader::FindStartTag(std::string_view name, std::size_t before,
                                        std::size_t floor) {
  const std::string needle = "<" + std::string(name);
  std::size_t end = before;
  for (;;) {
    const std::size_t at = FindBack(needle, end, floor, true);
    if (at == kNoPosition) return kNoPosition;
    const char after = Text_.At(at + needle.size());
    if (after == '>' || after == '/' || IsSpace(after)) return at;
    end = at + needle.size() - 1;
  }
}

std::size_t TMarkupReader::EndTagAfter(std::size_t pos, std::string_view name) {
  // Blanks and line breaks between them do not make a second element.
  constexpr std::size_t kLookAhead = 4096;
  std::size_t i = pos;
  while (i < Text_.Length() && i - pos < kLookAhead && IsSpace(Text_.At(i))) ++i;
  if (!Text_.Matches(i, "</")) return kNoPosition;
  const std::string found = Text_.Copy(i + 2, i + 2 + name.size());
  if (!SameName(found, name)) return kNoPosition;
  const char after = Text_.At(i + 2 + name.size());
  return after == '>' || IsSpace(after) || after == '\0' ? i : kNoPosition;
}

std::size_t TMarkupReader::PrevAngle(std::size_t before, std::size_t floor) {
  return Text_.FindBack2(std::min(before, Text_.Length()), floor, '<', '>');
}

std::size_t TMarkupReader::Find(std::string_view needle, std::size_t from, std::size_t bound,
                                bool ignoreCase) {
  bound = std::min(bound, Text_.Length());
  if (needle.empty() || bound < needle.size()) return kNoPosition;
  const char first = Lower(needle[0]);
  for (std::size_t i = from; i + needle.size() <= bound; ++i) {
    const char c = Text_.At(i);
    if ((ignoreCase ? Lower(c) : c) != (ignoreCase ? first : needle[0])) continue;
    if (Text_.Matches(i, needle, ignoreCase)) return i;
  }
  return kNoPosition;
}

std::size_t TMarkupReader::FindBack(std::string_view needle, std::size_t before, std::size_t floor,
                                    bool ignoreCase) {
  before = std::min(before, Text_.Length());
  if (needle.empty() || before < needle.size()) return kNoPosition;
  for (std::size_t i = before - needle.size() + 1; i > floor;) {
    --i;
    if (Text_.Matches(i, needle, ignoreCase)) return i;
  }
  return kNoPosition;
}
