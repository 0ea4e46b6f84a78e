#include "references.h"

#include <cstdlib>

#include "utf8_text.h"

namespace check {
namespace {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}
constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Which attributes of which elements hold a single address.
bool HoldsAddress(const std::string& element, const std::string& attribute) {
  if (attribute == "href") return element != "base";
  if (attribute == "src") return true;
  if (attribute == "background") return true;
  if (attribute == "poster") return element == "video";
  if (attribute == "data") return element == "object";
  return false;
}

struct TAdder {
  std::vector<TReference>& Out;

  // A reference within a value that starts at `offset`, blanks around it left out.
  void Add(std::size_t offset, std::string_view raw) {
    const std::string_view trimmed = Trim(raw);
    if (trimmed.empty()) return;
    const std::size_t lead = static_cast<std::size_t>(trimmed.data() - raw.data());
    Out.push_back({offset + lead, DecodeCharacterReferences(trimmed)});
  }

  // "a.png 1x, b.png 2x": an address, then a descriptor, up to each comma.
  void AddSrcset(std::size_t offset, std::string_view value) {
    std::size_t i = 0;
    while (i < value.size()) {
      while (i < value.size() && (IsSpace(value[i]) || value[i] == ',')) ++i;
      const std::size_t begin = i;
      while (i < value.size() && !IsSpace(value[i])) ++i;
      std::size_t end = i;
      while (end > begin && value[end - 1] == ',') --end;
      if (end > begin) Add(offset + begin, value.substr(begin, end - begin));
      if (end < i) continue;  // the comma ended the candidate
      while (i < value.size() && value[i] != ',') ++i;
    }
  }
};

}  // namespace

std::string DecodeCharacterReferences(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '&') {
      out += value[i];
      continue;
    }
    const std::size_t semi = value.find(';', i + 1);
    if (semi == std::string_view::npos || semi - i > 12) {
      out += '&';
      continue;
    }
    const std::string_view name = value.substr(i + 1, semi - i - 1);
    static const struct {
      const char* Name;
      char Character;
    } kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    bool done = false;
    for (const auto& n : kNamed) {
      if (name == n.Name) {
        out += n.Character;
        done = true;
      }
    }
    if (!done && name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string digits(name.substr(hex ? 2 : 1));
      char* end = nullptr;
      const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
      if (!digits.empty() && end != nullptr && *end == '\0') {
        AppendUtf8(out, code);
        done = true;
      }
    }
    if (done) {
      i = semi;
    } else {
      out += '&';
    }
  }
  return out;
}

void FindCssReferences(std::string_view css, std::size_t offset, std::vector<TReference>& out) {
  TAdder adder{out};
  std::size_t i = 0;
  while (i < css.size()) {
    if (css.compare(i, 2, "/*") == 0) {
      const std::size_t close = css.find("*/", i + 2);
      i = close == std::string_view::npos ? css.size() : close + 2;
      continue;
    }
    const char c = Lower(css[i]);
    if (c == 'u' && i + 4 <= css.size() && Lower(css[i + 1]) == 'r' && Lower(css[i + 2]) == 'l' &&
        css[i + 3] == '(') {
      std::size_t j = i + 4;
      while (j < css.size() && IsSpace(css[j])) ++j;
      std::size_t begin = j;
      std::size_t end;
      if (j < css.size() && (css[j] == '"' || css[j] == '\'')) {
        const char quote = css[j];
        begin = j + 1;
        end = css.find(quote, begin);
        if (end == std::string_view::npos) end = css.size();
        j = end;
      } else {
        end = css.find(')', begin);
        if (end == std::string_view::npos) end = css.size();
        j = end;
      }
      adder.Add(offset + begin, css.substr(begin, end - begin));
      i = j + 1;
      continue;
    }
    if (c == '@' && css.size() - i > 7) {
      bool import = true;
      for (std::size_t k = 0; k < 6; ++k) import = import && Lower(css[i + 1 + k]) == "import"[k];
      if (import) {
        std::size_t j = i + 7;
        while (j < css.size() && IsSpace(css[j])) ++j;
        if (j < css.size() && (css[j] == '"' || css[j] == '\'')) {
          const char quote = css[j];
          const std::size_t begin = j + 1;
          std::size_t end = css.find(quote, begin);
          if (end == std::string_view::npos) end = css.size();
          adder.Add(offset + begin, css.substr(begin, end - begin));
          i = end + 1;
          continue;
        }
      }
    }
    if (c == '"' || c == '\'') {
      const std::size_t close = css.find(css[i], i + 1);
      i = close == std::string_view::npos ? css.size() : close + 1;
      continue;
    }
    ++i;
  }
}

TPageFacts AnalysePage(std::string_view text, const TPageMarkup& markup) {
  TPageFacts facts;
  facts.HasBlocks = !markup.Blocks.empty();
  TAdder adder{facts.References};
  for (const TTag& tag : markup.Tags) {
    if (tag.EndTag) continue;
    if (tag.Name == "title") facts.HasTitle = true;
    if (tag.Name == "html") facts.HasHtml = true;
    if (tag.Name == "head" && !facts.HasHead) {
      facts.HasHead = true;
      facts.HeadOffset = tag.Begin;
    }
    if (tag.Name == "img" && tag.Find("alt") == nullptr)
      facts.ImagesWithoutAlt.push_back(tag.Begin);
    if (tag.Name == "base" && !facts.HasBase) {
      if (const TAttribute* href = tag.Find("href"); href != nullptr && href->HasValue) {
        facts.HasBase = true;
        facts.Base = DecodeCharacterReferences(
            Trim(text.substr(href->ValueBegin, href->ValueEnd - href->ValueBegin)));
      }
    }
    for (const TAttribute& a : tag.Attributes) {
      if (!a.HasValue) continue;
      const std::string_view value = text.substr(a.ValueBegin, a.ValueEnd - a.ValueBegin);
      if (HoldsAddress(tag.Name, a.Name)) {
        adder.Add(a.ValueBegin, value);
      } else if (a.Name == "srcset") {
        adder.AddSrcset(a.ValueBegin, value);
      } else if (a.Name == "style") {
        FindCssReferences(value, a.ValueBegin, facts.References);
      }
    }
  }
  for (const TRawText& raw : markup.RawTexts) {
    if (markup.Tags[raw.Tag].Name != "style") continue;
    FindCssReferences(text.substr(raw.Begin, raw.End - raw.Begin), raw.Begin, facts.References);
  }
  return facts;
}

TTarget ClassifyReference(std::string_view reference) {
  TTarget target;
  std::string_view r = Trim(reference);
  if (r.empty() || r.front() == '#') return target;
  // An address a server block writes is known only on the server.
  if (r.find("<?") != std::string_view::npos || r.find("<%") != std::string_view::npos) {
    return target;
  }
  if (r.size() >= 2 && (r.compare(0, 2, "\\\\") == 0)) {
    target.Class = TReferenceClass::LocalPath;
    return target;
  }
  if (r.size() >= 2 && r.compare(0, 2, "//") == 0) {
    target.Class = TReferenceClass::External;
    return target;
  }
  // A scheme: a letter, then letters, digits, "+", "-", ".", then ":".
  std::size_t colon = 0;
  while (colon < r.size() &&
         ((r[colon] >= 'a' && r[colon] <= 'z') || (r[colon] >= 'A' && r[colon] <= 'Z') ||
          (colon > 0 && ((r[colon] >= '0' && r[colon] <= '9') || r[colon] == '+' ||
                         r[colon] == '-' || r[colon] == '.')))) {
    ++colon;
  }
  if (colon > 0 && colon < r.size() && r[colon] == ':') {
    const std::string scheme = AsciiLower(r.substr(0, colon));
    if (colon == 1 || scheme == "file") {
      target.Class = TReferenceClass::LocalPath;  // c:\…, c:/…, file:…
    } else if (scheme == "javascript" || scheme == "data" || scheme == "about" ||
               scheme == "blob" || scheme == "vbscript") {
      target.Class = TReferenceClass::Ignored;
    } else {
      target.Class = TReferenceClass::External;
    }
    return target;
  }
  const std::size_t cut = r.find_first_of("?#");
  const std::string_view path = r.substr(0, cut);
  if (path.empty()) return target;  // "?a=b": the page itself
  target.Class = TReferenceClass::Site;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    const auto hex = [](char h) {
      if (h >= '0' && h <= '9') return h - '0';
      h = Lower(h);
      return h >= 'a' && h <= 'f' ? h - 'a' + 10 : -1;
    };
    if (c == '%' && i + 2 < path.size() && hex(path[i + 1]) >= 0 && hex(path[i + 2]) >= 0) {
      target.Path += static_cast<char>(hex(path[i + 1]) * 16 + hex(path[i + 2]));
      i += 2;
    } else {
      target.Path += c == '\\' ? '/' : c;
    }
  }
  target.FromRoot = target.Path.front() == '/';
  return target;
}

}  // namespace check
