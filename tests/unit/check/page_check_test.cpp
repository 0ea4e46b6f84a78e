#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "page_check.h"

namespace {

using check::TPageKind;

std::vector<std::string> Lines(const std::vector<check::TProblem>& problems) {
  std::vector<std::string> out;
  for (const check::TProblem& p : problems) {
    out.push_back(std::to_string(p.Line) + ":" + std::to_string(p.Column) + " " +
                  check::SeverityWord(p.Severity) + " " + p.Message);
  }
  return out;
}

std::vector<check::TProblem> Check(const std::string& text, TPageKind kind, bool utf8 = false) {
  check::TPageCheckInput in;
  in.Bytes = text;
  in.Text = text;
  in.Utf8 = utf8;
  in.Kind = kind;
  std::vector<check::TProblem> problems;
  EXPECT_TRUE(check::CheckPage(in, problems));
  return problems;
}

const char kHead[] = "<!DOCTYPE html>\r\n<html><head><title>t</title></head><body>\r\n";
const char kTail[] = "\r\n</body></html>\r\n";

TEST(PageCheck, KindsBySyntaxAndByFile) {
  EXPECT_EQ(check::KindForSyntax("HTML", "new.htm"), TPageKind::Html);
  EXPECT_EQ(check::KindForSyntax("PHP", "/s/a.php"), TPageKind::HtmlWithBlocks);
  EXPECT_EQ(check::KindForSyntax("VBSCRIPT", "/s/a.asp"), TPageKind::HtmlWithBlocks);
  EXPECT_EQ(check::KindForSyntax("VBSCRIPT", "/s/tool.VBS"), TPageKind::None);
  EXPECT_EQ(check::KindForSyntax("XML", "a.txt"), TPageKind::Xml);
  for (const char* syntax : {"JAVA SCRIPT", "DELPHI SCRIPT", "SQL", "html", ""}) {
    EXPECT_EQ(check::KindForSyntax(syntax, "a.htm"), TPageKind::None) << syntax;
  }
  const struct {
    const char* File;
    TPageKind Kind;
  } files[] = {{"a.htm", TPageKind::Html},
               {"/x.y/A.HTML", TPageKind::Html},
               {"a.xhtml", TPageKind::Html},
               {"a.php", TPageKind::HtmlWithBlocks},
               {"a.php5", TPageKind::HtmlWithBlocks},
               {"a.ASP", TPageKind::HtmlWithBlocks},
               {"feed.rss", TPageKind::Xml},
               {"i.svg", TPageKind::Xml},
               {"a.css", TPageKind::None},
               {"htm", TPageKind::None},
               {"dir.htm/file", TPageKind::None},
               {"a.htm.bak", TPageKind::None}};
  for (const auto& f : files) EXPECT_EQ(check::KindForFile(f.File), f.Kind) << f.File;
}

TEST(PageCheck, HtmlProblemsStandWhereLibtidyFindsThem) {
  const std::string page = std::string(kHead) + "\t<p>\xc3\xa9 <foo>x</foo></p>" + kTail;
  const auto problems = Check(page, TPageKind::Html, true);
  EXPECT_EQ(Lines(problems), (std::vector<std::string>{
                                 "2:6 error <foo> is not recognized!",
                                 "2:6 warning discarding unexpected <foo>",
                                 "2:12 warning discarding unexpected </foo>",
                             }));
  // Offsets agree with lines and columns, and the mark covers the tag's name.
  EXPECT_EQ(page.substr(problems[0].Offset, problems[0].Length), "<foo");
  EXPECT_EQ(page.substr(problems[2].Offset, problems[2].Length), "</foo");
}

TEST(PageCheck, ServerBlocksStayOutOfTheCheck) {
  const std::string body =
      "<a href=\"<?php echo $u ?>\">u</a><div <?php echo $c ?>>d</div>"
      "<table><% for i = 1 to 3 %><tr><td>x</td></tr><% next %></table>";
  const std::string page = std::string(kHead) + body + kTail;
  EXPECT_TRUE(Check(page, TPageKind::HtmlWithBlocks).empty());
  // The same page read as plain HTML: libtidy stumbles over the blocks.
  EXPECT_FALSE(Check(page, TPageKind::Html).empty());
}

TEST(PageCheck, ErrorsOnlyLeavesWarningsOut) {
  const std::string page = std::string(kHead) + "<p><b>x</p><foo></foo>" + kTail;
  const std::vector<check::TProblem> all = check::CheckHtml(page, false, false, false);
  const std::vector<check::TProblem> errors = check::CheckHtml(page, false, false, true);
  EXPECT_GT(all.size(), errors.size());
  EXPECT_EQ(Lines(errors), (std::vector<std::string>{"2:11 error <foo> is not recognized!"}));
}

TEST(PageCheck, CodePage1252CountsBytes) {
  const std::string page = std::string(kHead) + "<p>caf\xe9 <foo></foo></p>" + kTail;
  EXPECT_EQ(Lines(check::CheckHtml(page, false, false, true)),
            (std::vector<std::string>{"2:8 error <foo> is not recognized!"}));
}

TEST(PageCheck, XmlWellFormedness) {
  const struct {
    const char* Document;
    std::vector<std::string> Problems;
  } cases[] = {
      {"<?xml version=\"1.0\"?>\n<a><b/></a>\n", {}},
      {"<a>\r\n  <b></c>\r\n</a>", {"1:5 error Opening and ending tag mismatch: b line 2 and c"}},
      {"<a x='1' x='2'/>", {"0:14 error Attribute x redefined"}},
      {"<a>&undefined;</a>", {"0:3 error Entity 'undefined' not defined"}},
      {"", {"0:0 error Document is empty"}},
      // An external DTD is never read, so a missing one is no problem.
      {"<!DOCTYPE a SYSTEM \"/nonexistent/a.dtd\"><a/>", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lines(Check(c.Document, TPageKind::Xml)), c.Problems) << c.Document;
  }
}

TEST(PageCheck, EntityBombsEndQuickly) {
  std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY l0 \"lol\">";
  for (int i = 1; i < 12; ++i) {
    bomb += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) bomb += "&l" + std::to_string(i - 1) + ";";
    bomb += "\">";
  }
  bomb += "]><l>&l11;</l>";
  const auto start = std::chrono::steady_clock::now();
  Check(bomb, TPageKind::Xml);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(PageCheck, CancelledBeforeItEnds) {
  std::string page = kHead;
  while (page.size() < (4u << 20)) page += "<p><b>bold</p>\r\n";
  std::atomic<bool> cancel{true};
  check::TPageCheckInput in;
  in.Bytes = page;
  in.Text = page;
  std::vector<check::TProblem> problems;
  EXPECT_FALSE(check::CheckPage(in, problems, &cancel));
  EXPECT_TRUE(problems.empty());
}

TEST(PageCheck, ChecksRunSideBySide) {
  const std::string page = std::string(kHead) + "<p><b>x</p><foo>y</foo><img src=a.png>" + kTail;
  const std::vector<std::string> alone = Lines(Check(page, TPageKind::Html));
  ASSERT_FALSE(alone.empty());
  std::vector<std::vector<std::string>> results(4);
  std::vector<std::thread> threads;
  for (auto& r : results) {
    threads.emplace_back([&page, &r] {
      for (int i = 0; i < 20; ++i) r = Lines(check::CheckHtml(page, false, false, false));
    });
  }
  for (auto& t : threads) t.join();
  for (const auto& r : results) EXPECT_EQ(r, alone);
}

}  // namespace
