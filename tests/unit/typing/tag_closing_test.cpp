// Closing tags as the user types: what ">" brings and what "</" is completed
// with, in every syntax that has markup, with the colouring's hint and, for
// the HTML cases, without it (as in PHP and VBScript pages) alike.
#include "tag_closing.h"

#include <gtest/gtest.h>

#include "typing_test_support.h"

using namespace typing_test;

namespace {

struct TCase {
  const char* Syntax;
  const char* Text;  // "|" is the caret
  const char* Expected;
};

std::string Closing(const std::string& syntax, const TDoc& doc, THint hint) {
  TReading r(doc.Text, FlavourOf(syntax));
  return ClosingTagFor(r.Markup, doc.Caret, hint);
}

std::string Completion(const std::string& syntax, const TDoc& doc, THint hint) {
  TReading r(doc.Text, FlavourOf(syntax));
  return EndTagCompletion(r.Markup, doc.Caret, hint);
}

// ">" typed at the caret.
const TCase kClosing[] = {
    {"HTML", "<p|", "</p>"},
    {"HTML", "<a href=\"x\"|", "</a>"},
    {"HTML", "<a href=x|", "</a>"},
    {"HTML", "<DIV class=a|", "</DIV>"},
    {"HTML", "<p>\n  <em|", "</em>"},
    {"HTML", "<a\n  href=\"x\"\n  title='y'|", "</a>"},
    {"HTML", "<script src=\"a.js\"|", "</script>"},
    {"HTML", "<script></script>\n<p|", "</p>"},
    {"HTML", "<!-- x --><p|", "</p>"},
    {"HTML", "<?php echo 1; ?>\n<p|", "</p>"},
    {"HTML", "<% x %><p|", "</p>"},
    {"HTML", "<a href=\"<?= $u ?>\"|", "</a>"},
    {"HTML", "<p|</pre>", "</p>"},
    {"HTML", "<custom-element|", "</custom-element>"},
    // Void elements, in any case.
    {"HTML", "<area|", ""},
    {"HTML", "<base|", ""},
    {"HTML", "<br|", ""},
    {"HTML", "<BR|", ""},
    {"HTML", "<col|", ""},
    {"HTML", "<embed src=x|", ""},
    {"HTML", "<hr|", ""},
    {"HTML", "<img src=\"a.png\"|", ""},
    {"HTML", "<input type=text|", ""},
    {"HTML", "<link rel=stylesheet|", ""},
    {"HTML", "<meta charset=\"utf-8\"|", ""},
    {"HTML", "<param|", ""},
    {"HTML", "<source|", ""},
    {"HTML", "<track|", ""},
    {"HTML", "<wbr|", ""},
    {"HTML", "<basefont|", ""},
    {"HTML", "<frame|", ""},
    {"HTML", "<isindex|", ""},
    // After "/".
    {"HTML", "<div/|", ""},
    {"HTML", "<span class=x /|", ""},
    // The same closing tag follows already.
    {"HTML", "<p|</p>", ""},
    {"HTML", "<p|</P>", ""},
    {"HTML", "<li|\n  \n</li>", ""},
    // Comments.
    {"HTML", "<!-- <p|", ""},
    {"HTML", "<!--\n<p|", ""},
    {"HTML", "<!--\n\n<p title=x|", ""},
    // Attribute values.
    {"HTML", "<a title=\"<b|", ""},
    {"HTML", "<a title='<b|", ""},
    {"HTML", "<a title=\"<b>\" href='<i|", ""},
    {"HTML", "<a title=\"x>y\" href=z|", "</a>"},
    {"HTML", "<a title=\"\n<b|", ""},
    // Script and style content.
    {"HTML", "<script>document.write(\"<p|", ""},
    {"HTML", "<script>\nvar s = '<b|", ""},
    {"HTML", "<SCRIPT type=\"text/javascript\">\nif (a<b|", ""},
    {"HTML", "<style>\np<b|", ""},
    // PHP and server blocks, CDATA sections.
    {"HTML", "<?php echo \"<p|", ""},
    {"HTML", "<?php\n$s = '<div|", ""},
    {"HTML", "<% Response.Write \"<p|", ""},
    {"HTML", "<%\nx = \"<td|", ""},
    {"HTML", "<![CDATA[ <p|", ""},
    // Not the end of a start tag.
    {"HTML", "</p|", ""},
    {"HTML", "<!DOCTYPE html|", ""},
    {"HTML", "<p>x|", ""},
    {"HTML", "a < b|", ""},
    {"HTML", "<|", ""},
    // XML closes every element, by its name as written.
    {"XML", "<item|", "</item>"},
    {"XML", "<br|", "</br>"},
    {"XML", "<ns:item a='1'|", "</ns:item>"},
    {"XML", "<_x|", "</_x>"},
    {"XML", "<Item|</item>", "</Item>"},
    {"XML", "<Item|</Item>", ""},
    {"XML", "<a/|", ""},
    {"XML", "<?xml version=\"1.0\"?|", ""},
    {"XML", "<!-- <a|", ""},
    {"XML", "<![CDATA[<a|", ""},
    {"XML", "<a b=\"<c|", ""},
    {"XML", "<!DOCTYPE r [\n<!ELEMENT r ANY|", ""},
    // Pages of script languages with markup parts.
    {"PHP", "<td|", "</td>"},
    {"PHP", "<?php $a = '<b|", ""},
    {"PHP", "<?php\nif ($a) {\n  echo \"<p|", ""},
    {"VBSCRIPT", "<td|", "</td>"},
    {"VBSCRIPT", "<% x = \"<b|", ""},
    // No markup at all.
    {"JAVA SCRIPT", "<p|", ""},
    {"SQL", "<p|", ""},
    {"DELPHI SCRIPT", "<p|", ""},
};

// "/" typed at the caret.
const TCase kCompletion[] = {
    {"HTML", "<div>text<|", "div>"},
    {"HTML", "<div><p>a</p><|", "div>"},
    {"HTML", "<ul>\n  <li>a\n  <li>b\n  <|", "li>"},
    {"HTML", "<div><br><img src=x><hr/><|", "div>"},
    {"HTML", "<body><div><p>x</div><|", "body>"},
    {"HTML", "<div><!-- <span> --><|", "div>"},
    {"HTML", "<div><script>if (a<b) x();</script><|", "div>"},
    {"HTML", "<div a='x>y'><|", "div>"},
    {"HTML", "<div><a/><|", "div>"},
    {"HTML", "<DIV>x<|", "DIV>"},
    {"HTML", "<script>var a = 1;<|", "script>"},
    {"HTML", "<style>p { }\n<|", "style>"},
    {"HTML", "<p>a</p><|", ""},
    {"HTML", "<div>x</DIV><|", ""},
    {"HTML", "<div><|</div>", ""},
    {"HTML", "<div><|\n</div>", ""},
    {"HTML", "<!-- <div><|", ""},
    {"HTML", "<?php echo '<div><|", ""},
    {"HTML", "<div>a|", ""},
    {"HTML", "<|", ""},
    {"XML", "<root><item><|", "item>"},
    {"XML", "<root><item/><|", "root>"},
    {"XML", "<?xml version='1.0'?><r><|", "r>"},
    {"XML", "<R><r></r><|", "R>"},
    {"PHP", "<table><tr><|", "tr>"},
    {"PHP", "<?php $x = \"<b><|", ""},
    {"JAVA SCRIPT", "<b><|", ""},
};

}  // namespace

TEST(TagClosing, WhatATypedGreaterThanSignCloses) {
  for (const TCase& c : kClosing) {
    const TDoc doc = Doc(c.Text);
    const bool scanned = FlavourOf(c.Syntax) != TMarkupFlavour::None &&
                         (std::string(c.Syntax) == "HTML" || std::string(c.Syntax) == "XML");
    const THint hint = scanned ? HintAt(c.Syntax, doc) : THint::None;
    EXPECT_EQ(Closing(c.Syntax, doc, hint), c.Expected) << c.Syntax << ": " << c.Text;
    // HTML read from its bytes alone, as the markup of a PHP or VBScript page.
    if (std::string(c.Syntax) == "HTML") {
      EXPECT_EQ(Closing(c.Syntax, doc, THint::None), c.Expected) << "bytes alone: " << c.Text;
    }
  }
}

TEST(TagClosing, WhatATypedEndTagOpenerIsCompletedWith) {
  for (const TCase& c : kCompletion) {
    const TDoc doc = Doc(c.Text);
    const bool scanned = std::string(c.Syntax) == "HTML" || std::string(c.Syntax) == "XML";
    const THint hint = scanned ? HintAt(c.Syntax, doc) : THint::None;
    EXPECT_EQ(Completion(c.Syntax, doc, hint), c.Expected) << c.Syntax << ": " << c.Text;
    if (std::string(c.Syntax) == "HTML") {
      EXPECT_EQ(Completion(c.Syntax, doc, THint::None), c.Expected) << "bytes alone: " << c.Text;
    }
  }
}

TEST(TagClosing, ReadsNoFurtherThanTheLimit) {
  // An element opened 200 bytes back is out of reach of a limit of 100.
  const TDoc doc = Doc("<section>" + std::string(200, 'x') + "<|");
  TReading r(doc.Text, TMarkupFlavour::Html);
  EXPECT_EQ(EndTagCompletion(r.Markup, doc.Caret, THint::None, 100), "");
  EXPECT_EQ(EndTagCompletion(r.Markup, doc.Caret, THint::None, 1000), "section>");
  // A script opened beyond the limit is not seen: the search stops, it does not guess.
  const TDoc script = Doc("<script>" + std::string(200, 'x') + "<b|");
  TReading s(script.Text, TMarkupFlavour::Html);
  EXPECT_EQ(ClosingTagFor(s.Markup, script.Caret, THint::None, 1000), "");
  EXPECT_EQ(ClosingTagFor(s.Markup, script.Caret, THint::None, 100), "</b>");
}

TEST(TagClosing, AnEndTagTypedBeforeTheSameEndTagIsThatOne) {
  // "</" where the end tag it begins stands after the caret already.
  const struct {
    const char* Text;
    const char* Name;
    int Existing;  // -1 for none
  } cases[] = {
      {"<p>Hello<|</p>", "p", 9},    {"<div>\n  a\n  <|\n</div>", "div", 17},
      {"<div><|</DIV >", "div", 6},  {"<div><|x</div>", "div", -1},
      {"<div><|</span>", "div", -1},
  };
  for (const auto& c : cases) {
    const TDoc doc = Doc(c.Text);
    TReading r(doc.Text, TMarkupFlavour::Html);
    const TEndTag tag = EndTagAt(r.Markup, doc.Caret, HintAt("HTML", doc));
    EXPECT_EQ(tag.Name, c.Name) << c.Text;
    EXPECT_EQ(tag.Existing, c.Existing < 0 ? kNoPosition : static_cast<std::size_t>(c.Existing))
        << c.Text;
  }
}

TEST(TagClosing, TypingOverAnEndTagStepsOverItsBytesOrStartsOneInFront) {
  // "<p>Hello</p>": the "</" of "</p>" stepped over, "p>" typed over it.
  std::string text = "<p>Hello</p>";
  TTypeOver over;
  over.Start(8, "</p>", 2, text.size());
  {
    TReading r(text, TMarkupFlavour::Html);
    EXPECT_EQ(over.Key('p', 10, r.Text), TTypeOver::TStep::Over);
    EXPECT_EQ(over.Key('>', 11, r.Text), TTypeOver::TStep::Over);
    EXPECT_FALSE(over.Active());
  }
  // Text typed in front of the tag moves it, not the typing over it.
  over.Start(8, "</p>", 2, text.size());
  text.insert(0, "xx");
  {
    TReading r(text, TMarkupFlavour::Html);
    EXPECT_EQ(over.Key('p', 12, r.Text), TTypeOver::TStep::Over);
    // Another byte than the tag's next: an end tag of the user's own in front of it.
    EXPECT_EQ(over.Key('b', 13, r.Text), TTypeOver::TStep::Diverge);
    EXPECT_EQ(over.TagStart(text.size()), 10u);
    EXPECT_EQ(over.Diverging('b'), "</pb");
    // The caret elsewhere stops it.
    EXPECT_EQ(over.Key('>', 5, r.Text), TTypeOver::TStep::None);
    EXPECT_FALSE(over.Active());
  }
  // So does the tag no longer being there.
  over.Start(10, "</p>", 2, text.size());
  text.replace(10, 4, "</q>");
  TReading r(text, TMarkupFlavour::Html);
  EXPECT_EQ(over.Key('p', 12, r.Text), TTypeOver::TStep::None);
}
