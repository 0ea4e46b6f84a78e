// Closing tags as the user types: the closing tag a typed ">" brings, and the
// name a typed "</" is completed with.
#pragma once

#include <cstddef>
#include <string>

#include "markup_context.h"

// The closing tag to put after the caret when ">" is typed at `pos` (before
// the ">" is in the text): "</name>" when the ">" ends a start tag in markup,
// else empty. Never for a void element (HTML), after "/" ("/>"), inside an
// attribute value, a comment, a script or style element's content, a server
// or PHP block or a CDATA section, nor when the same closing tag already
// follows the caret.
std::string ClosingTagFor(TMarkupReader& markup, std::size_t pos, THint hint,
                          std::size_t limit = kScanLimit);

// The end tag "/" typed at `pos` right after a "<" begins: that of the
// innermost element still open before the caret (or of the script or style
// element whose content the caret is in). Where that end tag stands after the
// caret already (blanks and line breaks between), the one typed is that one,
// not a second: Existing says where it starts.
struct TEndTag {
  std::string Name;  // empty where "</" closes nothing: not markup, nothing open
  std::size_t Existing = kNoPosition;
};
TEndTag EndTagAt(TMarkupReader& markup, std::size_t pos, THint hint,
                 std::size_t limit = kScanLimit);

// What completes "</": the name and ">" of the end tag it begins, unless that
// end tag stands after the caret already; else empty.
std::string EndTagCompletion(TMarkupReader& markup, std::size_t pos, THint hint,
                             std::size_t limit = kScanLimit);

// An end tag typed over the one that stood after the caret: once "</" has
// stepped over its first two bytes, each byte typed that is its next one
// steps over that, until its ">". A byte that differs starts an end tag of
// the user's own in front of it. The tag is followed by its distance from the
// document's end, which typing in front of it does not change.
class TTypeOver {
 public:
  // The tag [start, start + text.size()) of a document `length` bytes long,
  // the caret `consumed` bytes into it.
  void Start(std::size_t start, std::string text, std::size_t consumed, std::size_t length);
  void Stop() { Text_.clear(); }
  bool Active() const { return !Text_.empty(); }

  enum class TStep { None, Over, Diverge };
  // What typing `c` at `caret` does; None where the caret left the tag or the
  // tag is no longer there (the typing is stopped then).
  TStep Key(char c, std::size_t caret, TTextReader& text);
  // Where the tag starts, and the user's own end tag a diverging `c` begins,
  // to go in front of it.
  std::size_t TagStart(std::size_t length) const { return length - FromEnd_; }
  std::string Diverging(char c) const { return Text_.substr(0, Consumed_) + c; }

 private:
  std::string Text_;
  std::size_t FromEnd_ = 0;
  std::size_t Consumed_ = 0;
};

// The innermost element whose start tag lies before `pos` and that no end tag
// before pos closes. HTML's end tags close the unclosed elements inside them
// (a "<p>" or "<li>" without its own end tag). Empty where there is none
// within the limit; its start tag in `found` when given.
std::string InnermostOpenElement(TMarkupReader& markup, std::size_t pos,
                                 std::size_t limit = kScanLimit, TMarkupItem* found = nullptr);
