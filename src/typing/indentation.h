// Indentation as the user types: the step the document indents by, the line
// a typed Enter starts, and where a closing tag or brace typed at a line's
// start goes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "markup_context.h"

// The document's step, guessed from its first indented lines: a tab where the
// first of them begins with one, else the fewest spaces any of them begins
// with (eight at most); two spaces where no line is indented.
std::string GuessIndentStep(TTextReader& text);

// An edit: the bytes [From, To) replaced by Text, the caret Caret bytes into it.
struct TEdit {
  std::size_t From = 0;
  std::size_t To = 0;
  std::string Text;
  std::size_t Caret = 0;
};

// HTML's elements whose content goes on lines of its own, one step in.
bool IsBlockElement(std::string_view name);

// Enter at `pos`: a line break and the indentation of the line it splits, one
// step more after a start tag of a block element (any element in XML) or,
// where `braces`, after a "{". Where the caret stood between that opener and
// its closer, the closer goes to a line of its own at the line's indentation.
TEdit EnterAt(TMarkupReader& markup, std::size_t pos, THint hint, const std::string& step,
              bool braces, std::size_t limit = kScanLimit);

// The indentation for a line whose blanks [lineStart, closer) are followed by
// a closing tag named `name` (or, with an empty name, a "}") being typed: that
// of the line holding its start tag or "{" where that line is indented less,
// else as it is; one step less where no opener is found within the limit.
std::string ClosingIndent(TMarkupReader& markup, std::size_t lineStart, std::size_t closer,
                          std::string_view name, const std::string& step,
                          std::size_t limit = kScanLimit);

// The start of the line holding `pos`.
std::size_t LineStartOf(TTextReader& text, std::size_t pos, std::size_t limit = kScanLimit);
// Whether [lineStart, pos) holds blanks (spaces and tabs) only.
bool OnlyBlanks(TTextReader& text, std::size_t lineStart, std::size_t pos);
