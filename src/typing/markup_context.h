// What the caret is in: a comment, a server or PHP block, a CDATA section,
// a script or style element, or plain markup, and there a tag and perhaps an
// attribute value. The colouring's own scanner, resumed at the caret line's
// start from the state the colouring recorded there, says exactly what the
// line's colours say (comment, server block, tag, value); what no scanner
// tracks (script and style content, PHP blocks in HTML) is found by a search
// backwards from the caret that never goes further than a given limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "markup_scan.h"
#include "scan_state.h"

class TqorRTFSyntax;

// How far a decision reads from the caret at most.
inline constexpr std::size_t kScanLimit = 1024 * 1024;

enum class TRegion : std::uint8_t {
  Markup,
  Comment,
  ServerBlock,  // <% %>
  Instruction,  // <? ?>: PHP, or an XML processing instruction
  CData,
  Script,  // the content of a script element
  Style,   // the content of a style element
};

// The state of the colouring's scanner at the caret, as far as the markup goes.
enum class THint : std::uint8_t {
  None,  // no scanner state: the markup is read from the bytes alone
  Text,
  Tag,
  Value,  // inside a quoted attribute value
  Comment,
  ServerBlock,
  Instruction,
  CData,
};

// Resumes `scanner` (of the class that recorded `lineState`) at a line's
// start and runs it over `linePrefix`, the line's bytes up to the caret. None
// for a scanner that does not colour markup.
THint ScannerHint(TqorRTFSyntax& scanner, TScanState lineState, std::string_view linePrefix);

struct TRegionAt {
  TRegion Region = TRegion::Markup;
  std::size_t Opener = kNoPosition;  // the "<" that opened it, where known
};

// The region at `pos`. A construct counts as open when its opener is nearer
// before pos than its closer; where several are, the outermost (the one
// opened first) holds the others. The caret inside a script's own start tag
// is in markup.
TRegionAt RegionAt(TMarkupReader& markup, std::size_t pos, THint hint,
                   std::size_t limit = kScanLimit);

struct TCaretContext {
  TRegionAt Region;
  bool InTag = false;    // between a tag's "<" and its end
  bool InValue = false;  // inside a quoted attribute value of that tag
  TMarkupItem Tag;       // the tag, read up to the caret
};

TCaretContext ContextAt(TMarkupReader& markup, std::size_t pos, THint hint,
                        std::size_t limit = kScanLimit);

// The tag the caret is in as its bytes (and the scanner, where it says the
// caret is in text) tell, the region aside: InTag, InValue and Tag of
// `context`. A search back to the nearest "<" or ">", cheap where the caret
// is in text.
void TagAround(TMarkupReader& markup, std::size_t pos, THint hint, std::size_t limit,
               TCaretContext& context);
