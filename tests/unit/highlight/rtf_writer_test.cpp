// The base class's document parts and conversion loop, driven by a scanner that
// replays a fixed token list, so the writer is checked apart from any language.
#include <utility>

#include "highlight_test_support.h"

namespace {

class ReplayScanner : public TqorRTFSyntax {
 public:
  explicit ReplayScanner(std::vector<std::pair<std::string, int>> tokens)
      : Tokens(std::move(tokens)) {}
  void EscapeToken(std::string& token) override { EscapeRtf(token); }
  void Next() override { ++Index; }
  bool GetEol() override { return Index >= Tokens.size(); }
  std::string GetToken() override { return Tokens[Index].first; }
  int GetTokenKind() override { return Tokens[Index].second; }
  void SetLine(const char*, int) override { Index = 0; }

  std::vector<std::pair<std::string, int>> Tokens;
  std::size_t Index = 0;
};

const char kHeader[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl";

TEST(RtfWriter, DocumentPartsAndTokenFragments) {
  ReplayScanner scanner({{"a", 3},
                         {"\r\n", 5},
                         {"{b\\}", 2},
                         {"", 4},
                         {"\n", 5},
                         {"\r", 5},
                         {"\xE9\t", 1},
                         {"\r\n", 12}});
  scanner.SetColors({RGBColor(1, 2, 3)});
  scanner.SetText("ignored");
  const std::string expected = std::string(kHeader) +
                               "{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
                               "{\\colortbl\\red0\\green0\\blue0;\\red1\\green2\\blue3;}\r\n"
                               "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 "
                               "\\cf3 a\\par \\cf5 \r\n\\cf2 \\{b\\\\\\}\\cf4 \\cf5 \n\\cf5 \r"
                               "\\cf1 \xE9\t\\par \\cf12 \r\n\\par }";
  EXPECT_EQ(scanner.ConvertToRtfString(), expected);
  // The scan is used up: a second conversion writes a document without tokens.
  EXPECT_EQ(scanner.ConvertToRtfString(),
            std::string(kHeader) +
                "{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
                "{\\colortbl\\red0\\green0\\blue0;\\red1\\green2\\blue3;}\r\n"
                "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 \\par }");
}

// A scanner's own FormatToken writes its fragments, whatever they hold.
class BracketingScanner : public ReplayScanner {
 public:
  using ReplayScanner::ReplayScanner;
  void FormatToken(int colorIndex, std::string_view token, std::string& out) override {
    out += "<" + std::to_string(colorIndex) + ":" + std::string(token) + ">";
  }
};

TEST(RtfWriter, FragmentsComeFromTheScannersFormatToken) {
  BracketingScanner scanner({{"a{", 3}, {"\r\n", 5}, {"b", 2}});
  scanner.SetText("");
  const std::string rtf = scanner.ConvertToRtfString();
  const std::string body = "\\f0 <3:a\\{>\\par <5:\r\n><2:b>\\par }";
  ASSERT_GE(rtf.size(), body.size());
  EXPECT_EQ(rtf.substr(rtf.size() - body.size()), body);
}

TEST(RtfWriter, WritesAtTheStreamPositionAndAcrossBlockBoundaries) {
  std::vector<std::pair<std::string, int>> tokens;
  std::string body;
  for (int i = 0; i < 40000; ++i) {
    tokens.push_back({std::to_string(i), i % 13});
    body += "\\cf" + std::to_string(i % 13) + " " + std::to_string(i);
  }
  ReplayScanner scanner(tokens);
  scanner.SetText("");
  TMemoryStream stream;
  stream.Write("0123456789", 10);
  stream.Position = 4;
  scanner.ConvertToRtf(stream);
  const std::string& data = stream.Data();
  ASSERT_EQ(data.substr(0, 4), "0123");
  EXPECT_EQ(data.compare(4, sizeof kHeader - 1, kHeader), 0);
  const std::string tail = body + "\\par }";
  ASSERT_GE(data.size(), tail.size());
  EXPECT_EQ(data.substr(data.size() - tail.size()), tail);
  EXPECT_EQ(stream.Position, data.size());
}

TEST(RtfWriter, FontTableWordsFollowTheMetrics) {
  ReplayScanner scanner({});
  EXPECT_EQ(scanner.RtfFontTable, "{\\f0\\fmodern\\fcharset0 Courier New;}");
  const std::pair<int, const char*> families[] = {
      {0x00, "fdontcare"}, {0x12, "froman"},      {0x20, "fswiss"}, {0x31, "fmodern"},
      {0x40, "fscript"},   {0x5F, "fdecorative"}, {0x60, "froman"}, {0xF0, "froman"}};
  for (const auto& [pitch, word] : families) {
    scanner.SetFonts({{"F", static_cast<std::uint8_t>(pitch), 0}});
    EXPECT_EQ(scanner.RtfFontTable, std::string("{\\f0\\") + word + "\\fcharset0 F;}") << pitch;
  }
  const std::pair<int, const char*> charsets[] = {
      {0, "fcharset0"},     {1, "fcharset1"}, {2, "fcharset2"}, {128, "fcharset128"},
      {255, "fcharset255"}, {3, ""},          {204, ""}};
  for (const auto& [charset, word] : charsets) {
    scanner.SetFonts({{"F", 0x31, static_cast<std::uint8_t>(charset)}});
    EXPECT_EQ(scanner.RtfFontTable, std::string("{\\f0\\fmodern\\") + word + " F;}") << charset;
  }
  scanner.SetFonts({{"Courier New", 0x31, 0}, {"Arial", 0x22, 0}});
  EXPECT_EQ(scanner.RtfFontTable,
            "{\\f0\\fmodern\\fcharset0 Courier New;}{\\f1\\fswiss\\fcharset0 Arial;}");
}

TEST(RtfWriter, DefaultFontIsTakenByNewHighlighters) {
  SetDefaultFont({"Liberation Mono", 0x31, 0});
  ReplayScanner changed({});
  SetDefaultFont(DefaultCourierNew());
  ReplayScanner restored({});
  EXPECT_EQ(changed.RtfFontTable, "{\\f0\\fmodern\\fcharset0 Liberation Mono;}");
  EXPECT_EQ(restored.RtfFontTable, "{\\f0\\fmodern\\fcharset0 Courier New;}");
}

TEST(RtfWriter, ColourTableHasBlackFirstAndSystemColoursAsBlack) {
  ReplayScanner scanner({});
  EXPECT_EQ(scanner.RtfColorTable, "");
  scanner.SetColors({RGBColor(255, 0, 0), RGBColor(0, 0, 0), kSystemColorFlag | 5});
  EXPECT_EQ(scanner.RtfColorTable,
            "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;"
            "\\red0\\green0\\blue0;\\red0\\green0\\blue0;}\r\n");
  EXPECT_EQ(scanner.ColorToRtf(kSystemColorFlag | 0x123456), "\\red0\\green0\\blue0;");
  EXPECT_EQ(scanner.ColorToRtf(RGBColor(18, 52, 86)), "\\red18\\green52\\blue86;");
}

TEST(RtfWriter, PlainFragmentsOfEveryLengthAndIndex) {
  ReplayScanner scanner({});
  for (std::size_t length = 0; length < 80; ++length) {
    for (int index : {0, 9, 10, 99, 100, 1234, -3}) {
      const std::string token(length, 'x');
      std::string out = "head";
      scanner.FormatToken(index, token, out);
      EXPECT_EQ(out, "head\\cf" + std::to_string(index) + " " + token) << length;
    }
  }
}

TEST(RtfWriter, EscapingAndDecimals) {
  std::string text = "{a\\b}";
  EscapeRtf(text);
  EXPECT_EQ(text, "\\{a\\\\b\\}");
  std::string plain = "a\xE9\t\r\n";
  EscapeRtf(plain);
  EXPECT_EQ(plain, "a\xE9\t\r\n");
  // A special byte at any place of a longer text, also among high bytes.
  for (std::size_t at = 0; at < 20; ++at) {
    for (char special : {'\\', '{', '}'}) {
      std::string text(20, '\xFB');
      text[at] = special;
      std::string expected = text;
      expected.insert(at, 1, '\\');
      EscapeRtf(text);
      EXPECT_EQ(text, expected) << at;
    }
  }
  std::string numbers;
  for (unsigned n : {0u, 7u, 10u, 1252u, 4294967295u}) {
    AppendDecimal(numbers, n);
    numbers += ' ';
  }
  EXPECT_EQ(numbers, "0 7 10 1252 4294967295 ");
}

}  // namespace
