// What a check finds: a problem at a place of a text, and the positions of a
// text counted as the editor counts them (lines from 0, split at CR LF, a lone
// CR or a lone LF; columns in characters from 0).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace check {

enum class TSeverity { Error, Warning, Info };

// "error", "warning" or "note", the words compilers use.
const char* SeverityWord(TSeverity severity);

struct TProblem {
  TSeverity Severity = TSeverity::Error;
  int Line = 0;    // from 0
  int Column = 0;  // characters from the start of the line, from 0
  // The place in the checked text, in bytes, and how many bytes to mark there
  // (the word or tag name that starts at Offset; none at the very end).
  std::size_t Offset = 0;
  std::size_t Length = 0;
  std::string Message;
};

// Orders problems by place, then errors before warnings before notes; the
// order among equals is kept.
void SortProblems(std::vector<TProblem>& problems);

// Line starts of a text and the conversions between byte offsets and lines and
// columns. A text in UTF-8 counts a character per sequence; any other text a
// character per byte. The text must outlive the object.
class TTextPositions {
 public:
  TTextPositions(std::string_view text, bool utf8);

  int LineCount() const { return static_cast<int>(Starts_.size()); }
  int LineOf(std::size_t offset) const;
  int ColumnOf(std::size_t offset) const;
  // The byte of a line and column; a column past the line's end gives the end
  // of the line (before its line end), a line past the last gives the text's end.
  std::size_t OffsetOf(int line, int column) const;
  // The problem's Line, Column and Length for its Offset.
  void Place(TProblem& problem) const;

 private:
  std::size_t LineEnd(int line) const;  // before the line end

  std::string_view Text_;
  bool Utf8_;
  std::vector<std::size_t> Starts_;
};

// How many bytes a mark at `offset` covers: a tag's "<" and name, an entity,
// a word, or one character; never past the end of the line.
std::size_t MarkLength(std::string_view text, std::size_t offset, bool utf8);

}  // namespace check
