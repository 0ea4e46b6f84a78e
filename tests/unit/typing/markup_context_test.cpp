// What the caret is in, from the colouring's scanner state and from the bytes.
#include "markup_context.h"

#include <gtest/gtest.h>

#include "typing_test_support.h"

using namespace typing_test;

TEST(MarkupContext, TheScannerSaysWhatTheLineColoursSay) {
  const struct {
    const char* Syntax;
    const char* Text;
    THint Hint;
  } cases[] = {
      {"HTML", "<p>x|", THint::Text},
      {"HTML", "<p class=|", THint::Tag},
      {"HTML", "<p class=\"a|", THint::Value},
      {"HTML", "<p class=\"|", THint::Value},
      {"HTML", "<p class=\"a\"|", THint::Tag},
      {"HTML", "<!-- x\n y|", THint::Comment},
      {"HTML", "<!-- x -->\n y|", THint::Text},
      {"HTML", "<%\n x|", THint::ServerBlock},
      {"HTML", "<a\n href=x|", THint::Tag},
      {"HTML", "<!--\n-->|", THint::Text},
      {"XML", "<a>x|", THint::Text},
      {"XML", "<a b='c|", THint::Value},
      {"XML", "<a b=\"c|", THint::Value},
      {"XML", "<a |", THint::Tag},
      {"XML", "<![CDATA[\nx|", THint::CData},
      {"XML", "<?xml |", THint::Instruction},
      {"XML", "<!--\nx|", THint::Comment},
      {"PHP", "<p|", THint::None},
      {"JAVA SCRIPT", "/* x|", THint::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HintAt(c.Syntax, Doc(c.Text)), c.Hint) << c.Syntax << ": " << c.Text;
  }
}

TEST(MarkupContext, RegionsFoundFromTheBytes) {
  const struct {
    const char* Text;
    TRegion Region;
  } cases[] = {
      {"<p>x|", TRegion::Markup},
      {"<!-- a|", TRegion::Comment},
      {"<!-- a -->b|", TRegion::Markup},
      {"<% a|", TRegion::ServerBlock},
      {"<% a %>|", TRegion::Markup},
      {"<?php a|", TRegion::Instruction},
      {"<?php echo '-->'; a|", TRegion::Instruction},
      {"<![CDATA[ a|", TRegion::CData},
      {"<script>a|", TRegion::Script},
      {"<script type=\"module\">\n  a|", TRegion::Script},
      {"<SCRIPT>a|", TRegion::Script},
      {"<script>a</script>|", TRegion::Markup},
      {"<script src=a|", TRegion::Markup},
      {"<scripts>a|", TRegion::Markup},
      {"<style>a|", TRegion::Style},
      {"<style media=x>a</style>b|", TRegion::Markup},
      {"<script>x = '<!-- y';|", TRegion::Script},
      {"<script>\n<!--\nf(a|", TRegion::Script},
      {"<!-- <script> x|", TRegion::Comment},
      {"<?php echo '<!--'; a|", TRegion::Instruction},
  };
  for (const auto& c : cases) {
    const TDoc doc = Doc(c.Text);
    TReading r(doc.Text, TMarkupFlavour::Html);
    EXPECT_EQ(RegionAt(r.Markup, doc.Caret, THint::None).Region, c.Region) << c.Text;
  }
  // The search stops at the limit.
  const TDoc far = Doc("<!--" + std::string(200, 'x') + "|");
  TReading r(far.Text, TMarkupFlavour::Html);
  EXPECT_EQ(RegionAt(r.Markup, far.Caret, THint::None, 100).Region, TRegion::Markup);
  EXPECT_EQ(RegionAt(r.Markup, far.Caret, THint::None, 1000).Region, TRegion::Comment);
}
