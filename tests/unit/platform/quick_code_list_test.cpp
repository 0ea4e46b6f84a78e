#include "quick_code_list.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::string>;

TEST(QuickCodeList, ReadsEveryKindOfLineEnd) {
  EXPECT_EQ(quickcode::ParseList("<b>\r\n<i>\r<u>\n<p>"), (Entries{"<b>", "<i>", "<u>", "<p>"}));
  EXPECT_EQ(quickcode::ParseList("a\r\n\r\n\n\rb\r\n"), (Entries{"a", "", "", "", "b"}));
  EXPECT_EQ(quickcode::ParseList("\r\n"), (Entries{""}));
  EXPECT_EQ(quickcode::ParseList(""), Entries{});
  EXPECT_EQ(quickcode::ParseList("  \t "), (Entries{"  \t "}));
  EXPECT_EQ(quickcode::ParseList("\xE9t\xE9\r\n"), (Entries{"\xE9t\xE9"}));
}

TEST(QuickCodeList, StopsAtNul) {
  EXPECT_EQ(quickcode::ParseList(std::string("a\r\nb\0c\r\nd", 9)), (Entries{"a", "b"}));
  EXPECT_EQ(quickcode::ParseList(std::string("a\r\n\0b", 5)), (Entries{"a"}));
  EXPECT_EQ(quickcode::ParseList(std::string("\0a", 2)), Entries{});
}

TEST(QuickCodeList, WritesCrLfAfterEveryEntryAndReadsItBack) {
  const Entries entries = {"<br>", "", "<a href=\"x\">", "  "};
  const std::string file = quickcode::FormatList(entries);
  EXPECT_EQ(file, "<br>\r\n\r\n<a href=\"x\">\r\n  \r\n");
  EXPECT_EQ(quickcode::ParseList(file), entries);
  EXPECT_EQ(quickcode::FormatList({}), "");
  // A last line without a break gains one when saved again.
  EXPECT_EQ(quickcode::FormatList(quickcode::ParseList("a\r\nlast")), "a\r\nlast\r\n");
}

}  // namespace
