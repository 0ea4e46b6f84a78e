// Matching pairs at the caret: the two tags of an element when the caret is
// on or in one of them, else the bracket next to the caret and its partner.
// No search reads further than the limit from the caret.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "markup_context.h"

struct TRange {
  std::size_t From = 0;
  std::size_t To = 0;
  bool operator==(const TRange& o) const { return From == o.From && To == o.To; }
};

struct TPairMarks {
  std::vector<TRange> Matched;        // both tags, or both brackets
  std::optional<TRange> Unmatched;    // a bracket without a partner
  std::optional<std::size_t> Target;  // where "go to match" puts the caret
};

// Where brackets are matched: everywhere (script and query languages), or
// only in a page's script parts (script and style content, PHP and server
// blocks).
enum class TBracketScope : std::uint8_t { Everywhere, ScriptParts };

// The tag containing the caret, or starting at it, or ending right before it.
// Whether a tag near the caret is markup (not in a comment, a block or a
// script) is read from no more than `regionLimit` bytes back.
std::optional<TMarkupItem> TagAtCaret(TMarkupReader& markup, std::size_t pos, THint hint,
                                      std::size_t limit = kScanLimit,
                                      std::size_t regionLimit = kScanLimit);

// The other tag of an element: the end tag after a start tag, the start tag
// before an end tag; nothing for a void or self-closed tag.
std::optional<TMarkupItem> PartnerTag(TMarkupReader& markup, const TMarkupItem& tag,
                                      std::size_t limit = kScanLimit);

// The bracket at `at` and its partner, counting only brackets of the same
// style where the text has styles; nullopt partner when it has none within
// the limit.
std::optional<std::size_t> PartnerBracket(TTextReader& text, std::size_t at,
                                          std::size_t limit = kScanLimit);

TPairMarks PairsAt(TMarkupReader& markup, std::size_t pos, THint hint, TBracketScope scope,
                   std::size_t limit = kScanLimit, std::size_t regionLimit = kScanLimit);

// How far back the marks that follow the caret look to tell markup from a
// comment, a block or a script: they are drawn after every key, where a
// wrong mark costs less than a slow key. The command reads the whole limit.
inline constexpr std::size_t kMarkRegionLimit = 64 * 1024;

// Whether anything can be marked at `pos`: a bracket or a tag's "<" or ">"
// next to the caret, or a "<" nearer before it than any ">". False for the
// caret in plain text, at the cost of a search back to the nearest of them.
bool PairMayBeAt(TTextReader& text, std::size_t pos, std::size_t limit = kScanLimit);
