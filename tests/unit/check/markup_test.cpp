#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page_markup.h"

namespace {

using check::TBlockContext;

struct TBlockCase {
  const char* Page;
  std::vector<std::pair<std::string, TBlockContext>> Blocks;  // text, context
};

TEST(PageMarkup, ServerBlocksEndWhereTheServerEndsThemAndKnowWhereTheyStand) {
  const TBlockCase cases[] = {
      {"a <?php echo 1; ?> b", {{"<?php echo 1; ?>", TBlockContext::Text}}},
      {"<div <?php echo $c ?>>x</div>", {{"<?php echo $c ?>", TBlockContext::Tag}}},
      {"<a href=\"<?php echo \"?>\" ?>\">x</a>", {{"<?php echo \"?>\" ?>", TBlockContext::Value}}},
      {"<a href=<?php echo $u ?>>x</a>", {{"<?php echo $u ?>", TBlockContext::Value}}},
      {"<script>var a = <?= $n ?>;</script>", {{"<?= $n ?>", TBlockContext::Raw}}},
      {"<!-- <% x %> -->", {{"<% x %>", TBlockContext::Comment}}},
      // ASP ends at the first "%>", inside a string too.
      {"<% Response.Write(\"%>\") %>", {{"<% Response.Write(\"%>", TBlockContext::Text}}},
      // A line comment ends at "?>"; a block comment does not.
      {"<?php // note ?> after", {{"<?php // note ?>", TBlockContext::Text}}},
      {"<?php /* ?> */ ?>x", {{"<?php /* ?> */ ?>", TBlockContext::Text}}},
      {"<?php echo 'don''t'; # it's ?>x",
       {{"<?php echo 'don''t'; # it's ?>", TBlockContext::Text}}},
      {"<?php echo <<<EOT\n?> 'inside\nEOT;\n?>x",
       {{"<?php echo <<<EOT\n?> 'inside\nEOT;\n?>", TBlockContext::Text}}},
      {"<?php echo 1;", {{"<?php echo 1;", TBlockContext::Text}}},
      {"<title><?php echo $t ?></title>", {{"<?php echo $t ?>", TBlockContext::Raw}}},
      // XML declarations and style sheet instructions are not PHP.
      {"<?xml version=\"1.0\"?><?xml-stylesheet href=\"a.css\"?><a/>", {}},
      {"<?XML version=\"1.0\"?><?xmlfoo ?>", {{"<?xmlfoo ?>", TBlockContext::Text}}},
  };
  for (const TBlockCase& c : cases) {
    const std::string page = c.Page;
    const check::TPageMarkup m = check::ScanMarkup(page, true);
    std::vector<std::pair<std::string, TBlockContext>> found;
    for (const check::TBlock& b : m.Blocks) {
      found.emplace_back(page.substr(b.Begin, b.End - b.Begin), b.Context);
    }
    EXPECT_EQ(found, c.Blocks) << page;
    EXPECT_TRUE(check::ScanMarkup(page, false).Blocks.empty()) << page;
  }
}

TEST(PageMarkup, TagsKeepTheirSpellingAndTheirValuesPlaces) {
  const std::string page =
      "<IMG SRC = \"a.png\" alt=b data-x>\n<P class='c'>text</p>"
      "<script type=\"t\">if (a<b) document.write('</div>')</script><br/>";
  const check::TPageMarkup m = check::ScanMarkup(page, false);
  std::vector<std::string> tags;
  for (const check::TTag& t : m.Tags) tags.push_back((t.EndTag ? "/" : "") + t.Spelling);
  EXPECT_EQ(tags, (std::vector<std::string>{"IMG", "P", "/p", "script", "/script", "br"}));
  const check::TTag& img = m.Tags[0];
  EXPECT_EQ(img.Name, "img");
  ASSERT_EQ(img.Attributes.size(), 3u);
  const auto value = [&page](const check::TAttribute& a) {
    return page.substr(a.ValueBegin, a.ValueEnd - a.ValueBegin);
  };
  EXPECT_EQ(img.Attributes[0].Name, "src");
  EXPECT_EQ(value(img.Attributes[0]), "a.png");
  EXPECT_EQ(value(img.Attributes[1]), "b");
  EXPECT_FALSE(img.Attributes[2].HasValue);
  EXPECT_EQ(img.Find("data-x"), &img.Attributes[2]);
  EXPECT_EQ(img.Find("title"), nullptr);
  EXPECT_EQ(value(*m.Tags[1].Find("class")), "c");
  ASSERT_EQ(m.RawTexts.size(), 1u);
  EXPECT_EQ(page.substr(m.RawTexts[0].Begin, m.RawTexts[0].End - m.RawTexts[0].Begin),
            "if (a<b) document.write('</div>')");
  EXPECT_EQ(m.Tags[m.RawTexts[0].Tag].Name, "script");
}

TEST(PageMarkup, TextRunsKnowPreformattedTextAndSkipMarkup) {
  const std::string page = "a<!-- c --><!DOCTYPE html>b<pre>p</pre>c < d";
  const check::TPageMarkup m = check::ScanMarkup(page, false);
  std::vector<std::string> texts;
  for (const check::TText& t : m.Texts) {
    texts.push_back((t.Preformatted ? "pre:" : "") + page.substr(t.Begin, t.End - t.Begin));
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "pre:p", "c < d"}));
  EXPECT_EQ(m.Comments.size(), 2u);
}

TEST(PageMarkup, BrokenMarkupEndsAtTheTextsEnd) {
  for (const char* page : {"<a href=\"x", "<", "</", "</>", "<!--", "<!", "<?", "<%",
                           "<a b=", "<a b='", "<script>x", "<a\n<b>", "<<<<", "<a =x>"}) {
    const std::string text = page;
    const check::TPageMarkup m = check::ScanMarkup(text, true);
    for (const check::TTag& t : m.Tags) {
      EXPECT_LE(t.End, text.size()) << page;
      for (const check::TAttribute& a : t.Attributes) EXPECT_LE(a.ValueEnd, text.size()) << page;
    }
  }
}

TEST(PageMarkup, MaskingKeepsEveryPlace) {
  const std::string page = "<a href=\"<?php echo $u ?>\">\r\n<?php\r\n if ($x) ?>y</a>";
  const std::string masked = check::MaskBlocks(page, check::ScanMarkup(page, true).Blocks);
  EXPECT_EQ(masked, "<a href=\"xxxxxxxxxxxxxxxx\">\r\n     \r\n           y</a>");
}

}  // namespace
