#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check_settings.h"
#include "ini_file.h"
#include "tidy_page.h"

namespace {

const char kDoctype[] = "<!DOCTYPE html>\r\n";

check::TTidyPageResult Tidy(const std::string& page, bool blocks = false, std::size_t caret = 0,
                            const check::TTidyOptions& options = {}) {
  return check::TidyPage(page, false, blocks, caret, options);
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

TEST(TidyPage, ServerBlocksStayByteForByte) {
  const char* const blocks[] = {
      "<?php session_start(); ?>",
      "<?php\n  if ($x) {\n\techo \"<b>\" . $y . \"</b>\";   // tab\n  }\n?>",
      "<?php echo $title; ?>",
      "<?php echo $u; ?>",
      "<?php if ($c) echo 'checked'; ?>",
      "<?= $n ?>",
      "<% for i = 1 to 3 %>",
      "<% Response.Write(\"hi\") %>",
      "<%next%>",
      "<?php /* ?> */ echo '?>'; ?>",
  };
  const std::string page = std::string(blocks[0]) + "\r\n" + kDoctype + "<html><head><title>" +
                           blocks[2] + "</title></head><body>\r\n" + blocks[1] + "\r\n<a href=\"" +
                           blocks[3] + "\">x</a>\r\n<input " + blocks[4] +
                           ">\r\n<script>var n = " + blocks[5] + ";</script>\r\n" + "<table>" +
                           blocks[6] + "<tr><td>" + blocks[7] + "</td></tr>" + blocks[8] +
                           "</table>\r\n<!-- " + blocks[9] + " -->\r\n</body></html>";
  const check::TTidyPageResult r = Tidy(page, true);
  ASSERT_FALSE(r.Refused) << r.Reason;
  for (const char* b : blocks) EXPECT_EQ(Count(r.Text, b), 1u) << b << "\n" << r.Text;
  EXPECT_EQ(r.Text.find("vexa0-"), std::string::npos) << r.Text;
}

TEST(TidyPage, PlaceholdersNeverMeetThePagesOwnText) {
  const std::string page = std::string(kDoctype) +
                           "<html><head><title>vexa0-b0 vexa1-c</title></head><body>\r\n"
                           "<p>vexa0-n <?php echo 1 ?> vexa2-b0</p></body></html>";
  const check::TTidyPageResult r = Tidy(page, true);
  ASSERT_FALSE(r.Refused) << r.Reason;
  EXPECT_NE(r.Text.find("<title>vexa0-b0 vexa1-c</title>"), std::string::npos) << r.Text;
  EXPECT_NE(r.Text.find("<p>vexa0-n <?php echo 1 ?> vexa2-b0</p>"), std::string::npos) << r.Text;
}

TEST(TidyPage, TagsAndAttributesKeepTheirCase) {
  const std::string page = std::string(kDoctype) +
                           "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY bgColor=\"#FFFFFF\">"
                           "<TABLE><Tr><TD>x</td></Tr></TABLE><UL><LI>a<LI>b</UL></BODY></HTML>";
  const check::TTidyPageResult r = Tidy(page);
  ASSERT_FALSE(r.Refused);
  for (const char* kept : {"<HTML>", "<HEAD>", "<TITLE>t</TITLE>", "<BODY bgColor=\"#FFFFFF\">",
                           "<TABLE>", "<Tr>", "<TD>x</td>", "</Tr>", "</TABLE>", "</HTML>"}) {
    EXPECT_NE(r.Text.find(kept), std::string::npos) << kept << "\n" << r.Text;
  }
  // The end tags libtidy adds are spelt as their start tags.
  EXPECT_EQ(Count(r.Text, "</LI>"), 2u) << r.Text;
}

TEST(TidyPage, LayoutAsAsked) {
  const std::string longLine(300, 'w');
  const std::string page = std::string(kDoctype) +
                           "<html><head><title>t</title></head><body><div><p>First line\r\n"
                           "second line</p><p>" +
                           longLine + " " + longLine + "</p></div></body></html>";
  const check::TTidyPageResult r = Tidy(page);
  ASSERT_FALSE(r.Refused);
  EXPECT_EQ(r.Text.compare(0, 17, kDoctype), 0) << r.Text;
  EXPECT_NE(r.Text.find("  <div>\r\n    <p>First line\r\n    second line</p>\r\n"),
            std::string::npos)
      << r.Text;
  EXPECT_NE(r.Text.find(longLine + " " + longLine), std::string::npos) << "never wrapped";

  check::TTidyOptions flat;
  flat.Indent = false;
  flat.KeepLineBreaks = false;
  const check::TTidyPageResult f = Tidy(page, false, 0, flat);
  EXPECT_NE(f.Text.find("<div>\r\n<p>First line second line</p>"), std::string::npos) << f.Text;

  check::TTidyOptions tabs;
  tabs.IndentWithTabs = true;
  EXPECT_NE(Tidy(page, false, 0, tabs).Text.find("\r\n\t<div>"), std::string::npos);
}

TEST(TidyPage, NoDoctypeIsAddedAndXhtmlStaysXhtml) {
  const check::TTidyPageResult bare =
      Tidy("<html><head><title>t</title></head><body><p>x</body></html>");
  ASSERT_FALSE(bare.Refused);
  EXPECT_EQ(bare.Text.find("<!DOCTYPE"), std::string::npos) << bare.Text;
  const check::TTidyPageResult xhtml = Tidy(
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
      "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>"
      "<body><p>a<br />b</p></body></html>");
  ASSERT_FALSE(xhtml.Refused);
  EXPECT_NE(xhtml.Text.find("<br />"), std::string::npos) << xhtml.Text;
}

TEST(TidyPage, ErrorsLibtidyCannotRepairChangeNothing) {
  const std::string page = std::string(kDoctype) +
                           "<html><head><title>t</title></head><body>\r\n<p><foo>x</foo></p>"
                           "</body></html>";
  const check::TTidyPageResult r = Tidy(page);
  EXPECT_TRUE(r.Refused);
  EXPECT_TRUE(r.Text.empty());
  ASSERT_FALSE(r.Problems.empty());
  EXPECT_EQ(r.Problems[0].Message, "<foo> is not recognized!");
  EXPECT_EQ(r.Problems[0].Line, 2);
  EXPECT_EQ(r.Problems[0].Column, 3);
}

TEST(TidyPage, TheCaretStaysWithItsElement) {
  const std::string page = std::string(kDoctype) +
                           "<html><head><title>t</title></head><body><div><p>one</p>"
                           "<p id=\"target\">two words</p><p>three</p></div></body></html>";
  const struct {
    std::size_t Caret;
    const char* After;  // what follows the caret in the tidied page
  } cases[] = {
      {page.find("two") + 4, "words</p>"},
      {page.find("id=\"target\""), "<p id=\"target\">"},  // inside a tag: before it
      {page.find("<p>three"), "<p>three"},
      {page.size(), ""},
  };
  for (const auto& c : cases) {
    const check::TTidyPageResult r = Tidy(page, false, c.Caret);
    ASSERT_FALSE(r.Refused);
    ASSERT_LE(r.Caret, r.Text.size());
    EXPECT_EQ(r.Text.compare(r.Caret, std::string(c.After).size(), c.After), 0)
        << c.After << " at " << r.Caret << "\n"
        << r.Text;
  }
}

TEST(TidyPage, PartsOfPages) {
  const check::TTidyPageResult body = Tidy("<div><p>x</div>");
  ASSERT_FALSE(body.Refused);
  EXPECT_EQ(body.Text, "<div>\r\n  <p>x</p>\r\n</div>\r\n");
  const check::TTidyPageResult head = Tidy("<title>x</title><meta charset=utf-8>");
  EXPECT_TRUE(head.Refused);
  EXPECT_FALSE(head.Reason.empty());
}

TEST(TidyPage, TidyingTwiceChangesNothingMore) {
  const std::string page = std::string(kDoctype) +
                           "<html><head><title>t</title></head><body><div><p>a\r\nb <?php echo "
                           "1 ?></p><ul><li>x<li>y</ul></div></body></html>";
  const check::TTidyPageResult once = Tidy(page, true);
  ASSERT_FALSE(once.Refused);
  const check::TTidyPageResult twice = Tidy(once.Text, true);
  ASSERT_FALSE(twice.Refused);
  EXPECT_EQ(twice.Text, once.Text);
}

TEST(CheckSettings, SectionsOfTheirOwn) {
  IniFile empty("/nonexistent/vexapro.ini", "");
  const check::TCheckSettings defaults = check::ReadCheckSettings(empty);
  EXPECT_FALSE(defaults.Automatic);
  EXPECT_TRUE(defaults.Tidy.Indent);
  EXPECT_EQ(defaults.Tidy.IndentSpaces, 2);

  IniFile ini("/nonexistent/vexapro.ini", "[Vexa options]\r\nWord Wrap=1\r\n");
  // The defaults write nothing: the file stays as it was.
  check::WriteCheckSettings(ini, defaults);
  EXPECT_EQ(ini.Text(), "[Vexa options]\r\nWord Wrap=1\r\n");
  check::TCheckSettings s;
  s.Automatic = true;
  s.Tidy.IndentSpaces = 4;
  s.Tidy.KeepLineBreaks = false;
  check::WriteCheckSettings(ini, s);
  EXPECT_EQ(ini.Text(),
            "[Vexa options]\r\nWord Wrap=1\r\n[Vexa Checks]\r\nCheck Automatically=1\r\n"
            "[Vexa Tidy]\r\nIndent=1\r\nIndent Spaces=4\r\nIndent With Tabs=0\r\n"
            "Keep Line Breaks=0\r\n");
  const check::TCheckSettings back = check::ReadCheckSettings(ini);
  EXPECT_TRUE(back.Automatic);
  EXPECT_EQ(back.Tidy.IndentSpaces, 4);
  EXPECT_FALSE(back.Tidy.KeepLineBreaks);
  // Back to the defaults: the sections there are kept up to date.
  check::WriteCheckSettings(ini, defaults);
  EXPECT_EQ(ini.Text(),
            "[Vexa options]\r\nWord Wrap=1\r\n[Vexa Checks]\r\nCheck Automatically=0\r\n"
            "[Vexa Tidy]\r\nIndent=1\r\nIndent Spaces=2\r\nIndent With Tabs=0\r\n"
            "Keep Line Breaks=1\r\n");

  IniFile odd("/nonexistent/vexapro.ini",
              "[Vexa Tidy]\r\nIndent=yes\r\nIndent Spaces=99\r\n[vexa checks]\r\n"
              "check automatically=1\r\n");
  const check::TCheckSettings read = check::ReadCheckSettings(odd);
  EXPECT_TRUE(read.Tidy.Indent);  // neither "1" nor "0": the default
  EXPECT_EQ(read.Tidy.IndentSpaces, 8);
  EXPECT_TRUE(read.Automatic);
}

}  // namespace
