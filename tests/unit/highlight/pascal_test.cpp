// The Pascal highlighter: keywords and their side effects, comments of both
// styles, assembler blocks, property declarations, literals and symbols.
#include <cctype>

#include "highlight_test_support.h"
#include "pascal_scanner.h"

using highlight_test::KindsAndTexts;
using highlight_test::RtfBody;

namespace {

const char kSyntax[] = "DELPHI SCRIPT";

std::string Pas(const std::string& text) { return KindsAndTexts(kSyntax, text); }
std::string PasRtf(const std::string& text) { return RtfBody(kSyntax, text); }

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// clang-format off
const char* const kKeywords[] = {
    "Absolute", "Abstract", "And", "Array", "As", "Asm", "Assembler", "Automated", "Begin",
    "Case", "Cdecl", "Class", "Const", "Constructor", "Default", "Destructor", "Dispid",
    "Dispinterface", "Div", "Do", "Downto", "Dynamic", "Else", "End", "Except", "Export",
    "Exports", "External", "Far", "File", "Finalization", "Finally", "For", "Forward",
    "Function", "Goto", "If", "Implementation", "In", "Inherited", "Initialization", "Inline",
    "Interface", "Is", "Label", "Library", "Message", "Mod", "Near", "Nil", "Not", "Object",
    "Of", "Or", "Out", "Override", "Packed", "Pascal", "Private", "Procedure", "Program",
    "Property", "Protected", "Public", "Published", "Raise", "Record", "Register", "Repeat",
    "Resourcestring", "Safecall", "Set", "Shl", "Shr", "Stdcall", "String", "Stringresource",
    "Then", "Threadvar", "To", "Try", "Type", "Unit", "Until", "Uses", "Var", "Virtual",
    "While", "With", "Xor",
};
// clang-format on

const char* const kPropertyDirectives[] = {"Index",  "Nodefault", "Read",     "Readonly",
                                           "Stored", "Write",     "Writeonly"};

}  // namespace

TEST(PascalScanner, EveryListedKeywordInAnyCase) {
  for (const char* word : kKeywords) {
    EXPECT_EQ(Pas(word), std::string("Key ") + word + "\n");
    EXPECT_EQ(Pas(Upper(word)), "Key " + Upper(word) + "\n");
  }
  EXPECT_EQ(PasRtf("begin"), "\\cf3 \\b begin\\b0 ");
  EXPECT_EQ(PasRtf("BEGIN Begin"), "\\cf3 \\b BEGIN\\b0 \\cf5  \\cf3 \\b Begin\\b0 ");
}

TEST(PascalScanner, WordsThatAreNotKeywords) {
  // Longer than the keyword; a digit or "_" right after the letters; a leading
  // "_"; words outside the lists; a hash beyond the table.
  EXPECT_EQ(Pas("Beginning Begin_ End2 If_x _x overload implements zzzzzzzzz"),
            "Identifier Beginning\nSpace  \nIdentifier Begin_\nSpace  \nIdentifier End2\n"
            "Space  \nIdentifier If_x\nSpace  \nIdentifier _x\nSpace  \nIdentifier overload\n"
            "Space  \nIdentifier implements\nSpace  \nIdentifier zzzzzzzzz\n");
  // Same hash as "Do" (19) with other letters or another length.
  EXPECT_EQ(Pas("Od aaq"), "Identifier Od\nSpace  \nIdentifier aaq\n");
  // The whole word is one token even where the hash stopped early.
  EXPECT_EQ(Pas("a1b2_c;"), "Identifier a1b2_c\nSymbol ;\n");
  // "End2" must not close an assembler block.
  EXPECT_EQ(Pas("asm End2 x"), "Key asm\nSpace  \nAsm End2\nSpace  \nAsm x\n");
}

TEST(PascalScanner, PropertyDeclarations) {
  EXPECT_EQ(Pas("property Size: Integer read FSize write SetSize; Read"),
            "Key property\nSpace  \nIdentifier Size\nSymbol :\nSpace  \nIdentifier Integer\n"
            "Space  \nKey read\nSpace  \nIdentifier FSize\nSpace  \nKey write\nSpace  \n"
            "Identifier SetSize\nSymbol ;\nSpace  \nIdentifier Read\n");
  for (const char* word : kPropertyDirectives) {
    EXPECT_EQ(Pas(word), std::string("Identifier ") + word + "\n");
    EXPECT_EQ(Pas(std::string("property ") + word),
              std::string("Key property\nSpace  \nKey ") + word + "\n");
  }
  // Any "{" or "(*" comment ends the declaration, and so does "end".
  EXPECT_EQ(
      Pas("property X {c} read"),
      "Key property\nSpace  \nIdentifier X\nSpace  \nComment {c}\nSpace  \nIdentifier read\n");
  EXPECT_EQ(
      Pas("property X (*c*) read"),
      "Key property\nSpace  \nIdentifier X\nSpace  \nComment (*c*)\nSpace  \nIdentifier read\n");
  EXPECT_EQ(Pas("property X end read"),
            "Key property\nSpace  \nIdentifier X\nSpace  \nKey end\nSpace  \nIdentifier read\n");
  // A "//" comment and a line end do not.
  EXPECT_EQ(Pas("property X // c\r\nread"),
            "Key property\nSpace  \nIdentifier X\nSpace  \nComment // c\nSpace \\r\\n\nKey read\n");
}

TEST(PascalScanner, AssemblerBlocks) {
  EXPECT_EQ(PasRtf("asm mov eax, 1 end"),
            "\\cf3 \\b asm\\b0 \\cf5  \\cf9 mov\\cf5  \\cf9 eax\\cf9 ,\\cf5  \\cf9 1\\cf5  "
            "\\cf3 \\b end\\b0 ");
  // Comments, blanks and line ends keep their own colours; keywords, strings and
  // stray bytes inside the block are assembler; "asm" again is a keyword.
  EXPECT_EQ(Pas("asm {a} (*b*) //c\r\nbegin 'x' \xe9 asm end x"),
            "Key asm\nSpace  \nComment {a}\nSpace  \nComment (*b*)\nSpace  \nComment //c\n"
            "Space \\r\\n\nAsm begin\nSpace  \nAsm 'x'\nSpace  \nAsm \\xE9\nSpace  \nKey asm\n"
            "Space  \nKey end\nSpace  \nIdentifier x\n");
  // A comment opened in the block returns to it, also across lines.
  EXPECT_EQ(Pas("asm { a\r\nb } x (* c\r\nd *) y end"),
            "Key asm\nSpace  \nComment { a\nSpace \\r\\n\nComment b }\nSpace  \nAsm x\nSpace  \n"
            "Comment (* c\nSpace \\r\\n\nComment d *)\nSpace  \nAsm y\nSpace  \nKey end\n");
  // "property" met inside the block ends it.
  EXPECT_EQ(Pas("asm x property y read"),
            "Key asm\nSpace  \nAsm x\nSpace  \nKey property\nSpace  \nIdentifier y\nSpace  \n"
            "Key read\n");
  // Without "end" the rest of the text is assembler.
  EXPECT_EQ(Pas("asm\r\nx"), "Key asm\nSpace \\r\\n\nAsm x\n");
}

TEST(PascalScanner, Comments) {
  EXPECT_EQ(PasRtf("{ note }"), "\\cf1 \\i \\{ note \\}\\i0 ");
  EXPECT_EQ(Pas("{$R *.res}x"), "Comment {$R *.res}\nIdentifier x\n");
  EXPECT_EQ(Pas("(* one\r\ntwo *)x"),
            "Comment (* one\nSpace \\r\\n\nComment two *)\nIdentifier x\n");
  EXPECT_EQ(PasRtf("(* a\r\nb *)"), "\\cf1 \\i (* a\\i0 \\par \\cf5 \r\n\\cf1 \\i b *)\\i0 ");
  // The closer is looked for after "(*"; a continuation line looks from its first byte.
  EXPECT_EQ(Pas("(*) a *)x"), "Comment (*) a *)\nIdentifier x\n");
  EXPECT_EQ(Pas("(**)x"), "Comment (**)\nIdentifier x\n");
  EXPECT_EQ(Pas("(*\r\n*)x"), "Comment (*\nSpace \\r\\n\nComment *)\nIdentifier x\n");
  EXPECT_EQ(Pas("{\r\n}x"), "Comment {\nSpace \\r\\n\nComment }\nIdentifier x\n");
  // Unclosed comments run to the end of the text.
  EXPECT_EQ(Pas("{ a\r\nbegin"), "Comment { a\nSpace \\r\\n\nComment begin\n");
  EXPECT_EQ(Pas("(*"), "Comment (*\n");
  EXPECT_EQ(Pas("// a { b\r\nx"), "Comment // a { b\nSpace \\r\\n\nIdentifier x\n");
  EXPECT_EQ(Pas("/ x"), "Symbol /\nSpace  \nIdentifier x\n");
}

TEST(PascalScanner, StringsAndNumbers) {
  EXPECT_EQ(Pas("'it''s' ''''"), "String 'it''s'\nSpace  \nString ''''\n");
  EXPECT_EQ(Pas("'abc\r\nx"), "String 'abc\nSpace \\r\\n\nIdentifier x\n");
  EXPECT_EQ(Pas("'a''"), "String 'a''\n");
  EXPECT_EQ(Pas("#13#10 #"), "String #13\nString #10\nSpace  \nString #\n");
  EXPECT_EQ(Pas("$FF $ $fg"), "Number $FF\nSpace  \nNumber $\nSpace  \nNumber $f\nIdentifier g\n");
  EXPECT_EQ(
      Pas("x := 1..10;"),
      "Identifier x\nSpace  \nSymbol :=\nSpace  \nNumber 1\nSymbol ..\nNumber 10\nSymbol ;\n");
  EXPECT_EQ(Pas("3.14e5 1E 2.x"),
            "Number 3.14e5\nSpace  \nNumber 1E\nSpace  \nNumber 2.\nIdentifier x\n");
  EXPECT_EQ(PasRtf("'a' 1"), "\\cf6 'a'\\cf5  \\cf4 1");
}

TEST(PascalScanner, SymbolsAndStrayBytes) {
  EXPECT_EQ(Pas("(.x.)..<=<><>>=@@@:=:><"),
            "Symbol (.\nIdentifier x\nSymbol .)\nSymbol ..\nSymbol <=\nSymbol <>\nSymbol <>\n"
            "Symbol >=\nSymbol @@\nSymbol @\nSymbol :=\nSymbol :\nSymbol >\nSymbol <\n");
  EXPECT_EQ(Pas("\"!%&)*+,-=?[\\]^`}~"),
            "Symbol \"\nSymbol !\nSymbol %\nSymbol &\nSymbol )\nSymbol *\nSymbol +\nSymbol ,\n"
            "Symbol -\nSymbol =\nSymbol ?\nSymbol [\nSymbol \\\\\nSymbol ]\nSymbol ^\nSymbol `\n"
            "Symbol }\nSymbol ~\n");
  EXPECT_EQ(Pas("|\x7f\x80\xe9\xff"),
            "Stray |\nStray \\x7F\nStray \\x80\nStray \\xE9\nStray \\xFF\n");
  EXPECT_EQ(PasRtf("\xe9}"), "\\cf8 \xe9\\cf7 \\}");
  EXPECT_EQ(Pas(" \t\x01 \r\r\n\n"), "Space  \\t\\x01 \nSpace \\r\nSpace \\r\\n\nSpace \\n\n");
}

TEST(PascalScanner, WholeDocument) {
  // Blue comments, navy blanks, green stray bytes; no entry for index 9.
  const std::string colours =
      "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;"
      "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue128;"
      "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green128\\blue0;}\r\n";
  const std::string head =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier "
      "New;}}\r\n" +
      colours + "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";
  EXPECT_EQ(highlight_test::Rtf(kSyntax, ""), head + "\\par }");
  EXPECT_EQ(highlight_test::Rtf(kSyntax, "x;\r\n{y}"),
            head + "\\cf2 x\\cf7 ;\\par \\cf5 \r\n\\cf1 \\i \\{y\\}\\i0 \\par }");
}

TEST(PascalScanner, RangeStateAfterEachConstruct) {
  using R = TqorPasRTF::TRangeState;
  TqorPasRTF pas;
  pas.SetText("(* a\r\nb *) property p; asm { c } end");
  const R expected[] = {R::ParenComment, R::ParenComment, R::Normal,   R::Normal, R::PropertyDecl,
                        R::PropertyDecl, R::PropertyDecl, R::Normal,   R::Normal, R::AsmBlock,
                        R::AsmBlock,     R::AsmBlock,     R::AsmBlock, R::Normal};
  for (R range : expected) {
    ASSERT_FALSE(pas.GetEol());
    EXPECT_EQ(pas.GetRange(), range) << "after the token \"" << pas.GetToken() << "\"";
    pas.Next();
  }
  EXPECT_TRUE(pas.GetEol());
  EXPECT_EQ(pas.GetTokenKind(), 9);
  // An unclosed "{" inside the block is a comment of the block.
  pas.SetText("asm {");
  pas.Next();
  pas.Next();
  EXPECT_EQ(pas.GetRange(), R::BraceCommentInAsm);
}
