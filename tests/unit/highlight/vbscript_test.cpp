// The VBScript highlighter: keywords in any case, names, numbers, strings, date
// literals, comments and operators.
#include <algorithm>
#include <cctype>

#include "highlight_test_support.h"

using highlight_test::KindsAndTexts;
using highlight_test::RtfBody;

namespace {

std::string Vbs(const std::string& text) { return KindsAndTexts("VBSCRIPT", text); }

const char* const kAllKeywords[] = {
    "If",       "Each",     "Do",        "And",      "End",   "Dim",   "Case",   "Call",
    "Is",       "On",       "Mod",       "Get",      "Or",    "Rem",   "Let",    "Imp",
    "For",      "Else",     "Sub",       "Eqv",      "Set",   "Wend",  "Then",   "Erase",
    "ReDim",    "Not",      "Class",     "Byref",    "Xor",   "While", "Loop",   "Exit",
    "Byval",    "Next",     "Public",    "Select",   "Const", "Error", "Option", "Private",
    "Explicit", "Function", "Randomize", "property",
};

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

}  // namespace

TEST(VBScriptScanner, EveryKeywordInAnyCase) {
  for (const char* word : kAllKeywords) {
    for (const std::string& spelling : {std::string(word), Upper(word), Lower(word)}) {
      EXPECT_EQ(Vbs(spelling), "Key " + spelling + "\n");
    }
  }
  EXPECT_EQ(Vbs("DIM x"), "Key DIM\nSpace  \nIdentifier x\n");
  EXPECT_EQ(Vbs("dim x"), "Key dim\nSpace  \nIdentifier x\n");
  // "Rem" is a keyword, not a comment.
  EXPECT_EQ(Vbs("Rem hello"), "Key Rem\nSpace  \nIdentifier hello\n");
}

TEST(VBScriptScanner, NamesThatAreNotKeywords) {
  // Same letters, same hash as "Dim", other order; same hash, other length;
  // a keyword with more name bytes after it; a name beyond the table.
  for (const char* name : {"mid", "Z", "Dim1", "Dim_", "Dims", "_If", "Randomizer", "propertyy",
                           "zzzzzz", "Functions"}) {
    EXPECT_EQ(Vbs(name), std::string("Identifier ") + name + "\n");
  }
  EXPECT_EQ(Vbs("x1_y2.z"), "Identifier x1_y2\nSymbol .\nIdentifier z\n");
  // A very long name: its hash is far beyond the table.
  const std::string longName(200000, 'z');
  EXPECT_EQ(Vbs(longName + " If"), "Identifier " + longName + "\nSpace  \nKey If\n");
}

TEST(VBScriptScanner, StringsAndComments) {
  EXPECT_EQ(Vbs("s = \"a\" ' note\r\nx"),
            "Identifier s\nSpace  \nSymbol =\nSpace  \nString \"a\"\nSpace  \n"
            "Comment ' note\nSpace \\r\\n\nIdentifier x\n");
  // A doubled quote ends one string token and starts the next.
  EXPECT_EQ(Vbs("\"a\"\"b\""), "String \"a\"\nString \"b\"\n");
  EXPECT_EQ(Vbs("\"\""), "String \"\"\n");
  // Three quotes at the start: the first two are passed, the third opens.
  EXPECT_EQ(Vbs("\"\"\"abc\" x"), "String \"\"\"abc\"\nSpace  \nIdentifier x\n");
  EXPECT_EQ(Vbs("\"\"\"\""), "String \"\"\"\"\n");
  EXPECT_EQ(Vbs("\"\"\""), "String \"\"\"\n");
  // Unterminated strings, dates and comments stop in front of the line end.
  EXPECT_EQ(Vbs("\"abc\r\nx"), "String \"abc\nSpace \\r\\n\nIdentifier x\n");
  EXPECT_EQ(Vbs("#1/1\r\nx"), "String #1/1\nSpace \\r\\n\nIdentifier x\n");
  EXPECT_EQ(Vbs("\"a\nb\"\rc"),
            "String \"a\nSpace \\n\nIdentifier b\nString \"\n"
            "Space \\r\nIdentifier c\n");
  EXPECT_EQ(Vbs("#1/1/2000#"), "String #1/1/2000#\n");
  EXPECT_EQ(Vbs("'a \"b\" #c#\n'"), "Comment 'a \"b\" #c#\nSpace \\n\nComment '\n");
}

TEST(VBScriptScanner, NumbersAndOperators) {
  EXPECT_EQ(Vbs("1.5E3"), "Number 1.5E3\n");
  EXPECT_EQ(Vbs("1.5E+3"), "Number 1.5E\nSymbol +\nNumber 3\n");
  EXPECT_EQ(Vbs("12abc"), "Number 12\nIdentifier abc\n");
  EXPECT_EQ(Vbs("<><=>==>"), "Symbol <>\nSymbol <=\nSymbol >=\nSymbol =\nSymbol >\n");
  EXPECT_EQ(Vbs("<<"), "Symbol <\nSymbol <\n");
  EXPECT_EQ(Vbs("&()*+,-./:;=^{}"),
            "Symbol &\nSymbol (\nSymbol )\nSymbol *\nSymbol +\nSymbol ,\nSymbol -\n"
            "Symbol .\nSymbol /\nSymbol :\nSymbol ;\nSymbol =\nSymbol ^\nSymbol {\nSymbol }\n");
  // Bytes without a handler of their own are one-byte names.
  EXPECT_EQ(Vbs("$!\x7F\xE9\xE9"),
            "Identifier $\nIdentifier !\nIdentifier \\x7F\nIdentifier \\xE9\nIdentifier \\xE9\n");
  EXPECT_EQ(Vbs("\t \x01\x1F"), "Space \\t \\x01\\x1F\n");
}

TEST(VBScriptScanner, Document) {
  EXPECT_EQ(RtfBody("VBSCRIPT", "Dim x\r\nx = 1"),
            "\\cf3 Dim\\cf5  \\cf2 x\\par \\cf5 \r\n\\cf2 x\\cf5  \\cf7 =\\cf5  \\cf4 1");
  // Only CR LF makes a paragraph.
  EXPECT_EQ(RtfBody("VBSCRIPT", "a\nb\rc"), "\\cf2 a\\cf5 \n\\cf2 b\\cf5 \r\\cf2 c");
  EXPECT_EQ(RtfBody("VBSCRIPT", "' {x}\\y"), "\\cf1 ' \\{x\\}\\\\y");
  EXPECT_EQ(highlight_test::Rtf("VBSCRIPT", ""),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl"
            "{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue0;"
            "\\red0\\green0\\blue128;\\red0\\green0\\blue255;\\red0\\green0\\blue0;"
            "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;}\r\n"
            "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 \\par }");
}

// Converting before any text is given writes an empty document instead of
// reading through a missing text.
TEST(VBScriptScanner, ConversionWithoutText) {
  HighlighterChoice choice = CreateHighlighter("VBSCRIPT");
  const std::string rtf = choice.Highlighter->ConvertToRtfString();
  const std::string end = "\\f0 \\cf1 \\par }";
  ASSERT_GE(rtf.size(), end.size());
  EXPECT_EQ(rtf.substr(rtf.size() - end.size()), end);
}
