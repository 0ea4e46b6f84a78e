// The HTML highlighter: tokens and RTF of the constructs a page is made of, and
// of the odd inputs whose handling is part of its contract.
#include "highlight_test_support.h"
#include "html_scanner.h"

namespace {

using namespace highlight_test;

std::string Html(const std::string& text) { return KindsAndTexts("HTML", text); }

TEST(HtmlScanner, EmptyTextGivesTheBareDocument) {
  EXPECT_EQ(Rtf("HTML", ""),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 "
            "Courier New;}}\r\n"
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red128\\green0\\blue0;"
            "\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;"
            "\\red0\\green128\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;"
            "\\red255\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;}\r\n"
            "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 \\par }");
}

TEST(HtmlScanner, TagsAndText) {
  EXPECT_EQ(Dump(Tokens("HTML", "<b>x</b>")),
            "Symbol\t7\t<\nTagName\t4\tb\nSymbol\t7\t>\nText\t8\tx\n"
            "Symbol\t7\t<\nTagName\t4\t/b\nSymbol\t7\t>\n");
  EXPECT_EQ(RtfBody("HTML", "<b>x</b>"), "\\cf7 <\\cf4 b\\cf7 >\\cf8 x\\cf7 <\\cf4 /b\\cf7 >");
  EXPECT_EQ(Html("<!DOCTYPE html>"),
            "Symbol <\nTagName !DOCTYPE\nSpace  \nIdentifier html\nSymbol >\n");
  // Text keeps its blanks; only control bytes and "<" end it.
  EXPECT_EQ(Html("<p>a b=\"c\">\td"),
            "Symbol <\nTagName p\nSymbol >\nText a b=\"c\">\nSpace \\t\nText d\n");
}

TEST(HtmlScanner, TagNameLookup) {
  EXPECT_EQ(Html("<h1><H1><Var></VAR>"),
            "Symbol <\nTagName h1\nSymbol >\nSymbol <\nTagName H1\nSymbol >\n"
            "Symbol <\nTagName Var\nSymbol >\nSymbol <\nTagName /VAR\nSymbol >\n");
  // Closing forms exist only where the table lists them.
  EXPECT_EQ(Html("</img></br>"),
            "Symbol <\nUndefinedTag /img\nSymbol >\nSymbol <\nUndefinedTag /br\nSymbol >\n");
  // The name ends where letters after digits begin, or at the first other byte.
  EXPECT_EQ(Html("<h1x"), "Symbol <\nTagName h1\nIdentifier x\n");
  EXPECT_EQ(Html("<my-tag"), "Symbol <\nUndefinedTag my\nIdentifier -tag\n");
  EXPECT_EQ(Html("<#x"), "Symbol <\nUndefinedTag \nIdentifier #x\n");
  // "CE" hashes like "DD" and has its length: the comparison tells them apart.
  EXPECT_EQ(Html("<CE"), "Symbol <\nUndefinedTag CE\n");
  // A name whose hash is beyond the table is decided without a comparison.
  EXPECT_EQ(Dump(Tokens("HTML", "<zzzzzzzzzz")), "Symbol\t7\t<\nIdentifier\t3\tzzzzzzzzzz\n");
  EXPECT_EQ(Dump(Tokens("HTML", "<zzzzzzzzz")), "Symbol\t7\t<\nUndefinedTag\t9\tzzzzzzzzz\n");
}

TEST(HtmlScanner, AttributesAndValues) {
  EXPECT_EQ(Html("<td width=100 align = \"left\" x=a&b>"),
            "Symbol <\nTagName td\nSpace  \nIdentifier width\nSymbol =\nValue 100\nSpace  \n"
            "Identifier align\nSpace  \nSymbol =\nSpace  \nValue \"left\"\nSpace  \n"
            "Identifier x\nSymbol =\nValue a&b\nSymbol >\n");
  // A quoted value is written in the string colour, an unquoted one is not.
  EXPECT_EQ(
      RtfBody("HTML", "<a href=\"x\" n=1>"),
      "\\cf7 <\\cf4 a\\cf5  \\cf3 href\\cf7 =\\cf6 \"x\"\\cf5  \\cf3 n\\cf7 =\\cf10 1\\cf7 >");
  // A quote that is not a value is a string, and a string ends at its line end.
  EXPECT_EQ(Html("<a \"b c\" \"d\r\ne"),
            "Symbol <\nTagName a\nSpace  \nString \"b c\"\nSpace  \nString \"d\n"
            "Space \\r\\n\nIdentifier e\n");
  // An "&" where a name or value would begin ends the tag's colouring; the
  // empty token in front of it keeps the kind of the token before.
  EXPECT_EQ(Html("<a &x=1>b<i>"),
            "Symbol <\nTagName a\nSpace  \nSpace \nText &x=1>b\nSymbol <\nTagName i\nSymbol >\n");
}

TEST(HtmlScanner, CommentsAndServerScripts) {
  EXPECT_EQ(Html("<!-->x"), "Comment <!--\nComment >\nText x\n");
  EXPECT_EQ(Html("<%>x"), "ServerScript <%\nServerScript >\nText x\n");
  EXPECT_EQ(Html("<%= x %>y"), "ServerScript <%\nServerScript = x %>\nText y\n");
  EXPECT_EQ(Html("<!-- a > b\r\n-- c -->d"),
            "Comment <!--\nComment  a > b\nSpace \\r\\n\nComment -- c -->\nText d\n");
  // Unterminated, they run to the end of the text, line by line.
  EXPECT_EQ(Html("<% a\nb"), "ServerScript <%\nServerScript  a\nSpace \\n\nServerScript b\n");
}

TEST(HtmlScanner, Entities) {
  EXPECT_EQ(Html(">a &amp; b &AMP;"), "Symbol >\nText a \nEntity &amp;\nText  b \nEntity &AMP;\n");
  EXPECT_EQ(Html(">&foo; &divide; &#9;"),
            "Symbol >\nText &foo; \nEntity &divide\nText ; \nEntity &#9;\n");
  // An entity right after a tag: the text token in front of it is empty.
  EXPECT_EQ(Html(">&lt;"), "Symbol >\nText \nEntity &lt;\n");
  // At the very start the scanner has no previous kind: the empty token carries
  // the first kind, ServerScript.
  EXPECT_EQ(Dump(Tokens("HTML", "&amp;")), "ServerScript\t1\t\nText\t8\t\nEntity\t11\t&amp;\n");
  EXPECT_EQ(Html("&x"), "ServerScript \nText &x\n");
  // "&" as the last byte: the comparison stops at the terminating NUL.
  EXPECT_EQ(Html(">a&"), "Symbol >\nText a&\n");
}

TEST(HtmlScanner, BeforeTheFirstTag) {
  EXPECT_EQ(Html("word = \"v\" x=1"),
            "Identifier word\nSpace  \nSymbol =\nSpace  \nValue \"v\"\nSpace  \n"
            "Identifier x\nSymbol =\nValue 1\n");
}

TEST(HtmlScanner, ScriptCommentLinesAndQuotedValuesChangeColour) {
  EXPECT_EQ(RtfBody("HTML", "<p>  // note\r\nx"),
            "\\cf7 <\\cf4 p\\cf7 >\\cf2   // note\\par \\cf5 \r\n\\cf8 x");
  EXPECT_EQ(RtfBody("HTML", ">/"), "\\cf7 >\\cf8 /");
}

TEST(HtmlScanner, OnlyCrLfMakesAParagraph) {
  EXPECT_EQ(RtfBody("HTML", "a\r\nb\nc\rd"),
            "\\cf3 a\\par \\cf5 \r\n\\cf3 b\\cf5 \n\\cf3 c\\cf5 \r\\cf3 d");
  // A tag goes on across a line end.
  EXPECT_EQ(Html("<a\r\nhref=x>"),
            "Symbol <\nTagName a\nSpace \\r\\n\nIdentifier href\nSymbol =\nValue x\nSymbol >\n");
}

TEST(HtmlScanner, EscapesRtfCharactersAndKeepsHighBytes) {
  EXPECT_EQ(RtfBody("HTML", ">{a\\b}\xE9"), "\\cf7 >\\cf8 \\{a\\\\b\\}\xE9");
}

// A name long enough that its hash no longer fits 32 bits must still count as
// beyond the table, not wrap around to a bucket number.
TEST(HtmlScanner, HugeNameIsOneIdentifier) {
  const std::string name(17500000, '!');
  const std::vector<TokenRecord> tokens = Tokens("HTML", "<" + name + ">");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[1].Kind, "Identifier");
  EXPECT_EQ(tokens[1].Text.size(), name.size());
}

// The range survives into a new text on the same object; the look-back for a
// closing ">" must then not reach in front of the new text.
TEST(HtmlScanner, RangeOutlivesItsTextSafely) {
  TqorHTMLRTF html;
  html.SetText("<!--");
  while (!html.GetEol()) html.Next();
  ASSERT_EQ(html.RangeState(), TqorHTMLRTF::TRangeState::Comment);
  html.SetText(">x");
  EXPECT_EQ(KindsAndTexts(CollectTokens(html, 8).Tokens), "Comment >x\n");
}

}  // namespace
