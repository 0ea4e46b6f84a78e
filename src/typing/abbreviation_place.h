// Where an abbreviation may be expanded: in a page's markup outside tags,
// comments and script or server code (as HTML or XML), and in a style
// element's content (as CSS).
#pragma once

#include <cstddef>
#include <cstdint>

#include "markup_context.h"

enum class TAbbreviationPlace : std::uint8_t { None, Markup, Stylesheet };

TAbbreviationPlace AbbreviationPlaceAt(TMarkupReader& markup, std::size_t pos, THint hint,
                                       std::size_t limit = kScanLimit);

// Whether the byte before `pos` may end an abbreviation: the line has one
// before the caret that is not a blank. Tab expands only then.
bool AbbreviationMayEndAt(TTextReader& text, std::size_t pos);
