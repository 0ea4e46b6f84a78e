#include "text_lines.h"

#include <gtest/gtest.h>

#include <string>

// Every kind of line end becomes CR LF, the text between goes over as it is.
TEST(TextLines, LineEndsBecomeCrLf) {
  const struct {
    std::string In;
    std::string Out;
  } kCases[] = {
      {"", ""},
      {"abc", "abc"},
      {"a\r\nb", "a\r\nb"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\rb\r", "a\r\nb\r\n"},
      {"\n\r\r\n\n", "\r\n\r\n\r\n\r\n"},
      {"a\n\rb", "a\r\n\r\nb"},
      {"\r", "\r\n"},
      {std::string("a\0b\nc", 5), std::string("a\0b\r\nc", 6)},
      {"caf\xe9\n\xe6\x97\xa5", "caf\xe9\r\n\xe6\x97\xa5"},
  };
  for (const auto& c : kCases) EXPECT_EQ(textlines::ToCrLf(c.In), c.Out) << c.In;
}
