// The markup of a page as far as the checks need it: start and end tags with
// their attributes and where their values lie, the text runs between tags,
// comments, the content of script and style elements, and the server blocks
// of PHP ("<?" to "?>") and ASP ("<%" to "%>") pages with the context each
// stands in. Every place is a byte offset into the scanned text.
//
// Written by hand rather than taken from libtidy's or libxml2's HTML trees:
// those trees keep no attribute positions, repair what they read, and know
// nothing of server blocks, which may stand anywhere, inside a tag or a
// value too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace check {

struct TRange {
  std::size_t Begin = 0;
  std::size_t End = 0;
};

// Where a server block stands: in text, between a tag's attributes, inside an
// attribute value, inside the content of a script or style element, or inside
// a comment.
enum class TBlockContext { Text, Tag, Value, Raw, Comment };

struct TBlock {
  std::size_t Begin = 0;  // at "<?" or "<%"
  std::size_t End = 0;    // after "?>" or "%>", or the end of the text
  TBlockContext Context = TBlockContext::Text;
};

struct TAttribute {
  std::string Name;  // in lower case
  std::size_t NameOffset = 0;
  bool HasValue = false;
  std::size_t ValueBegin = 0;  // the value without its quotes
  std::size_t ValueEnd = 0;
};

struct TTag {
  std::string Name;       // in lower case
  std::string Spelling;   // as written
  std::size_t Begin = 0;  // at "<"
  std::size_t End = 0;    // after ">", or where the tag stops
  bool EndTag = false;
  std::vector<TAttribute> Attributes;  // start tags only, in order

  const TAttribute* Find(std::string_view name) const;
};

struct TText {
  std::size_t Begin = 0;
  std::size_t End = 0;
  bool Preformatted = false;  // inside <pre> or <listing>
};

struct TRawText {
  std::size_t Begin = 0;
  std::size_t End = 0;
  std::size_t Tag = 0;  // index of its start tag in Tags
};

struct TPageMarkup {
  std::vector<TTag> Tags;  // start and end tags in document order
  std::vector<TBlock> Blocks;
  std::vector<TText> Texts;
  std::vector<TRawText> RawTexts;  // script, style, title, textarea, xmp
  std::vector<TRange> Comments;    // comments, declarations, processing instructions
};

// Scans a page. With `blocks`, "<?" (but not "<?xml") and "<%" open server
// blocks wherever they stand; without, they are processing instructions or text.
TPageMarkup ScanMarkup(std::string_view text, bool blocks);

// The text with every server block blanked out, byte for byte in place, so
// that a checker of plain HTML sees no block and reports the same places:
// a block inside an attribute value becomes letters, any other becomes
// blanks; line ends stay where they are.
std::string MaskBlocks(std::string_view text, const std::vector<TBlock>& blocks);

// Lower case of ASCII letters.
std::string AsciiLower(std::string_view s);

}  // namespace check
