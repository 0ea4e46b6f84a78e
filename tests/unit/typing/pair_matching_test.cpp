// Matching pairs at the caret: the two tags of an element, and brackets in
// script code, each search bounded.
#include "pair_matching.h"

#include <gtest/gtest.h>

#include "typing_test_support.h"

using namespace typing_test;

namespace {

// A pair as the marked ranges' texts, "a..b" for none.
std::string Marked(const std::string& text, const TPairMarks& marks) {
  std::string out;
  for (const TRange& r : marks.Matched) {
    if (!out.empty()) out += " + ";
    out += text.substr(r.From, r.To - r.From);
  }
  if (marks.Unmatched) out += "unmatched " + text.substr(marks.Unmatched->From, 1);
  return out;
}

struct TCase {
  const char* Syntax;
  const char* Text;
  const char* Marked;   // the marked texts, joined by " + "
  const char* AfterGo;  // the document with "|" where "go to match" puts the caret; "" for none
};

const TCase kCases[] = {
    {"HTML", "<div>a|</div>", "<div> + </div>", "|<div>a</div>"},
    {"HTML", "<di|v class=x>a</div>", "<div class=x> + </div>", "<div class=x>a|</div>"},
    {"HTML", "<div>|a</div>", "<div> + </div>", "<div>a|</div>"},
    {"HTML", "<a href=\"x|\">a</a>", "<a href=\"x\"> + </a>", "<a href=\"x\">a|</a>"},
    {"HTML", "<div><div>a</div>|</div>", "<div> + </div>", "|<div><div>a</div></div>"},
    {"HTML", "<div>\n  <p>a</p>\n</di|v>", "<div> + </div>", "|<div>\n  <p>a</p>\n</div>"},
    {"HTML", "<DIV>a</div|>", "<DIV> + </div>", "|<DIV>a</div>"},
    {"HTML", "<ul><li|>a<li>b</ul>", "", ""},
    {"HTML", "<ul><li>a</li><li>b</ul|>", "<ul> + </ul>", "|<ul><li>a</li><li>b</ul>"},
    {"HTML", "<div><p>a</div|>", "<div> + </div>", "|<div><p>a</div>"},
    {"HTML", "<br|>", "", ""},
    {"HTML", "<p|/>", "", ""},
    {"HTML", "<!-- <p|> --></p>", "", ""},
    {"HTML", "<div><!-- </div> --></div|>", "<div> + </div>", "|<div><!-- </div> --></div>"},
    {"HTML", "<script>if (a<b) {}</script|>", "<script> + </script>",
     "|<script>if (a<b) {}</script>"},
    {"HTML", "<scr|ipt>x = '</div>';</script>", "<script> + </script>",
     "<script>x = '</div>';|</script>"},
    {"HTML", "<div><script>x = '<div>';</script></div|>", "<div> + </div>",
     "|<div><script>x = '<div>';</script></div>"},
    {"HTML", "<a title='x>y'>a</a|>", "<a title='x>y'> + </a>", "|<a title='x>y'>a</a>"},
    {"XML", "<a><A>x</A></a|>", "<a> + </a>", "|<a><A>x</A></a>"},
    {"XML", "<a|><b/></a>", "<a> + </a>", "<a><b/>|</a>"},
    // Brackets: in script code only in a page, everywhere in a script.
    {"HTML", "<p>(a|)</p>", "", ""},
    {"HTML", "<script>f(a|)</script>", "( + )", "<script>f|(a)</script>"},
    {"HTML", "<?php f($a[1]|); ?>", "[ + ]", "<?php f($a[|1]); ?>"},
    {"JAVA SCRIPT", "f(a, (b)|)", "( + )", "f(a, (|b))"},
    {"JAVA SCRIPT", "f|(a)", "( + )", "f(a|)"},
    {"JAVA SCRIPT", "if (x) {|\n  y();\n}", "{ + }", "if (x) {\n  y();\n}|"},
    {"JAVA SCRIPT", "f(|a", "unmatched (", ""},
    {"JAVA SCRIPT", "a]|", "unmatched ]", ""},
    {"JAVA SCRIPT", "a|b", "", ""},
    {"PHP", "$a = [1, 2]|;", "[ + ]", "$a = [|1, 2];"},
    {"VBSCRIPT", "x = f(a|)", "( + )", "x = f|(a)"},
};

}  // namespace

TEST(PairMatching, MarksBothTagsOrBothBracketsAndGoesToTheOther) {
  for (const TCase& c : kCases) {
    const TDoc doc = Doc(c.Text);
    const std::string syntax = c.Syntax;
    const bool page = syntax == "HTML" || syntax == "XML";
    const THint hint = page ? HintAt(syntax, doc) : THint::None;
    TReading r(doc.Text, FlavourOf(syntax));
    const TPairMarks marks = PairsAt(r.Markup, doc.Caret, hint,
                                     page ? TBracketScope::ScriptParts : TBracketScope::Everywhere);
    EXPECT_EQ(Marked(doc.Text, marks), c.Marked) << syntax << ": " << c.Text;
    std::string after;
    if (marks.Target)
      after = doc.Text.substr(0, *marks.Target) + "|" + doc.Text.substr(*marks.Target);
    const TDoc expected = Doc(c.AfterGo);
    const std::string wanted =
        expected.Text.empty()
            ? ""
            : expected.Text.substr(0, expected.Caret) + "|" + expected.Text.substr(expected.Caret);
    EXPECT_EQ(after, wanted) << syntax << ": " << c.Text;
  }
}

TEST(PairMatching, BracketsOfAnotherStyleAreNotCounted) {
  // f(")"): the bracket inside the string has the string's style.
  const std::string text = "f(\")\")";
  std::vector<std::uint8_t> styles(text.size(), 1);
  for (std::size_t i = 2; i <= 4; ++i) styles[i] = 7;
  TReading r(text, TMarkupFlavour::None, styles);
  const TPairMarks marks = PairsAt(r.Markup, 2, THint::None, TBracketScope::Everywhere);
  ASSERT_EQ(marks.Matched.size(), 2u);
  EXPECT_EQ(marks.Matched[1].From, 5u);
  // Without styles the string's bracket is taken.
  TReading bare(text, TMarkupFlavour::None);
  const TPairMarks plain = PairsAt(bare.Markup, 2, THint::None, TBracketScope::Everywhere);
  ASSERT_EQ(plain.Matched.size(), 2u);
  EXPECT_EQ(plain.Matched[1].From, 3u);
}

TEST(PairMatching, SearchesNoFurtherThanTheLimit) {
  const std::string far = "<div>" + std::string(300, 'x') + "</div>";
  TReading r(far, TMarkupFlavour::Html);
  EXPECT_TRUE(PairsAt(r.Markup, 1, THint::None, TBracketScope::ScriptParts, 100).Matched.empty());
  EXPECT_EQ(PairsAt(r.Markup, 1, THint::None, TBracketScope::ScriptParts, 1000).Matched.size(), 2u);
  const std::string brackets = "(" + std::string(300, 'x') + ")";
  TReading b(brackets, TMarkupFlavour::None);
  EXPECT_TRUE(PairsAt(b.Markup, 0, THint::None, TBracketScope::Everywhere, 100).Unmatched);
  EXPECT_EQ(PairsAt(b.Markup, 0, THint::None, TBracketScope::Everywhere, 1000).Matched.size(), 2u);
}
