// Indentation as the user types: the guessed step, what Enter inserts and
// where a closing tag or brace typed at a line's start goes.
#include "indentation.h"

#include <gtest/gtest.h>

#include "typing_test_support.h"

using namespace typing_test;

namespace {

// The document after the edit, "|" where the caret ends.
std::string Applied(const TDoc& doc, const TEdit& edit) {
  return doc.Text.substr(0, edit.From) + edit.Text.substr(0, edit.Caret) + "|" +
         edit.Text.substr(edit.Caret) + doc.Text.substr(edit.To);
}

std::string WithCaret(const char* marked) {
  const TDoc doc = Doc(marked);
  return doc.Text.substr(0, doc.Caret) + "|" + doc.Text.substr(doc.Caret);
}

}  // namespace

TEST(Indentation, GuessesTheStepFromTheFirstIndentedLines) {
  const struct {
    const char* Text;
    const char* Step;
  } cases[] = {
      {"", "  "},
      {"<html>\n<body>\n</body>", "  "},
      {"a\n    b\n        c", "    "},
      {"a\n  b\n    c\n      d", "  "},
      {"a\n\tb\n  c", "\t"},
      {"a\n   \n\t\nb", "  "},  // lines of blanks alone say nothing
      {"a\n            b", "        "},
      {"a\n   b\n      c", "   "},
  };
  for (const auto& c : cases) {
    const TDoc doc = Doc(c.Text);
    TReading r(doc.Text, TMarkupFlavour::Html);
    EXPECT_EQ(GuessIndentStep(r.Text), c.Step) << c.Text;
  }
}

TEST(Indentation, EnterKeepsTheLineIndentationAndStepsInAfterAnOpener) {
  const struct {
    const char* Syntax;
    const char* Before;
    const char* After;
  } cases[] = {
      {"HTML", "  <p>x|", "  <p>x\n  |"},
      {"HTML", "  <div>|", "  <div>\n    |"},
      {"HTML", "<div class=\"a\">  |", "<div class=\"a\">  \n  |"},
      {"HTML", "<UL>|", "<UL>\n  |"},
      {"HTML", "<div>|</div>", "<div>\n  |\n</div>"},
      {"HTML", "  <table>|  </table>", "  <table>\n    |\n  </table>"},
      {"HTML", "<div>|text</div>", "<div>\n  |text</div>"},
      {"HTML", "  <span>|", "  <span>\n  |"},
      {"HTML", "<br>|", "<br>\n|"},
      {"HTML", "<div/>|", "<div/>\n|"},
      {"HTML", "</div>|", "</div>\n|"},
      {"HTML", "<!-- <div>|", "<!-- <div>\n|"},
      {"HTML", "<script>\nx = '<div>|", "<script>\nx = '<div>\n|"},
      {"HTML", "<script>|</script>", "<script>\n  |\n</script>"},
      {"HTML", "    |x", "    \n    |x"},
      {"HTML", "\t<div>|", "\t<div>\n\t  |"},
      {"HTML", "<style>\np {|", "<style>\np {\n  |"},
      {"HTML", "<style>\np {|}", "<style>\np {\n  |\n}"},
      {"XML", "<item>|", "<item>\n  |"},
      {"XML", "<a><b>|</b>", "<a><b>\n  |\n</b>"},
      {"JAVA SCRIPT", "function f() {|", "function f() {\n  |"},
      {"JAVA SCRIPT", "  if (x) {|}", "  if (x) {\n    |\n  }"},
      {"JAVA SCRIPT", "  x = 1;|", "  x = 1;\n  |"},
      {"JAVA SCRIPT", "<div>|", "<div>\n|"},
      {"DELPHI SCRIPT", "  { a comment|", "  { a comment\n  |"},
  };
  for (const auto& c : cases) {
    const std::string syntax = c.Syntax;
    const TDoc doc = Doc(c.Before);
    const bool page = syntax == "HTML" || syntax == "XML";
    const THint hint = page ? HintAt(syntax, doc) : THint::None;
    TReading r(doc.Text, FlavourOf(syntax));
    const bool braces = syntax != "DELPHI SCRIPT" && syntax != "SQL" && syntax != "XML";
    const TEdit edit = EnterAt(r.Markup, doc.Caret, hint, "  ", braces);
    EXPECT_EQ(Applied(doc, edit), WithCaret(c.After)) << syntax << ": " << c.Before;
  }
}

TEST(Indentation, AClosingTagOrBraceAtALineStartGoesBackToItsOpener) {
  const struct {
    const char* Text;  // "|" where the closing tag's "<" or the "}" is typed
    const char* Name;
    const char* Indent;
  } cases[] = {
      {"<div>\n  <p>x</p>\n  |", "div", ""},
      {"  <ul>\n    <li>a</li>\n    |", "ul", "  "},
      {"<div>\n        |", "div", ""},   // aligned with its start tag, not one step back
      {"  <span>x\n  |", "span", "  "},  // never further out than its start tag
      {"<DIV>\n  |", "div", ""},
      {"\n    |", "div", "  "},  // no start tag: one step back
      {"\n\t\t|", "div", "\t"},
      {"\n   |", "div", " "},
      {"if (x) {\n    y();\n    |", "", ""},
      {"  f({\n      a: 1\n      |", "", "  "},
      {"\n    |", "", "  "},
  };
  for (const auto& c : cases) {
    const TDoc doc = Doc(c.Text);
    TReading r(doc.Text, TMarkupFlavour::Html);
    const std::size_t lineStart = LineStartOf(r.Text, doc.Caret);
    ASSERT_TRUE(OnlyBlanks(r.Text, lineStart, doc.Caret)) << c.Text;
    EXPECT_EQ(ClosingIndent(r.Markup, lineStart, doc.Caret, c.Name, "  "), c.Indent) << c.Text;
  }
}
