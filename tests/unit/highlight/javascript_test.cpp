// The JavaScript scanner: tokens, kinds and colours of script text.
#include "highlight_test_support.h"
#include "javascript_scanner.h"

using namespace highlight_test;

namespace {

const char kSyntax[] = "JAVA SCRIPT";

std::string Scan(const std::string& text) { return KindsAndTexts(kSyntax, text); }

std::string KindOf(const std::string& word) {
  const std::vector<TokenRecord> tokens = Tokens(kSyntax, word);
  if (tokens.size() != 1) return "not one token";
  return tokens[0].Kind;
}

TEST(JavaScriptScanner, EmptyTextIsTheBareDocumentWithTheScriptColours) {
  EXPECT_EQ(Rtf(kSyntax, ""),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl"
            "{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue0;"
            "\\red0\\green0\\blue128;\\red0\\green0\\blue255;\\red0\\green0\\blue0;"
            "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;}\r\n"
            "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 \\par }");
  // A scanner that was never given a text converts as an empty one would,
  // apart from the first (empty) token it starts with.
  TqorJScriptRTF unstarted;
  const std::string rtf = unstarted.ConvertToRtfString();
  const std::string tail = "\\f0 \\cf1 \\par }";
  ASSERT_GE(rtf.size(), tail.size());
  EXPECT_EQ(rtf.substr(rtf.size() - tail.size()), tail);
}

TEST(JavaScriptScanner, KeywordsMatchByHashInAnyCase) {
  // clang-format off
  for (const char* word : {"while", "WHILE", "While", "if", "IF", "E", "e", "ln99", "LN22",
                           "atan7", "SQRT9_9", "MAX_VALUE", "max_value", "POSITIVE_INFINITY",
                           "negative_infinity", "getTimezoneOffset", "onMouseOver", "writeln",
                           "abs", "UTC", "toGMTString", "Textarea", "taintEnabled"})
    // clang-format on
    EXPECT_EQ(KindOf(word), "Key") << word;
  // Missing from the list, longer than a keyword, or the same hash as a keyword
  // with other letters ("fi" and "if" both hash to 15).
  for (const char* word : {"case", "switch", "true", "null", "typeof", "whiles", "whil", "fi", "ln",
                           "LN100", "E1", "_", "x1F", "POSITIVE_INFINITYX",
                           "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"})
    EXPECT_EQ(KindOf(word), "Identifier") << word;
  EXPECT_EQ(KindOf(std::string(100000, '_')), "Identifier");
  EXPECT_EQ(RtfBody(kSyntax, "var x"), "\\cf3 var\\cf5  \\cf2 x");
}

TEST(JavaScriptScanner, BlockCommentsCarryAcrossLines) {
  EXPECT_EQ(Scan("/* a\r\nb */x"), "Comment /* a\nSpace \\r\\n\nComment b */\nIdentifier x\n");
  EXPECT_EQ(RtfBody(kSyntax, "/* a\r\nb */"), "\\cf1 /* a\\par \\cf5 \r\n\\cf1 b */");
  // "/*/" does not close, but a continuation closes on its own first bytes.
  EXPECT_EQ(Scan("/*/ x\r\n*/y"), "Comment /*/ x\nSpace \\r\\n\nComment */\nIdentifier y\n");
  EXPECT_EQ(Scan("/**/y"), "Comment /**/\nIdentifier y\n");
  // A "*" at the end of one line and "/" at the start of the next do not close.
  EXPECT_EQ(Scan("/**\n/ x\rx*/"), "Comment /**\nSpace \\n\nComment / x\nSpace \\r\nComment x*/\n");
  EXPECT_EQ(Scan("/* a\r\n\r\n"), "Comment /* a\nSpace \\r\\n\nSpace \\r\\n\n");
  EXPECT_EQ(Scan("// c */ \"x\r\ny"), "Comment // c */ \"x\nSpace \\r\\n\nIdentifier y\n");
  EXPECT_EQ(Scan("a/b/=c"), "Identifier a\nSymbol /\nIdentifier b\nSymbol /=\nIdentifier c\n");
}

TEST(JavaScriptScanner, StringsEndAtTheirQuoteOrTheLineEnd) {
  EXPECT_EQ(Scan("'abc\r\nx"), "String 'abc\nSpace \\r\\n\nIdentifier x\n");
  EXPECT_EQ(Scan("\"\"\"abc\" x"), "String \"\"\"abc\"\nSpace  \nIdentifier x\n");
  EXPECT_EQ(Scan("''x"), "String ''\nIdentifier x\n");
  EXPECT_EQ(Scan("'''"), "String '''\n");
  EXPECT_EQ(Scan("'\"'\"'\""), "String '\"'\nString \"'\"\n");
  // A backslash escapes nothing.
  EXPECT_EQ(Scan("'a\\'b'"), "String 'a\\\\'\nIdentifier b\nString '\n");
  EXPECT_EQ(Scan("\"ab"), "String \"ab\n");
  EXPECT_EQ(RtfBody(kSyntax, "'{\\}'"), "\\cf6 '\\{\\\\\\}'");
}

TEST(JavaScriptScanner, NumbersHexRunsAndDigitStrings) {
  EXPECT_EQ(Scan("1e5 3.14.15 1e+5"),
            "Number 1e5\nSpace  \nNumber 3.14.15\nSpace  \nNumber 1e\nSymbol +\nNumber 5\n");
  EXPECT_EQ(Scan("0x1F"), "Number 0\nIdentifier x1F\n");
  EXPECT_EQ(Scan("1..5"), "Number 1\nSymbol .\nSymbol .\nNumber 5\n");
  EXPECT_EQ(Scan("1...x...y"), "Number 1\nSymbol ...\nIdentifier x\nSymbol ...\nIdentifier y\n");
  EXPECT_EQ(Scan("2.x"), "Number 2.\nIdentifier x\n");
  EXPECT_EQ(Scan("$(x)"), "Number $\nSymbol (\nIdentifier x\nSymbol )\n");
  EXPECT_EQ(Scan("$09afAFg"), "Number $09afAF\nIdentifier g\n");
  EXPECT_EQ(Scan("#12a#"), "String #12\nIdentifier a\nString #\n");
  EXPECT_EQ(RtfBody(kSyntax, "$1 #2"), "\\cf4 $1\\cf5  \\cf6 #2");
}

TEST(JavaScriptScanner, OperatorsBlanksAndStrayBytes) {
  EXPECT_EQ(Scan("%=%*=*"), "Space %=\nSpace %\nSpace *=\nSpace *\n");
  EXPECT_EQ(Scan("&&&=&+++=+---=->-|||=|"),
            "Symbol &&\nSymbol &=\nSymbol &\nSymbol ++\nSymbol +=\nSymbol +\nSymbol --\n"
            "Symbol -=\nSymbol ->\nSymbol -\nSymbol ||\nSymbol |=\nSymbol |\n");
  EXPECT_EQ(Scan("==!(),:;<>[]{}~"),
            "Symbol =\nSymbol =\nSymbol !\nSymbol (\nSymbol )\nSymbol ,\nSymbol :\nSymbol ;\n"
            "Symbol <\nSymbol >\nSymbol [\nSymbol ]\nSymbol {\nSymbol }\nSymbol ~\n");
  EXPECT_EQ(Scan("?@\\^`\x7F\x80\xFF"),
            "Stray ?\nStray @\nStray \\\\\nStray ^\nStray `\nStray \\x7F\nStray \\x80\n"
            "Stray \\xFF\n");
  EXPECT_EQ(Scan(" \t\x01\x1F\x0B\x0C \n\r\r\n\n\r"),
            "Space  \\t\\x01\\x1F\\x0B\\x0C \nSpace \\n\nSpace \\r\nSpace \\r\\n\nSpace \\n\n"
            "Space \\r\n");
  EXPECT_EQ(RtfBody(kSyntax, "a\r\n\xE9%"), "\\cf2 a\\par \\cf5 \r\n\\cf8 \xE9\\cf5 %");
}

}  // namespace
