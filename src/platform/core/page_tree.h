// The element tree a browser builds from a page's text, with where each
// element's start tag lies in that text: which element holds a given offset,
// the path of element indexes from the root that finds it in the browser's
// document, and back from such a path to the start tag. The text is read by
// the browser's own rules for tags, comments, raw text and the repair of
// markup (implied html, head and body, optional end tags, tables, formatting
// elements closed out of order), as far as they decide which elements exist
// and where they stand.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagetree {

// One step of a path: the element is the Index-th element child of the one
// before it (the first step is the root, "html", index 0), and its local name
// in lower case.
struct TPathStep {
  int Index = 0;
  std::string Name;
  bool operator==(const TPathStep& other) const {
    return Index == other.Index && Name == other.Name;
  }
};
using TPath = std::vector<TPathStep>;

// How far a path was followed: the deepest element whose every step matched
// (-1 when not even the root did) and how many steps that was.
struct TResolved {
  int Element = -1;
  int Depth = 0;
};

class TPageTree {
 public:
  // Reads the whole page. The offsets are byte offsets into `text`.
  explicit TPageTree(std::string_view text);

  int ElementCount() const { return static_cast<int>(Elements_.size()); }
  // The innermost element that holds the byte at `offset` (its start or end
  // tag, or the content between them) as the browser places it: text the
  // browser moves out of a table belongs to where it is moved; -1 where the
  // offset lies outside every element (before the root, in a doctype).
  int ElementAt(int offset) const;
  // The path to the element in the browser's document. An element inside a
  // template's content is no child of the template there: its path is the
  // template's. Empty for an element that is not in the document.
  TPath PathOf(int element) const;
  // Follows the path as far as the names match.
  TResolved Resolve(const TPath& path) const;
  // Where the element's start tag begins. An element the browser made on its
  // own (an implied body, the table body around a row, a formatting element
  // carried on into the next paragraph) begins where the markup that made it
  // does.
  int StartOf(int element) const;
  const std::string& NameOf(int element) const;
  // Whether the element's start tag is written in the text.
  bool Written(int element) const;

  // The document (or the element's part of it) as a nested list of local
  // names, as "html(head,body(p(b)))", with a template's content left out:
  // the form a browser's own document is compared with.
  std::string Outline(int element = 0) const;

  enum class TNs : std::uint8_t { Html, Svg, Math };

  struct TElement {
    int Parent = -1;
    int FirstChild = -1;
    int LastChild = -1;
    int Next = -1;
    int Prev = -1;
    int Start = 0;
    int Origin = -1;  // the element a clone was made from
    std::uint16_t Tag = 0;
    std::uint32_t Name = 0;
    TNs Ns = TNs::Html;
    bool Implied = false;
  };

 private:
  friend class TBuilder;

  bool IsTemplate(int element) const;
  void OutlineOf(int element, std::string& out) const;

  std::vector<TElement> Elements_;
  std::vector<std::string> Names_;
  // From each offset on (ascending), the element that holds the text there.
  std::vector<std::pair<int, int>> Marks_;
};

}  // namespace pagetree
