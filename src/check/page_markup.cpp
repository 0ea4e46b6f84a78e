#include "page_markup.h"

#include <algorithm>

namespace check {
namespace {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}
constexpr bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view word) {
  if (at + word.size() > s.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (Lower(s[at + i]) != word[i]) return false;
  }
  return true;
}

bool IsRawElement(std::string_view name) {
  return name == "script" || name == "style" || name == "title" || name == "textarea" ||
         name == "xmp";
}

class TScanner {
 public:
  TScanner(std::string_view text, bool blocks, TPageMarkup& markup)
      : S_(text), N_(text.size()), Blocks_(blocks), M_(markup) {}

  void Run() {
    std::size_t i = 0;
    while (i < N_) {
      const std::size_t lt = S_.find('<', i);
      if (lt == std::string_view::npos) {
        AddText(i, N_);
        break;
      }
      AddText(i, lt);
      i = Markup(lt);
    }
  }

 private:
  // Whatever starts at a "<" in text; returns where the text goes on.
  std::size_t Markup(std::size_t lt) {
    if (AtBlock(lt)) return SkipBlock(lt, TBlockContext::Text);
    const char next = lt + 1 < N_ ? S_[lt + 1] : '\0';
    if (S_.compare(lt, 4, "<!--") == 0) return Comment(lt);
    if (next == '!' || next == '?') return Declaration(lt);
    if (next == '/' && lt + 2 < N_ && IsLetter(S_[lt + 2])) return Tag(lt, true);
    if (next == '/') return Declaration(lt);
    if (IsLetter(next)) {
      const std::size_t end = Tag(lt, false);
      const TTag& tag = M_.Tags.back();
      if (tag.Name == "pre" || tag.Name == "listing") ++Preformatted_;
      return IsRawElement(tag.Name) ? RawContent(end, M_.Tags.size() - 1) : end;
    }
    // A "<" that opens nothing is text.
    AddText(lt, lt + 1);
    return lt + 1;
  }

  void AddText(std::size_t begin, std::size_t end) {
    if (begin >= end) return;
    if (!M_.Texts.empty() && M_.Texts.back().End == begin) {
      M_.Texts.back().End = end;
      return;
    }
    M_.Texts.push_back({begin, end, Preformatted_ > 0});
  }

  bool AtBlock(std::size_t i) const {
    if (!Blocks_ || S_[i] != '<' || i + 1 >= N_) return false;
    if (S_[i + 1] == '%') return true;
    if (S_[i + 1] != '?') return false;
    // An XML declaration or style sheet instruction is no PHP.
    return !(StartsWithNoCase(S_, i + 2, "xml") &&
             (i + 5 >= N_ || IsSpace(S_[i + 5]) || S_[i + 5] == '-'));
  }

  std::size_t SkipBlock(std::size_t at, TBlockContext context) {
    const std::size_t end = S_[at + 1] == '%' ? AspEnd(at + 2) : PhpEnd(at + 2);
    M_.Blocks.push_back({at, end, context});
    return end;
  }

  // ASP ends its block at the first "%>", inside a string too.
  std::size_t AspEnd(std::size_t from) const {
    const std::size_t close = S_.find("%>", from);
    return close == std::string_view::npos ? N_ : close + 2;
  }

  // PHP ends its block at "?>" outside strings and block comments; a line
  // comment ends at the line end or at "?>".
  std::size_t PhpEnd(std::size_t i) const {
    while (i < N_) {
      const char c = S_[i];
      if (c == '?' && i + 1 < N_ && S_[i + 1] == '>') return i + 2;
      if (c == '\'' || c == '"' || c == '`') {
        i = StringEnd(i);
      } else if (c == '/' && i + 1 < N_ && S_[i + 1] == '*') {
        const std::size_t close = S_.find("*/", i + 2);
        i = close == std::string_view::npos ? N_ : close + 2;
      } else if (c == '#' || (c == '/' && i + 1 < N_ && S_[i + 1] == '/')) {
        while (i < N_ && S_[i] != '\n' && S_[i] != '\r' &&
               !(S_[i] == '?' && i + 1 < N_ && S_[i + 1] == '>')) {
          ++i;
        }
      } else if (S_.compare(i, 3, "<<<") == 0) {
        i = HeredocEnd(i + 3);
      } else {
        ++i;
      }
    }
    return N_;
  }

  std::size_t StringEnd(std::size_t open) const {
    const char quote = S_[open];
    for (std::size_t i = open + 1; i < N_; ++i) {
      if (S_[i] == '\\') {
        ++i;
      } else if (S_[i] == quote) {
        return i + 1;
      }
    }
    return N_;
  }

  // "<<<ID", "<<<'ID'" or "<<<\"ID\"": the text up to a line that starts
  // with ID (after blanks) belongs to the string.
  std::size_t HeredocEnd(std::size_t i) const {
    while (i < N_ && (S_[i] == ' ' || S_[i] == '\t')) ++i;
    if (i < N_ && (S_[i] == '\'' || S_[i] == '"')) ++i;
    const std::size_t idBegin = i;
    while (i < N_ && (IsLetter(S_[i]) || S_[i] == '_' || (S_[i] >= '0' && S_[i] <= '9'))) ++i;
    const std::string_view id = S_.substr(idBegin, i - idBegin);
    if (id.empty()) return i;
    for (std::size_t line = S_.find('\n', i); line != std::string_view::npos;
         line = S_.find('\n', line + 1)) {
      std::size_t j = line + 1;
      while (j < N_ && (S_[j] == ' ' || S_[j] == '\t')) ++j;
      if (S_.compare(j, id.size(), id) == 0) return j + id.size();
    }
    return N_;
  }

  // "<!--" to "-->"; blocks inside a comment still run on the server.
  std::size_t Comment(std::size_t lt) {
    std::size_t i = lt + 4;
    while (i < N_) {
      if (S_.compare(i, 3, "-->") == 0) {
        i += 3;
        M_.Comments.push_back({lt, i});
        return i;
      }
      i = AtBlock(i) ? SkipBlock(i, TBlockContext::Comment) : i + 1;
    }
    M_.Comments.push_back({lt, N_});
    return N_;
  }

  // "<!DOCTYPE …>", "<?xml …?>" and other declarations, to the next ">".
  std::size_t Declaration(std::size_t lt) {
    std::size_t i = lt + 2;
    while (i < N_ && S_[i] != '>') i = AtBlock(i) ? SkipBlock(i, TBlockContext::Tag) : i + 1;
    const std::size_t end = i < N_ ? i + 1 : N_;
    M_.Comments.push_back({lt, end});
    return end;
  }

  std::size_t Tag(std::size_t lt, bool endTag) {
    TTag tag;
    tag.Begin = lt;
    tag.EndTag = endTag;
    std::size_t i = lt + (endTag ? 2 : 1);
    const std::size_t nameBegin = i;
    while (i < N_ && !IsSpace(S_[i]) && S_[i] != '/' && S_[i] != '>' && S_[i] != '<') ++i;
    tag.Spelling = std::string(S_.substr(nameBegin, i - nameBegin));
    tag.Name = AsciiLower(tag.Spelling);
    while (i < N_) {
      const char c = S_[i];
      if (c == '>') {
        ++i;
        break;
      }
      if (AtBlock(i)) {
        i = SkipBlock(i, TBlockContext::Tag);
      } else if (c == '<') {
        break;  // a tag left open: the next one begins here
      } else if (IsSpace(c) || c == '/') {
        ++i;
      } else {
        i = Attribute(i, tag);
      }
    }
    tag.End = i;
    if (endTag) {
      tag.Attributes.clear();
      if ((tag.Name == "pre" || tag.Name == "listing") && Preformatted_ > 0) --Preformatted_;
    }
    M_.Tags.push_back(std::move(tag));
    return i;
  }

  std::size_t Attribute(std::size_t i, TTag& tag) {
    TAttribute a;
    a.NameOffset = i;
    ++i;  // the first character belongs to the name, even a "="
    while (i < N_ && !IsSpace(S_[i]) && S_[i] != '/' && S_[i] != '>' && S_[i] != '=' &&
           S_[i] != '<') {
      ++i;
    }
    a.Name = AsciiLower(S_.substr(a.NameOffset, i - a.NameOffset));
    std::size_t j = i;
    while (j < N_ && IsSpace(S_[j])) ++j;
    if (j < N_ && S_[j] == '=') {
      ++j;
      while (j < N_ && IsSpace(S_[j])) ++j;
      a.HasValue = true;
      if (j < N_ && (S_[j] == '"' || S_[j] == '\'')) {
        const char quote = S_[j++];
        a.ValueBegin = j;
        while (j < N_ && S_[j] != quote)
          j = AtBlock(j) ? SkipBlock(j, TBlockContext::Value) : j + 1;
        a.ValueEnd = j;
        if (j < N_) ++j;
      } else {
        a.ValueBegin = j;
        while (j < N_ && !IsSpace(S_[j]) && S_[j] != '>') {
          j = AtBlock(j) ? SkipBlock(j, TBlockContext::Value) : j + 1;
        }
        a.ValueEnd = j;
      }
      i = j;
    }
    tag.Attributes.push_back(std::move(a));
    return i;
  }

  // The content of a script, style, title, textarea or xmp element runs to
  // its end tag; nothing in it is markup but server blocks.
  std::size_t RawContent(std::size_t begin, std::size_t tagIndex) {
    const std::string name = M_.Tags[tagIndex].Name;
    std::size_t i = begin;
    while (i < N_) {
      if (S_[i] == '<' && i + 1 < N_ && S_[i + 1] == '/' && StartsWithNoCase(S_, i + 2, name)) {
        const std::size_t after = i + 2 + name.size();
        if (after >= N_ || IsSpace(S_[after]) || S_[after] == '>' || S_[after] == '/') break;
      }
      i = AtBlock(i) ? SkipBlock(i, TBlockContext::Raw) : i + 1;
    }
    M_.RawTexts.push_back({begin, i, tagIndex});
    return i;
  }

  std::string_view S_;
  std::size_t N_;
  bool Blocks_;
  TPageMarkup& M_;
  int Preformatted_ = 0;
};

}  // namespace

const TAttribute* TTag::Find(std::string_view name) const {
  for (const TAttribute& a : Attributes) {
    if (a.Name == name) return &a;
  }
  return nullptr;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), Lower);
  return out;
}

TPageMarkup ScanMarkup(std::string_view text, bool blocks) {
  TPageMarkup markup;
  TScanner(text, blocks, markup).Run();
  return markup;
}

std::string MaskBlocks(std::string_view text, const std::vector<TBlock>& blocks) {
  std::string out(text);
  for (const TBlock& b : blocks) {
    const char fill = b.Context == TBlockContext::Value ? 'x' : ' ';
    for (std::size_t i = b.Begin; i < b.End && i < out.size(); ++i) {
      if (out[i] != '\r' && out[i] != '\n') out[i] = fill;
    }
  }
  return out;
}

}  // namespace check
