#include <gtest/gtest.h>

#include <string>

#include "check_problem.h"

namespace {

TEST(TextPositions, LinesEndAtCrLfCrAndLf) {
  const std::string text = "ab\r\ncd\ref\ngh";
  const check::TTextPositions p(text, false);
  EXPECT_EQ(p.LineCount(), 4);
  const struct {
    std::size_t Offset;
    int Line;
    int Column;
  } cases[] = {{0, 0, 0}, {2, 0, 2}, {3, 0, 3}, {4, 1, 0}, {7, 2, 0}, {10, 3, 0}, {12, 3, 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(p.LineOf(c.Offset), c.Line) << c.Offset;
    EXPECT_EQ(p.ColumnOf(c.Offset), c.Column) << c.Offset;
  }
  EXPECT_EQ(p.OffsetOf(1, 1), 5u);
  EXPECT_EQ(p.OffsetOf(0, 99), 2u);  // the end of the line, before its line end
  EXPECT_EQ(p.OffsetOf(9, 0), text.size());
  EXPECT_EQ(p.OffsetOf(-1, 0), 0u);
}

TEST(TextPositions, ColumnsCountCharacters) {
  const std::string text = "\xc3\xa9\t\xe2\x82\xac<b>";
  const check::TTextPositions utf8(text, true);
  EXPECT_EQ(utf8.ColumnOf(text.find('<')), 3);
  EXPECT_EQ(utf8.OffsetOf(0, 3), text.find('<'));
  EXPECT_EQ(utf8.OffsetOf(0, 1), 2u);
  const check::TTextPositions bytes(text, false);
  EXPECT_EQ(bytes.ColumnOf(text.find('<')), 6);
}

TEST(TextPositions, MarksCoverWhatStartsThere) {
  const struct {
    const char* Text;
    std::size_t Offset;
    std::size_t Length;
  } cases[] = {
      {"<table border=1>", 0, 6},
      {"</td>", 0, 4},
      {"<!DOCTYPE html>", 0, 9},
      {"&nbsp; x", 0, 6},
      {"&#233;", 0, 6},
      {"word, next", 0, 4},
      {"  x", 0, 1},
      {"a\r\nb", 1, 0},
      {"", 0, 0},
      {"x", 1, 0},
      {"\xc3\xa9!", 2, 1},
      {"!\xe2\x82\xac", 1, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(check::MarkLength(c.Text, c.Offset, true), c.Length) << c.Text;
  }
}

TEST(Problems, SortByPlaceThenSeverity) {
  std::vector<check::TProblem> problems(4);
  problems[0] = {check::TSeverity::Warning, 2, 0, 0, 0, "w"};
  problems[1] = {check::TSeverity::Warning, 1, 5, 0, 0, "w2"};
  problems[2] = {check::TSeverity::Error, 1, 5, 0, 0, "e"};
  problems[3] = {check::TSeverity::Info, 0, 9, 0, 0, "i"};
  check::SortProblems(problems);
  std::string order;
  for (const auto& p : problems) order += p.Message + ",";
  EXPECT_EQ(order, "i,e,w2,w,");
  EXPECT_STREQ(check::SeverityWord(check::TSeverity::Info), "note");
}

}  // namespace
