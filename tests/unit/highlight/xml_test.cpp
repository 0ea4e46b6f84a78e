// The XML highlighter: token stream of the markup constructs and the colours
// they come out in.
#include <vector>

#include "highlight_test_support.h"
#include "xml_scanner.h"

using highlight_test::KindsAndTexts;
using highlight_test::RtfBody;

namespace {

std::string Xml(const std::string& text) { return KindsAndTexts("XML", text); }

}  // namespace

TEST(XmlScanner, ElementsAttributesAndQuotedValues) {
  EXPECT_EQ(Xml("<a href='x'>t</a>"),
            "Symbol <\n"
            "ElementName a\n"
            "Space  \n"
            "AttributeName href\n"
            "Assign ='\n"
            "ValueSingle x\n"
            "Symbol '\n"
            "Symbol >\n"
            "Text t\n"
            "Symbol </\n"
            "ElementName a\n"
            "Symbol >\n");
  // Double-quoted values are red, single-quoted ones black.
  EXPECT_EQ(RtfBody("XML", "<a href=\"x\">"),
            "\\cf1 <\\cf1 a\\cf1  \\cf3 href\\cf1 =\"\\cf3 x\\cf1 \"\\cf1 >");
  EXPECT_EQ(RtfBody("XML", "<a href='x'>"),
            "\\cf1 <\\cf1 a\\cf1  \\cf3 href\\cf1 ='\\cf1 x\\cf1 '\\cf1 >");
  // Blanks around "=" belong to the stretch before the value; markup bytes
  // after a value's first byte stay in the value.
  EXPECT_EQ(Xml("<e k = \"a<b>c\"/>"),
            "Symbol <\n"
            "ElementName e\n"
            "Space  \n"
            "AttributeName k\n"
            "Space  \n"
            "Assign = \"\n"
            "ValueDouble a<b>c\n"
            "Symbol \"\n"
            "AttributeName \n"
            "Symbol /\n"
            "Symbol >\n");
  // An empty value: the closing quote right after the opening one.
  EXPECT_EQ(Xml("<e k=\"\">"),
            "Symbol <\nElementName e\nSpace  \nAttributeName k\nAssign =\"\n"
            "ValueDouble \nSymbol \"\nSymbol >\n");
}

TEST(XmlScanner, SlashesCloseWhatHasBeenScanned) {
  EXPECT_EQ(Xml("<a b/>"),
            "Symbol <\nElementName a\nSpace  \nAttributeName b\nSymbol /\nSymbol >\n");
  // A "/" in the stretch after an attribute name takes that whole stretch with it.
  EXPECT_EQ(Xml("<a b = c/>"),
            "Symbol <\nElementName a\nSpace  \nAttributeName b\nSpace  \n"
            "Symbol = c/\nSymbol >\n");
  // Bytes that no name takes leave empty tokens, and the scan moves on.
  EXPECT_EQ(Xml("<=x"), "Symbol <\nElementName \nAttributeName \nAssign =x\n");
}

TEST(XmlScanner, NamespaceDeclarations) {
  EXPECT_EQ(Xml("<r xmlns:p=\"u&amp;v\" a:xmlns='w&x;'>"),
            "Symbol <\n"
            "ElementName r\n"
            "Space  \n"
            "NamespaceName xmlns:p\n"
            "NamespaceAssign =\"\n"
            "NamespaceValueDouble u\n"
            "NamespaceEntityDouble &amp;\n"
            "NamespaceValueDouble v\n"
            "Symbol \"\n"
            "Space  \n"
            "NamespaceName a:xmlns\n"
            "NamespaceAssign ='\n"
            "NamespaceValueSingle w\n"
            "NamespaceEntitySingle &x;\n"
            "NamespaceValueSingle \n"
            "Symbol '\n"
            "Symbol >\n");
  EXPECT_EQ(RtfBody("XML", "<r xmlns:p=\"u\" xmlns='w'>"),
            "\\cf1 <\\cf1 r\\cf1  \\cf3 xmlns:p\\cf1 =\"\\cf3 u\\cf1 \"\\cf1  "
            "\\cf3 xmlns\\cf1 ='\\cf1 w\\cf1 '\\cf1 >");
  // Only the exact lower-case spelling marks a namespace.
  EXPECT_EQ(Xml("<r XMLNS='w'>"),
            "Symbol <\nElementName r\nSpace  \nAttributeName XMLNS\nAssign ='\n"
            "ValueSingle w\nSymbol '\nSymbol >\n");
}

TEST(XmlScanner, References) {
  EXPECT_EQ(Xml("a &amp; b"), "Text a \nTextEntity &amp;\nText  b\n");
  // A reference first in the text leaves an empty text token before it.
  EXPECT_EQ(Xml("&lt;x"), "Text \nTextEntity &lt;\nText x\n");
  // Without a ";" the reference runs to the next blank.
  EXPECT_EQ(Xml("&copy 2024"), "Text \nTextEntity &copy\nText  2024\n");
  EXPECT_EQ(Xml("<a v=\"1&amp;2\" w='3&#38;4'>"),
            "Symbol <\nElementName a\nSpace  \nAttributeName v\nAssign =\"\n"
            "ValueDouble 1\nValueEntityDouble &amp;\nValueDouble 2\nSymbol \"\n"
            "Space  \nAttributeName w\nAssign ='\n"
            "ValueSingle 3\nValueEntitySingle &#38;\nValueSingle 4\nSymbol '\nSymbol >\n");
  EXPECT_EQ(RtfBody("XML", "a&b;<x v=\"&c;\" w='&d;'>"),
            "\\cf2 a\\cf2 &b;\\cf1 <\\cf1 x\\cf1  \\cf3 v\\cf1 =\"\\cf3 \\cf3 &c;\\cf3 \\cf1 \""
            "\\cf1  \\cf3 w\\cf1 ='\\cf1 \\cf1 &d;\\cf1 \\cf1 '\\cf1 >");
}

TEST(XmlScanner, Comments) {
  EXPECT_EQ(Xml("<!-- c -->x"), "Symbol <!--\nComment  c \nSymbol -->\nText x\n");
  // A comment spans lines; each line end is a token of its own inside it.
  EXPECT_EQ(Xml("<!--a\r\n-b->\r\n-->"),
            "Symbol <!--\nComment a\nSpace \\r\\n\nComment -b->\nSpace \\r\\n\nSymbol -->\n");
  // The closing "-->" must begin after the opening one: "<!-->" leaves the
  // comment open, to the end of the text.
  EXPECT_EQ(Xml("<!-->a<b>"), "Symbol <!--\nComment >a<b>\n");
  EXPECT_EQ(Xml("<!---->"), "Symbol <!--\nSymbol -->\n");
}

TEST(XmlScanner, ProcessingInstructions) {
  EXPECT_EQ(Xml("<?xml version=\"1.0\"?>\r\n<r/>"),
            "ProcessingInstruction <?\n"
            "ProcessingInstruction xml version=\"1.0\"?>\n"
            "Space \\r\\n\n"
            "Symbol <\nElementName r\nAttributeName \nSymbol /\nSymbol >\n");
  // The "?" that closes may be the one that opened.
  EXPECT_EQ(Xml("<?>x"), "ProcessingInstruction <?\nProcessingInstruction >\nText x\n");
  EXPECT_EQ(Xml("<?a >b\r\nc?>d"),
            "ProcessingInstruction <?\nProcessingInstruction a >b\nSpace \\r\\n\n"
            "ProcessingInstruction c?>\nText d\n");
}

TEST(XmlScanner, CDataSections) {
  // The section ends at the first ">" after a "]".
  EXPECT_EQ(Xml("<![CDATA[x]>y]]>"), "CData <![CDATA[\nCData x]>\nText y]]>\n");
  EXPECT_EQ(Xml("<![CDATA[<a>&b;\r\n]]>"),
            "CData <![CDATA[\nCData <a>&b;\nSpace \\r\\n\nCData ]]>\n");
  EXPECT_EQ(RtfBody("XML", "<![CDATA[x]]>"), "\\cf3 <![CDATA[\\cf3 x]]>");
  // Only the exact upper-case keyword opens a section.
  EXPECT_EQ(Xml("<![cdata[x"), "Symbol <!\nElementName \nAttributeName \nAssign [cdata[x\n");
}

TEST(XmlScanner, DocumentTypeDeclarations) {
  EXPECT_EQ(Xml("<!DOCTYPE r [\r\n<!ENTITY e 'v'>\r\n]>\r\n<r a='1'/>"),
            "DocType <!DOCTYPE\n"
            "DocType  r [\n"
            "Space \\r\\n\n"
            "DocType <!ENTITY e 'v'>\n"
            "Space \\r\\n\n"
            "DocType ]>\n"
            "Space \\r\\n\n"
            "Symbol <\nElementName r\nSpace  \nAttributeName a\nAssign ='\n"
            "ValueSingle 1\nSymbol '\nAttributeName \nSymbol /\nSymbol >\n");
  // Without an internal subset there is no "]>", and the declaration goes on.
  EXPECT_EQ(Xml("<!DOCTYPE r>\r\n<r>"),
            "DocType <!DOCTYPE\nDocType  r>\nSpace \\r\\n\nDocType <r>\n");
  EXPECT_EQ(Xml("<!doctype r>"),
            "Symbol <!\nElementName doctype\nSpace  \nAttributeName r\n"
            "Symbol >\n");
}

TEST(XmlScanner, ValuesContinueOnTheNextLine) {
  EXPECT_EQ(Xml("<a b=\"x\ny\">"),
            "Symbol <\nElementName a\nSpace  \nAttributeName b\nAssign =\"\n"
            "ValueDouble x\nSpace \\n\nValueDouble y\nSymbol \"\nSymbol >\n");
  // A value whose first byte is a blank or a bracket starts a token of that byte.
  EXPECT_EQ(Xml("<a b=\" >\">"),
            "Symbol <\nElementName a\nSpace  \nAttributeName b\nAssign =\"\n"
            "Space  \nSymbol >\nText \">\n");
}

TEST(XmlScanner, SlashCommentsTakeTheTextColour) {
  EXPECT_EQ(RtfBody("XML", "<!--// c-->"), "\\cf1 <!--\\cf2 // c\\cf1 -->");
  EXPECT_EQ(RtfBody("XML", "<a b=\"//h\">"),
            "\\cf1 <\\cf1 a\\cf1  \\cf3 b\\cf1 =\"\\cf2 //h\\cf1 \"\\cf1 >");
  EXPECT_EQ(RtfBody("XML", "<!-- \t//x-->"), "\\cf1 <!--\\cf2  \t//x\\cf1 -->");
  EXPECT_EQ(RtfBody("XML", "<!--/ /-->"), "\\cf1 <!--\\cf1 / /\\cf1 -->");
}

TEST(XmlScanner, DocumentPartsAndEscaping) {
  const std::string rtf = highlight_test::Rtf("XML", "a{b}\\c\r\nd");
  EXPECT_EQ(rtf,
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl"
            "{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue255;"
            "\\red255\\green0\\blue0;\\red255\\green255\\blue0;}\r\n"
            "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 "
            "\\cf2 a\\{b\\}\\\\c\\par \\cf1 \r\n\\cf2 d\\par }");
}

// The range is not reset by a new text, so a ">" at the very start of the
// next text is judged without a byte before it: it does not close.
TEST(XmlScanner, ClosingTestNeverLooksBeforeTheText) {
  TqorXMLRTF xml;
  xml.SetText("<?");
  while (!xml.GetEol()) xml.Next();
  // On the heap and exactly sized, so a read before it is caught by the sanitizer.
  std::vector<char> next = {'>', 'x', '\0'};
  xml.SetText(next.data());
  EXPECT_EQ(xml.GetToken(), ">x");
  EXPECT_STREQ(xml.GetTokenKindName(), "ProcessingInstruction");
  xml.Next();
  EXPECT_TRUE(xml.GetEol());
}
