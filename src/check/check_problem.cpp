#include "check_problem.h"

#include <algorithm>

namespace check {
namespace {

constexpr bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
constexpr bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool IsWordByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         c == '-' || c == ':' || c == '.' || c >= 0x80;
}

int Rank(TSeverity s) { return static_cast<int>(s); }

}  // namespace

const char* SeverityWord(TSeverity severity) {
  switch (severity) {
    case TSeverity::Error:
      return "error";
    case TSeverity::Warning:
      return "warning";
    case TSeverity::Info:
      break;
  }
  return "note";
}

void SortProblems(std::vector<TProblem>& problems) {
  std::stable_sort(problems.begin(), problems.end(), [](const TProblem& a, const TProblem& b) {
    if (a.Line != b.Line) return a.Line < b.Line;
    if (a.Column != b.Column) return a.Column < b.Column;
    return Rank(a.Severity) < Rank(b.Severity);
  });
}

TTextPositions::TTextPositions(std::string_view text, bool utf8) : Text_(text), Utf8_(utf8) {
  Starts_.push_back(0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      Starts_.push_back(i + 1);
    } else if (text[i] == '\n') {
      Starts_.push_back(i + 1);
    }
  }
}

int TTextPositions::LineOf(std::size_t offset) const {
  const auto after = std::upper_bound(Starts_.begin(), Starts_.end(), offset);
  return static_cast<int>(after - Starts_.begin()) - 1;
}

std::size_t TTextPositions::LineEnd(int line) const {
  std::size_t end =
      line + 1 < LineCount() ? Starts_[static_cast<std::size_t>(line) + 1] : Text_.size();
  while (end > Starts_[static_cast<std::size_t>(line)] && IsLineEnd(Text_[end - 1])) --end;
  return end;
}

int TTextPositions::ColumnOf(std::size_t offset) const {
  offset = std::min(offset, Text_.size());
  const std::size_t start = Starts_[static_cast<std::size_t>(LineOf(offset))];
  if (!Utf8_) return static_cast<int>(offset - start);
  int column = 0;
  for (std::size_t i = start; i < offset; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(Text_[i]))) ++column;
  }
  return column;
}

std::size_t TTextPositions::OffsetOf(int line, int column) const {
  if (line < 0) line = 0;
  if (line >= LineCount()) return Text_.size();
  std::size_t at = Starts_[static_cast<std::size_t>(line)];
  const std::size_t end = LineEnd(line);
  for (int c = 0; c < column && at < end; ++c) {
    ++at;
    if (Utf8_) {
      while (at < end && IsContinuation(static_cast<unsigned char>(Text_[at]))) ++at;
    }
  }
  return at;
}

void TTextPositions::Place(TProblem& problem) const {
  problem.Offset = std::min(problem.Offset, Text_.size());
  problem.Line = LineOf(problem.Offset);
  problem.Column = ColumnOf(problem.Offset);
  problem.Length = MarkLength(Text_, problem.Offset, Utf8_);
}

std::size_t MarkLength(std::string_view text, std::size_t offset, bool utf8) {
  if (offset >= text.size() || IsLineEnd(text[offset])) return 0;
  std::size_t end = offset;
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (text[end] == '<' || text[end] == '&') {
    ++end;
    if (end < text.size() && (text[end] == '/' || text[end] == '!' || text[end] == '#')) ++end;
  }
  while (end < text.size() && IsWordByte(at(end))) ++end;
  if (end < text.size() && text[offset] == '&' && text[end] == ';') ++end;
  if (end == offset) {
    // One character: a whole UTF-8 sequence.
    ++end;
    if (utf8) {
      while (end < text.size() && IsContinuation(at(end))) ++end;
    }
  }
  return end - offset;
}

}  // namespace check
