#include "tidy_page.h"

#include <algorithm>
#include <map>
#include <utility>

#include "page_check.h"
#include "page_markup.h"
#include "tidy_session.h"

namespace check {
namespace {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// What Tidy Page never changes: no wrapping, the editor's line ends, no mark
// of its own, attributes, entities, addresses and values as written, and no
// element dropped or merged for being empty or alike.
constexpr std::pair<const char*, const char*> kKeepAsWritten[] = {
    {"wrap", "0"},
    {"newline", "CRLF"},
    {"tidy-mark", "no"},
    {"uppercase-attributes", "preserve"},
    {"preserve-entities", "yes"},
    {"literal-attributes", "yes"},
    {"fix-uri", "no"},
    {"fix-backslash", "no"},
    {"lower-literals", "no"},
    {"drop-empty-elements", "no"},
    {"drop-empty-paras", "no"},
    {"merge-divs", "no"},
    {"merge-spans", "no"},
    {"anchor-as-name", "no"},
    {"join-styles", "no"},
    {"join-classes", "no"},
};

bool IsVoid(const std::string& name) {
  static const char* const kVoid[] = {"area",  "base",    "basefont", "bgsound", "br",
                                      "col",   "embed",   "frame",    "hr",      "img",
                                      "input", "isindex", "keygen",   "link",    "meta",
                                      "param", "source",  "spacer",   "track",   "wbr"};
  return std::find(std::begin(kVoid), std::end(kVoid), name) != std::end(kVoid);
}

struct TEdit {
  std::size_t Begin = 0;
  std::size_t End = 0;
  std::string Replacement;
};

// The page made ready for libtidy: server blocks, the caret and the line
// breaks of running text stand in it as placeholders libtidy keeps, each
// named with a prefix the page does not hold.
struct TPrepared {
  std::string Text;
  std::string Prefix;
  int LineBreaks = 0;
};

std::string FreePrefix(std::string_view text) {
  for (int n = 0;; ++n) {
    std::string prefix = "vexa" + std::to_string(n) + "-";
    if (text.find(prefix) == std::string_view::npos) return prefix;
  }
}

std::size_t CaretOutsideMarkup(std::size_t caret, const TPageMarkup& m) {
  const auto out = [&caret](std::size_t begin, std::size_t end) {
    if (caret > begin && caret < end) caret = begin;
  };
  for (const TRawText& raw : m.RawTexts) out(m.Tags[raw.Tag].Begin, raw.End);
  for (const TTag& tag : m.Tags) out(tag.Begin, tag.End);
  for (const TRange& c : m.Comments) out(c.Begin, c.End);
  for (const TBlock& b : m.Blocks) out(b.Begin, b.End);
  return caret;
}

TPrepared Prepare(std::string_view text, const TPageMarkup& m, std::size_t caret,
                  bool keepLineBreaks) {
  TPrepared p;
  p.Prefix = FreePrefix(text);
  std::vector<TEdit> edits;
  for (std::size_t i = 0; i < m.Blocks.size(); ++i) {
    const std::string token = p.Prefix + "b" + std::to_string(i);
    std::string replacement;
    switch (m.Blocks[i].Context) {
      case TBlockContext::Text:
        replacement = "<!--" + token + "-->";
        break;
      case TBlockContext::Tag:
        replacement = " " + token + " ";  // an attribute of its own
        break;
      case TBlockContext::Value:
      case TBlockContext::Raw:
      case TBlockContext::Comment:
        replacement = token;
        break;
    }
    edits.push_back({m.Blocks[i].Begin, m.Blocks[i].End, std::move(replacement)});
  }
  if (keepLineBreaks) {
    for (const TText& run : m.Texts) {
      if (run.Preformatted) continue;
      std::size_t i = run.Begin;
      while (i < run.End) {
        if (!IsSpace(text[i])) {
          ++i;
          continue;
        }
        const std::size_t begin = i;
        bool lineBreak = false;
        for (; i < run.End && IsSpace(text[i]); ++i) {
          if (text[i] == '\n' || text[i] == '\r') lineBreak = true;
        }
        // Only a break with words on both sides within the run: breaks next
        // to tags are libtidy's to lay out.
        if (lineBreak && begin > run.Begin && i < run.End) {
          edits.push_back({begin, i, "<!--" + p.Prefix + "n-->"});
          ++p.LineBreaks;
        }
      }
    }
  }
  std::sort(edits.begin(), edits.end(),
            [](const TEdit& a, const TEdit& b) { return a.Begin < b.Begin; });
  caret = CaretOutsideMarkup(std::min(caret, text.size()), m);
  for (const TEdit& e : edits) {
    if (caret > e.Begin && caret < e.End) caret = e.Begin;
  }
  const std::string caretMark = "<!--" + p.Prefix + "c-->";
  std::size_t at = 0;
  bool caretPlaced = false;
  for (const TEdit& e : edits) {
    if (!caretPlaced && caret <= e.Begin) {
      p.Text.append(text.substr(at, caret - at));
      p.Text += caretMark;
      at = caret;
      caretPlaced = true;
    }
    p.Text.append(text.substr(at, e.Begin - at));
    p.Text += e.Replacement;
    at = e.End;
  }
  if (!caretPlaced) {
    p.Text.append(text.substr(at, caret - at));
    p.Text += caretMark;
    at = caret;
  }
  p.Text.append(text.substr(at));
  return p;
}

// Puts the blocks, line breaks and caret back in libtidy's output. False when
// a placeholder went missing or came twice.
bool Restore(std::string_view out, std::string_view original, const TPageMarkup& m,
             const TPrepared& p, std::string& text, std::size_t& caret) {
  std::vector<int> seen(m.Blocks.size(), 0);
  int lineBreaks = 0;
  bool caretFound = false;
  text.clear();
  std::size_t at = 0;
  for (std::size_t hit = out.find(p.Prefix); hit != std::string_view::npos;
       hit = out.find(p.Prefix, at)) {
    std::size_t begin = hit;
    std::size_t end = hit + p.Prefix.size();
    const char kind = end < out.size() ? out[end] : '\0';
    ++end;
    std::size_t number = 0;
    const std::size_t digits = end;
    while (end < out.size() && out[end] >= '0' && out[end] <= '9') {
      number = number * 10 + static_cast<std::size_t>(out[end++] - '0');
    }
    const bool comment =
        begin >= 4 && out.compare(begin - 4, 4, "<!--") == 0 && out.compare(end, 3, "-->") == 0;
    if (comment) {
      begin -= 4;
      end += 3;
    } else if (out.compare(end, 3, "=\"\"") == 0) {
      end += 3;  // a block that stood among the attributes
    }
    text.append(out.substr(at, begin - at));
    at = end;
    if (kind == 'b' && end > digits && number < seen.size()) {
      ++seen[number];
      const TBlock& b = m.Blocks[number];
      text.append(original.substr(b.Begin, b.End - b.Begin));
    } else if (kind == 'n' && comment) {
      ++lineBreaks;
      const std::size_t lineStart = text.find_last_of('\n') + 1;  // npos + 1 is 0
      std::size_t indentEnd = lineStart;
      while (indentEnd < text.size() && IsBlank(text[indentEnd])) ++indentEnd;
      const std::string indent = text.substr(lineStart, indentEnd - lineStart);
      text += "\r\n" + indent;
    } else if (kind == 'c' && comment && !caretFound) {
      caretFound = true;
      caret = text.size();
      // A caret that libtidy left at the end of a line belongs to the element
      // that starts the next one; a line the mark had to itself goes.
      std::size_t next = end;
      while (next < out.size() && IsBlank(out[next])) ++next;
      if (next < out.size() && (out[next] == '\r' || out[next] == '\n')) {
        next += out.compare(next, 2, "\r\n") == 0 ? 2 : 1;
        std::size_t indentEnd = next;
        while (indentEnd < out.size() && IsBlank(out[indentEnd])) ++indentEnd;
        const std::size_t lineStart = text.find_last_of('\n') + 1;  // npos + 1 is 0
        if (std::all_of(text.begin() + static_cast<std::ptrdiff_t>(lineStart), text.end(),
                        IsBlank)) {
          text.erase(lineStart);
          at = next;
          caret = text.size() + (indentEnd - next);
        } else {
          caret = text.size() + (indentEnd - end);
        }
      }
    } else {
      return false;
    }
  }
  text.append(out.substr(at));
  if (!caretFound) caret = 0;
  return lineBreaks == p.LineBreaks &&
         std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; });
}

// libtidy writes tag names in lower case; they get back the spelling the page
// gave them. Start tags and end tags are matched in order, by name, with the
// page's own; a tag libtidy added is spelt as its element's start tag, as its
// name is elsewhere in the page, or in the page's case.
class TRecaser {
 public:
  explicit TRecaser(const TPageMarkup& original) {
    int upper = 0;
    int lower = 0;
    for (const TTag& t : original.Tags) {
      (t.EndTag ? Ends_ : Starts_).push_back(&t);
      SpellingOf_.emplace(t.Name, t.Spelling);
      const auto has = [&t](char from, char to) {
        return std::any_of(t.Spelling.begin(), t.Spelling.end(),
                           [=](char c) { return c >= from && c <= to; });
      };
      upper += has('A', 'Z') && !has('a', 'z') ? 1 : 0;
      lower += has('a', 'z') ? 1 : 0;
    }
    Upper_ = upper > lower;
  }

  void Apply(std::string& text, bool blocks) {
    std::vector<std::pair<std::string, std::string>> open;  // name, spelling
    for (const TTag& t : ScanMarkup(text, blocks).Tags) {
      std::string spelling =
          Next(t.EndTag ? Ends_ : Starts_, t.EndTag ? NextEnd_ : NextStart_, t.Name);
      if (!t.EndTag) {
        if (spelling.empty()) spelling = Fallback(t.Name);
        if (!IsVoid(t.Name)) open.emplace_back(t.Name, spelling);
      } else {
        const auto it = std::find_if(open.rbegin(), open.rend(),
                                     [&](const auto& o) { return o.first == t.Name; });
        if (spelling.empty()) spelling = it != open.rend() ? it->second : Fallback(t.Name);
        if (it != open.rend()) open.erase(std::next(it).base(), open.end());
      }
      if (spelling.size() == t.Spelling.size()) {
        text.replace(t.Begin + (t.EndTag ? 2 : 1), spelling.size(), spelling);
      }
    }
  }

 private:
  static std::string Next(const std::vector<const TTag*>& tags, std::size_t& next,
                          const std::string& name) {
    for (std::size_t k = next; k < tags.size() && k < next + 64; ++k) {
      if (tags[k]->Name == name) {
        next = k + 1;
        return tags[k]->Spelling;
      }
    }
    return {};
  }

  std::string Fallback(const std::string& name) const {
    if (auto it = SpellingOf_.find(name); it != SpellingOf_.end()) return it->second;
    std::string s = name;
    if (Upper_) {
      for (char& c : s) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    return s;
  }

  std::vector<const TTag*> Starts_;
  std::vector<const TTag*> Ends_;
  std::map<std::string, std::string> SpellingOf_;
  std::size_t NextStart_ = 0;
  std::size_t NextEnd_ = 0;
  bool Upper_ = false;
};

bool HasTagNamed(const TPageMarkup& m, std::initializer_list<const char*> names) {
  for (const TTag& t : m.Tags) {
    for (const char* n : names) {
      if (t.Name == n) return true;
    }
  }
  return false;
}

bool IsXhtml(std::string_view text, const TPageMarkup& m) {
  for (const TRange& c : m.Comments) {
    const std::string declaration = AsciiLower(text.substr(c.Begin, c.End - c.Begin));
    if (declaration.compare(0, 5, "<?xml") == 0) return true;
    if (declaration.compare(0, 9, "<!doctype") == 0) {
      return declaration.find("xhtml") != std::string::npos;
    }
  }
  return false;
}

bool HasDoctype(std::string_view text, const TPageMarkup& m) {
  for (const TRange& c : m.Comments) {
    if (AsciiLower(text.substr(c.Begin, std::min<std::size_t>(9, c.End - c.Begin))) == "<!doctype")
      return true;
  }
  return false;
}

}  // namespace

TTidyPageResult TidyPage(std::string_view text, bool utf8, bool blocks, std::size_t caret,
                         const TTidyOptions& options) {
  TTidyPageResult result;
  const TPageMarkup markup = ScanMarkup(text, blocks);
  const bool fragment = !HasTagNamed(markup, {"html", "head", "body"});
  if (fragment && HasTagNamed(markup, {"title", "meta", "link", "base"})) {
    result.Refused = true;
    result.Reason =
        "A part of a page with head elements (title, meta, link, base) and no "
        "<html>, <head> or <body> of its own is not tidied alone.";
    return result;
  }

  for (const bool lineBreaks : {options.KeepLineBreaks, false}) {
    const TPrepared prepared = Prepare(text, markup, caret, lineBreaks);
    TTidySession tidy(utf8);
    tidy.Set("indent", options.Indent ? "auto" : "no");
    tidy.Set("indent-spaces", std::to_string(std::clamp(options.IndentSpaces, 0, 8)).c_str());
    tidy.Set("indent-with-tabs", options.IndentWithTabs ? "yes" : "no");
    for (const auto& [option, value] : kKeepAsWritten) tidy.Set(option, value);
    tidy.Set("doctype", HasDoctype(text, markup) ? "auto" : "omit");
    tidy.Set("show-body-only", fragment ? "yes" : "no");
    if (IsXhtml(text, markup)) tidy.Set("output-xhtml", "yes");
    tidy.Run(prepared.Text, nullptr);
    std::string out;
    if (tidy.ErrorCount() > 0 || !tidy.Output(out)) {
      // What libtidy cannot repair is listed as Check Page lists it.
      result.Refused = true;
      result.Problems = CheckHtml(text, utf8, blocks, false);
      return result;
    }
    std::string restored;
    std::size_t restoredCaret = 0;
    if (Restore(out, text, markup, prepared, restored, restoredCaret)) {
      TRecaser(markup).Apply(restored, blocks);
      result.Text = std::move(restored);
      result.Caret = restoredCaret;
      return result;
    }
    // A placeholder lost: once more without the line breaks, then give up.
  }
  result.Refused = true;
  result.Reason = "The page cannot be tidied without changing a PHP or ASP block.";
  return result;
}

}  // namespace check
