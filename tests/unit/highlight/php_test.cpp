// The PHP scanner: tokens, kinds and colours, and the strings and comments that
// carry across lines.
#include "highlight_test_support.h"

using namespace highlight_test;

namespace {

const char kSyntax[] = "PHP";

std::string Scan(const std::string& text) { return KindsAndTexts(kSyntax, text); }

std::string KindOf(const std::string& word) {
  const std::vector<TokenRecord> tokens = Tokens(kSyntax, word);
  if (tokens.size() != 1) return "not one token";
  return tokens[0].Kind;
}

TEST(PhpScanner, EmptyTextIsTheBareDocumentWithThePhpColours) {
  EXPECT_EQ(Rtf(kSyntax, ""),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl"
            "{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;"
            "\\red255\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green128\\blue0;"
            "\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red0\\green0\\blue0;"
            "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;}\r\n"
            "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 \\par }");
}

TEST(PhpScanner, KeywordsVariablesAndIdentifiers) {
  for (const char* word : {"echo", "ECHO", "Echo", "__FILE__", "__file__", "__LINE__",
                           "highlight_string", "HIGHLIGHT_FILE", "old_function", "show_source",
                           "xor", "elseif", "endswitch", "cfunction", "do", "if", "or"})
    EXPECT_EQ(KindOf(word), "Key") << word;
  for (const char* word : {"echos", "foreach", "null", "include_once", "fi", "od", "_", "__FILE",
                           "php", "highlight_strings"})
    EXPECT_EQ(KindOf(word), "Identifier") << word;
  EXPECT_EQ(KindOf(std::string(100000, 'z')), "Identifier");
  EXPECT_EQ(Scan("$echo $ $_x9->y"),
            "Variable $echo\nSpace  \nVariable $\nSpace  \nVariable $_x9\nSymbol ->\n"
            "Identifier y\n");
  EXPECT_EQ(RtfBody(kSyntax, "@$a=new B;"), "\\cf3 @\\cf9 $a\\cf8 =\\cf4 new\\cf6  \\cf2 B\\cf8 ;");
}

TEST(PhpScanner, StringsCarryAcrossLines) {
  EXPECT_EQ(Scan("'abc\r\ndef' x"),
            "String 'abc\nSpace \\r\\n\nString def'\nSpace  \nIdentifier x\n");
  EXPECT_EQ(RtfBody(kSyntax, "'a\r\nb'"), "\\cf7 'a\\par \\cf6 \r\n\\cf7 b'");
  // Page text around the code: the apostrophe of "don't" opens a string.
  EXPECT_EQ(Scan("don't\r\n\r\nit's"),
            "Identifier don\nString 't\nSpace \\r\\n\nSpace \\r\\n\nString it'\n"
            "Identifier s\n");
  EXPECT_EQ(Scan("'a\\'b"), "String 'a\\\\'\nIdentifier b\n");
  EXPECT_EQ(Scan("\"a\\\"b\" x"), "String \"a\\\\\"b\"\nSpace  \nIdentifier x\n");
  EXPECT_EQ(Scan("\"a\r\n\\\"b\" x"),
            "String \"a\nSpace \\r\\n\nString \\\\\"b\"\nSpace  \nIdentifier x\n");
  EXPECT_EQ(Scan("\"'\"'\"'"), "String \"'\"\nString '\"'\n");
  EXPECT_EQ(RtfBody(kSyntax, "\"{$a}\""), "\\cf7 \"\\{$a\\}\"");
}

TEST(PhpScanner, BackslashQuotePairsKeepTheStringOpen) {
  // The quote after "a\\" is taken as escaped: the string goes on to the next
  // line and closes at the next plain double quote.
  EXPECT_EQ(Scan("\"a\\\\\" x\r\ny\"z"),
            "String \"a\\\\\\\\\" x\nSpace \\r\\n\nString y\"\nIdentifier z\n");
  // A lone backslash before the line end leaves the string open as usual.
  EXPECT_EQ(Scan("\"a\\\r\nb\"c"), "String \"a\\\\\nSpace \\r\\n\nString b\"\nIdentifier c\n");
}

TEST(PhpScanner, Comments) {
  EXPECT_EQ(Scan("# a 'b\r\n// c \"d\r\nx"),
            "Comment # a 'b\nSpace \\r\\n\nComment // c \"d\nSpace \\r\\n\nIdentifier x\n");
  EXPECT_EQ(Scan("/*/ x\r\n*/y"), "Comment /*/ x\nSpace \\r\\n\nComment */\nIdentifier y\n");
  EXPECT_EQ(Scan("/**/y"), "Comment /**/\nIdentifier y\n");
  EXPECT_EQ(Scan("/* 'a\n\"b\r*/'"),
            "Comment /* 'a\nSpace \\n\nComment \"b\nSpace \\r\nComment */\n"
            "String '\n");
  EXPECT_EQ(Scan("a/b/=c"), "Identifier a\nSymbol /\nIdentifier b\nSymbol /=\nIdentifier c\n");
}

TEST(PhpScanner, NumbersTakeHexDigitsSuffixesAndMinus) {
  EXPECT_EQ(Scan("10-5 0x1F 1.5e3 10L 123abc 7G"),
            "Number 10-5\nSpace  \nNumber 0x1F\nSpace  \nNumber 1.5e3\nSpace  \nNumber 10L\n"
            "Space  \nNumber 123abc\nSpace  \nNumber 7\nIdentifier G\n");
  EXPECT_EQ(Scan("1..5"), "Number 1\nSymbol .\nSymbol .\nNumber 5\n");
  EXPECT_EQ(Scan("1.-.2"), "Number 1.-.2\n");
}

TEST(PhpScanner, OperatorsAreJoinedUpToTwoBytes) {
  EXPECT_EQ(Scan("=== !== >>= <<=<<<=<>"),
            "Symbol ==\nSymbol =\nSpace  \nSymbol !=\nSymbol =\nSpace  \nSymbol >>\nSymbol =\n"
            "Space  \nSymbol <<=\nSymbol <<\nSymbol <=\nSymbol <\nSymbol >\n");
  EXPECT_EQ(Scan("=>>=&&&=&++|=||%=*=^=!"),
            "Symbol =>\nSymbol >=\nSymbol &&\nSymbol &=\nSymbol &\nSymbol ++\nSymbol |=\n"
            "Symbol ||\nSymbol %=\nSymbol *=\nSymbol ^=\nSymbol !\n");
  EXPECT_EQ(Scan("<?php ?>"), "Symbol <\nSymbol ?\nIdentifier php\nSpace  \nSymbol ?\nSymbol >\n");
  EXPECT_EQ(Scan("\\`\x7F\x80\xFF~"),
            "Stray \\\\\nStray `\nStray \\x7F\nStray \\x80\nStray \\xFF\nSymbol ~\n");
  EXPECT_EQ(RtfBody(kSyntax, "{\\}\xE9"), "\\cf8 \\{\\cf10 \\\\\\cf8 \\}\\cf10 \xE9");
}

}  // namespace
