// The conversion loop against the document its operations describe, written
// here one token at a time through GetToken, GetTokenKind, EscapeToken and
// FormatToken, for every syntax: in memory, through a stream that takes
// blocks, and with the room the document is given.
#include <random>

#include "highlight_test_support.h"

namespace {

// The document as the operations of the highlighter define it.
std::string SlotBySlot(const std::string& syntax, const std::string& text) {
  HighlighterChoice choice = CreateHighlighter(syntax);
  TqorRTFSyntax& h = *choice.Highlighter;
  h.SetText(text.c_str());
  std::string out = h.RtfHeader + h.RtfFontTable + h.RtfFontTableEnd + h.RtfColorTable +
                    h.RtfDocumentStart + "\\f0 ";
  while (!h.GetEol()) {
    std::string token = h.GetToken();
    const int kind = h.GetTokenKind();
    h.EscapeToken(token);
    std::string fragment;
    h.FormatToken(kind, token, fragment);
    if (token == "\r\n") out += "\\par ";
    out += fragment;
    h.Next();
  }
  return out + "\\par }";
}

// A stream that is not in memory, so the document reaches it in blocks.
class BlockStream : public TStream {
 public:
  void Write(const char* data, std::size_t count) override {
    Data.append(data, count);
    ++Writes;
  }
  std::string Data;
  int Writes = 0;
};

std::string ThroughStream(const std::string& syntax, const std::string& text, int* writes) {
  HighlighterChoice choice = CreateHighlighter(syntax);
  choice.Highlighter->SetText(text.c_str());
  BlockStream stream;
  choice.Highlighter->ConvertToRtf(stream);
  *writes = stream.Writes;
  return stream.Data;
}

class ConversionLoop : public ::testing::TestWithParam<const char*> {};

// Tokens of every length up to past the word sizes the loop reads them in,
// with one byte to escape at every place, in strings, comments, tags and text.
TEST_P(ConversionLoop, EscapesEveryPlaceOfEveryLength) {
  const std::string syntax = GetParam();
  const std::string frames[][2] = {{"x = '", "' y\r\n"}, {"/* ", " */\r\n"}, {"<a b=\"", "\">"},
                                   {"// ", "\r\n"},      {"", ""},           {"<p>", "</p>\r\n"}};
  for (std::size_t length = 1; length <= 40; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      for (char special : {'\\', '{', '}'}) {
        // Bytes next to the special ones, and 0x5C, 0x7B and 0x7D with the high bit.
        static const char kFiller[] =
            "\xDC"
            "k[|\xFB"
            "~z\xFD"
            "a";
        std::string token;
        for (std::size_t i = 0; i < length; ++i) token += kFiller[i % (sizeof kFiller - 1)];
        token[at] = special;
        for (const auto& frame : frames) {
          const std::string text = frame[0] + token + frame[1];
          ASSERT_EQ(highlight_test::Rtf(syntax, text), SlotBySlot(syntax, text))
              << "length " << length << ", '" << special << "' at " << at << " in " << text;
        }
      }
    }
  }
}

TEST_P(ConversionLoop, RandomTextsInMemoryAndInBlocks) {
  const std::string syntax = GetParam();
  static const char kBytes[] = "<>!-%?&;=\"'/*{}()[]#$@\\ \t\r\nabzAZ09._:xmlnsCDATA";
  std::mt19937 random(7041u);
  std::string large;
  for (int round = 0; round < 1200; ++round) {
    std::string text;
    const std::size_t length = random() % 300;
    for (std::size_t i = 0; i < length; ++i) {
      text += random() % 5 == 0 ? static_cast<char>(1 + random() % 255)
                                : kBytes[random() % (sizeof kBytes - 1)];
    }
    ASSERT_EQ(highlight_test::Rtf(syntax, text), SlotBySlot(syntax, text)) << text;
    large += text;
    large += "\r\n";
  }
  // Long enough to be handed over in several blocks, and grown several times
  // in memory.
  const std::string expected = SlotBySlot(syntax, large);
  ASSERT_GT(expected.size(), 3u << 16);
  EXPECT_TRUE(highlight_test::Rtf(syntax, large) == expected);
  int writes = 0;
  EXPECT_TRUE(ThroughStream(syntax, large, &writes) == expected);
  EXPECT_GE(writes, 3);
}

INSTANTIATE_TEST_SUITE_P(AllSyntaxes, ConversionLoop, ::testing::ValuesIn(kSyntaxNames),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name;
                           for (const char* p = info.param; *p != '\0'; ++p)
                             if (*p != ' ') name += *p;
                           return name;
                         });

// About 1 MiB of markup whose RTF is about three times as long.
std::string DenseMarkup() {
  std::string text;
  for (int i = 0; text.size() < (1u << 20); ++i) {
    text += "<item id=\"" + std::to_string(i) + "\" kind='a'><name>n&amp;" +
            std::to_string(i % 97) + "</name> <!-- {note} --></item>\r\n";
  }
  return text;
}

TEST(ConversionRoom, DocumentIsSizedFromTheTextNotByDoubling) {
  const std::string text = DenseMarkup();
  HighlighterChoice choice = CreateHighlighter("XML");
  choice.Highlighter->SetText(text.c_str());
  TMemoryStream stream;
  choice.Highlighter->ConvertToRtf(stream);
  const std::string& rtf = stream.Data();
  ASSERT_GT(rtf.size(), 2 * text.size());
  EXPECT_EQ(stream.Position, rtf.size());
  // Growing by doubling would leave up to twice the document reserved.
  EXPECT_LE(rtf.capacity(), rtf.size() + rtf.size() / 5 + (1u << 16));
}

TEST(ConversionRoom, RoomGivenByTheCallerIsUsedAsItIs) {
  const std::string text = DenseMarkup();
  const std::string expected = highlight_test::Rtf("XML", text);

  HighlighterChoice choice = CreateHighlighter("XML");
  choice.Highlighter->SetText(text.c_str());
  TMemoryStream stream;
  stream.Data().reserve(expected.size() + expected.size() / 16);
  const char* buffer = stream.Data().data();
  const std::size_t capacity = stream.Data().capacity();
  choice.Highlighter->ConvertToRtf(stream);
  EXPECT_TRUE(stream.Data() == expected);
  EXPECT_EQ(stream.Data().data(), buffer);
  EXPECT_EQ(stream.Data().capacity(), capacity);

  // Too little room: the document still comes out whole.
  HighlighterChoice again = CreateHighlighter("XML");
  again.Highlighter->SetText(text.c_str());
  TMemoryStream small;
  small.Data().reserve(expected.size() / 3);
  again.Highlighter->ConvertToRtf(small);
  EXPECT_TRUE(small.Data() == expected);
}

}  // namespace
