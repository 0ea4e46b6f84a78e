// Every highlighter over every byte value, every pair of bytes and seeded random
// byte strings: the scan ends, gives back its input and writes only its colours.
#include <random>

#include "highlight_test_support.h"

namespace {

class ScanInvariants : public ::testing::TestWithParam<const char*> {};

std::string Visible(const std::string& text) {
  std::string out;
  AppendVisibleText(out, text);
  return out;
}

TEST_P(ScanInvariants, EveryByteAloneAndInPairs) {
  const std::string syntax = GetParam();
  for (int a = 1; a < 256; ++a) {
    const std::string one(1, static_cast<char>(a));
    ASSERT_EQ(scan_invariants::Check(syntax, one), "") << "input " << Visible(one);
    for (int b = 1; b < 256; ++b) {
      const std::string two = one + static_cast<char>(b);
      // The writer sees every byte alone; pairs are about the scanner's states.
      ASSERT_EQ(scan_invariants::Check(syntax, two, false), "") << "input " << Visible(two);
    }
  }
}

TEST_P(ScanInvariants, TextEndsAtTheFirstNul) {
  const std::string syntax = GetParam();
  const std::string text("<a href=\"x\">'b' 1\0<!-- c", 24);
  ASSERT_EQ(scan_invariants::Check(syntax, text), "");
  EXPECT_EQ(highlight_test::Rtf(syntax, text),
            highlight_test::Rtf(syntax, text.substr(0, text.find('\0'))));
}

// Random texts drawn mostly from the bytes that open and close constructs in
// one language or another, so that strings, comments, tags and script blocks
// start and end in every order, also across line ends.
TEST_P(ScanInvariants, SeededRandomTexts) {
  const std::string syntax = GetParam();
  static const char kSyntaxBytes[] = "<>!-%?&;=\"'/*{}()[]#$@\\ \t\r\nabzAZ09._:xmlnsCDATA";
  std::mt19937 random(20240517u);
  for (int round = 0; round < 3000; ++round) {
    const std::size_t length = random() % 96;
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
      if (random() % 4 == 0) {
        text += static_cast<char>(1 + random() % 255);
      } else {
        text += kSyntaxBytes[random() % (sizeof kSyntaxBytes - 1)];
      }
    }
    ASSERT_EQ(scan_invariants::Check(syntax, text), "") << "input " << Visible(text);
  }
}

INSTANTIATE_TEST_SUITE_P(AllSyntaxes, ScanInvariants, ::testing::ValuesIn(kSyntaxNames),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name;
                           for (const char* p = info.param; *p != '\0'; ++p)
                             if (*p != ' ') name += *p;
                           return name;
                         });

}  // namespace
