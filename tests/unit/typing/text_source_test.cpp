// Reading the document around the caret: byte access and the backward search
// across the reader's blocks, and decisions that read no more than their limit
// however large the document.
#include "text_source.h"

#include <gtest/gtest.h>

#include <functional>

#include "indentation.h"
#include "pair_matching.h"
#include "tag_closing.h"
#include "typing_test_support.h"

using namespace typing_test;

namespace {

// A source that counts the bytes read from it.
class TCountingSource : public TStringSource {
 public:
  using TStringSource::TStringSource;
  void Read(std::size_t from, std::size_t count, char* out) const override {
    Bytes += count;
    TStringSource::Read(from, count, out);
  }
  mutable std::size_t Bytes = 0;
};

}  // namespace

TEST(TextSource, FindsBackAcrossBlocks) {
  std::string text(3 * TTextReader::kBlock + 100, 'x');
  for (std::size_t at : {0u, 4095u, 4096u, 8191u, 9000u}) text[at] = '<';
  text[5000] = '>';
  TStringSource source(text);
  TTextReader reader(source);
  const struct {
    std::size_t Before, Floor, Found;
  } cases[] = {
      {text.size(), 0, 9000}, {9000, 0, 8191},           {8191, 0, 5000},
      {5000, 0, 4096},        {4096, 0, 4095},           {4095, 0, 0},
      {4095, 1, kNoPosition}, {9000, 8192, kNoPosition}, {1, 0, 0},
      {0, 0, kNoPosition},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reader.FindBack2(c.Before, c.Floor, '<', '>'), c.Found) << c.Before << " " << c.Floor;
  }
  // Single bytes after a search that moved the block, both ways.
  EXPECT_EQ(reader.At(9000), '<');
  EXPECT_EQ(reader.At(4095), '<');
  EXPECT_EQ(reader.At(8191), '<');
  EXPECT_EQ(reader.At(text.size()), '\0');
  EXPECT_TRUE(reader.Matches(4095, "<<"));
  EXPECT_EQ(reader.Copy(4094, 4098), "x<<x");
}

TEST(TextSource, DecisionsReadNoMoreThanTheirLimitInALargeDocument) {
  // Four MiB of tags without a script, a style, a comment or a block: every
  // search runs to its limit, and no further.
  std::string text;
  while (text.size() < 4 * 1024 * 1024) text += "<div class=\"a\"><p>text</p></div>\r\n";
  const std::size_t caret = text.size() / 2;
  text.insert(caret, "<b class=x");
  const std::size_t pos = caret + 10;
  const std::size_t limit = 256 * 1024;
  const auto read = [&](const std::function<void(TMarkupReader&)>& decide) {
    TCountingSource source(text);
    TTextReader reader(source);
    TMarkupReader markup(reader, TMarkupFlavour::Html);
    decide(markup);
    return source.Bytes;
  };
  // The limit back and forth, a block each way for the reader's rounding.
  const std::size_t most = 2 * limit + 4 * TTextReader::kBlock;
  EXPECT_LE(read([&](TMarkupReader& m) { ClosingTagFor(m, pos, THint::None, limit); }), most);
  EXPECT_LE(read([&](TMarkupReader& m) { EndTagAt(m, pos, THint::None, limit); }), most);
  EXPECT_LE(read([&](TMarkupReader& m) {
              PairsAt(m, caret + 2, THint::None, TBracketScope::ScriptParts, limit, limit);
            }),
            most);
  // The marks that follow the caret look back less far.
  EXPECT_LE(read([&](TMarkupReader& m) {
              PairsAt(m, caret + 2, THint::None, TBracketScope::ScriptParts, limit, 4096);
            }),
            8 * TTextReader::kBlock);
  EXPECT_LE(read([&](TMarkupReader& m) { EnterAt(m, pos, THint::None, "  ", true, limit); }), most);
  // And the decision is still made: the tag is closed.
  TStringSource source(text);
  TTextReader reader(source);
  TMarkupReader markup(reader, TMarkupFlavour::Html);
  EXPECT_EQ(ClosingTagFor(markup, pos, THint::None, limit), "</b>");
}
