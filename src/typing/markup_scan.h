// The markup of a page as the typing decisions read it: tags, comments,
// declarations, processing instructions and server blocks, CDATA sections,
// read forward or backward from any position and never past a given bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text_source.h"

// How a document's markup is read: HTML (names without regard to case, void
// elements, script and style content as raw text), XML (names as written,
// every element closed), or none (a script or query language).
enum class TMarkupFlavour : std::uint8_t { None, Html, Xml };

enum class TItemKind : std::uint8_t {
  None,
  StartTag,
  EndTag,
  Comment,      // <!-- -->
  Declaration,  // <!DOCTYPE ...>
  Instruction,  // <? ?>: a PHP block or an XML processing instruction
  ServerBlock,  // <% %>
  CData,        // <![CDATA[ ]]>
};

struct TMarkupItem {
  TItemKind Kind = TItemKind::None;
  std::size_t Start = 0;  // its "<"
  std::size_t End = 0;    // after its last byte, or where the reading stopped
  bool Closed = false;    // its end was found before the bound
  bool SelfClosing = false;
  bool InQuote = false;  // an unclosed tag whose reading stopped inside a quoted value
  std::size_t NameStart = 0;
  std::size_t NameEnd = 0;
};

constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

// HTML's elements that never have content or an end tag.
bool IsVoidElement(std::string_view name);
// HTML's elements whose content is raw text, read up to their end tag.
bool IsRawTextElement(std::string_view name);

class TMarkupReader {
 public:
  TMarkupReader(TTextReader& text, TMarkupFlavour flavour) : Text_(text), Flavour_(flavour) {}

  TTextReader& Text() { return Text_; }
  TMarkupFlavour Flavour() const { return Flavour_; }

  // The item that starts at `at` (a "<"), read no further than `bound`;
  // Kind None where no item starts there.
  TMarkupItem ItemAt(std::size_t at, std::size_t bound);
  // The first item starting in [from, bound).
  TMarkupItem NextItem(std::size_t from, std::size_t bound);
  // The last closed item that ends at or before `before` and starts at or
  // after `floor`.
  TMarkupItem PrevItem(std::size_t before, std::size_t floor);

  std::string Name(const TMarkupItem& item);
  bool SameName(std::string_view a, std::string_view b) const;
  bool IsVoid(std::string_view name) const;
  // A start tag whose content is raw text (script, style) in HTML.
  bool OpensRawText(const TMarkupItem& item);
  // The end tag "</name" of a raw-text element after `from`, or its start tag
  // before `before`; kNoPosition when there is none within the bound.
  std::size_t FindEndTag(std::string_view name, std::size_t from, std::size_t bound);
  std::size_t FindStartTag(std::string_view name, std::size_t before, std::size_t floor);

  // Whether "</name" follows `pos`, after blanks and line ends only; where.
  bool EndTagFollows(std::size_t pos, std::string_view name) {
    return EndTagAfter(pos, name) != kNoPosition;
  }
  std::size_t EndTagAfter(std::size_t pos, std::string_view name);

  // The last "<" or ">" in [floor, before); kNoPosition when none.
  std::size_t PrevAngle(std::size_t before, std::size_t floor);
  // The first position of `needle` in [from, bound) (the whole needle before
  // bound); kNoPosition when none.
  std::size_t Find(std::string_view needle, std::size_t from, std::size_t bound,
                   bool ignoreCase = false);
  // The last position of `needle` that ends at or before `before` and starts
  // at or after `floor`.
  std::size_t FindBack(std::string_view needle, std::size_t before, std::size_t floor,
                       bool ignoreCase = false);
  bool IsNameStart(char c) const;
  static bool IsNameByte(char c);
  static bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
  }

 private:
  TMarkupItem TagAt(std::size_t at, std::size_t bound, bool end);
  TMarkupItem Until(TItemKind kind, std::size_t at, std::size_t from, std::string_view close,
                    std::size_t bound);

  TTextReader& Text_;
  TMarkupFlavour Flavour_;
};
