#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "site_check.h"
#include "site_index.h"

namespace {

namespace fs = std::filesystem;

class TSite {
 public:
  TSite() {
    char pattern[] = "/tmp/vexa-site-XXXXXX";
    Root_ = ::mkdtemp(pattern);
    // Readable by others: the unreadable cases look at it as another user.
    fs::permissions(Root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  }
  ~TSite() {
    std::error_code ignored;
    for (const auto& p : fs::recursive_directory_iterator(Root_, ignored)) {
      fs::permissions(p.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(Root_, ignored);
  }

  const std::string& Root() const { return Root_; }
  std::string Path(const std::string& name) const { return Root_ + "/" + name; }

  void Write(const std::string& name, const std::string& bytes) const {
    fs::create_directories(fs::path(Path(name)).parent_path());
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

 private:
  std::string Root_;
};

// The report in the form vexa-check prints, without the site's folder.
std::vector<std::string> Lines(const check::TSiteReport& report) {
  std::vector<std::string> lines;
  for (const check::TSiteProblem& p : report.Problems) {
    std::string line = p.Page;
    if (p.Placed) line += ":" + std::to_string(p.Line + 1) + ":" + std::to_string(p.Column + 1);
    line += std::string(": ") + check::SeverityWord(p.Severity) + ": " + p.Problem;
    if (!p.Target.empty()) line += ": " + p.Target;
    lines.push_back(line);
  }
  for (const std::string& f : report.Unreferenced) lines.push_back(f + ": unreferenced");
  return lines;
}

const char kPage[] = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n";

TEST(SiteIndex, LookupsByNameAndByCase) {
  TSite site;
  site.Write("index.htm", "");
  site.Write("images/Logo.png", "");
  site.Write("sub/deeper/page.htm", "");
  check::TSiteIndex index;
  std::vector<check::TSiteNotice> notices;
  ASSERT_TRUE(index.Build(site.Root() + "/", notices, nullptr));
  EXPECT_TRUE(notices.empty());
  int sub = -1;
  for (std::size_t f = 0; f < index.Folders().size(); ++f) {
    if (index.Folders()[f].Path == "sub") sub = static_cast<int>(f);
  }
  ASSERT_GE(sub, 0);
  using check::TLookup;
  const struct {
    int From;
    const char* Path;
    bool FromRoot;
    TLookup Status;
    const char* Actual;
  } cases[] = {
      {0, "index.htm", false, TLookup::Found, "index.htm"},
      {0, "./images/Logo.png", false, TLookup::Found, "images/Logo.png"},
      {0, "Images/logo.PNG", false, TLookup::CaseOnly, "images/Logo.png"},
      {0, "images/", false, TLookup::Found, "images"},
      {0, "images//Logo.png", false, TLookup::Found, "images/Logo.png"},
      {0, "images/none.png", false, TLookup::Missing, ""},
      {0, "index.htm/more", false, TLookup::Missing, ""},
      {0, "..", false, TLookup::LeavesSite, ""},
      {sub, "../index.htm", false, TLookup::Found, "index.htm"},
      {sub, "deeper/../../images/Logo.png", false, TLookup::Found, "images/Logo.png"},
      {sub, "../../index.htm", false, TLookup::LeavesSite, ""},
      {sub, "/index.htm", true, TLookup::Found, "index.htm"},
      {sub, "DEEPER/Page.htm", false, TLookup::CaseOnly, "sub/deeper/page.htm"},
  };
  for (const auto& c : cases) {
    const check::TLookupResult r = index.Lookup(c.From, c.Path, c.FromRoot);
    EXPECT_EQ(r.Status, c.Status) << c.Path;
    if (c.Status == TLookup::Found || c.Status == TLookup::CaseOnly) {
      EXPECT_EQ(r.ActualPath, c.Actual) << c.Path;
    }
  }
}

TEST(SiteCheck, ReferencesOfEveryKind) {
  TSite site;
  site.Write("images/a.png", "x");
  site.Write("images/unused.gif", "x");
  site.Write("files/doc.pdf", "x");
  site.Write("files/old/notes.txt", "x");
  site.Write("style.css", "p { background: url(images/a.png) } @import 'gone.css';");
  site.Write("base.htm",
             std::string(kPage) +
                 "<base href=\"files/\"><a href=\"doc.pdf\">d</a><a href=\"/x.htm\">x</a>"
                 "</body></html>");
  site.Write("far.htm", std::string(kPage) +
                            "<base href=\"http://example.org/\"><a href=\"doc.pdf\">d</a>"
                            "</body></html>");
  site.Write("index.htm", std::string(kPage) +
                              "<img src=\"images/A.png\" alt=\"\"><img src=\"images/a.png\">\n"
                              "<a href=\"../up.htm\">u</a><a href=\"file:///c:/a.htm\">f</a>"
                              "<a href=\"http://example.org/\">e</a><a href=\"mailto:x@y\">m</a>"
                              "</body></html>");
  const check::TSiteReport report = check::CheckSite(site.Root());
  EXPECT_EQ(Lines(report), (std::vector<std::string>{
                               "base.htm:3:53: error: missing file: /x.htm",
                               "index.htm:3:11: error: differs in case from images/a.png: "
                               "images/A.png",
                               "index.htm:3:32: warning: <img> without alt text: images/a.png",
                               "index.htm:4:10: error: leaves the site folder: ../up.htm",
                               "index.htm:4:35: error: a local file path: file:///c:/a.htm",
                               "style.css:1:46: error: missing file: gone.css",
                               "files/old/notes.txt: unreferenced",
                               "images/unused.gif: unreferenced",
                           }));
  EXPECT_EQ(report.Pages, 3);
  EXPECT_EQ(report.StyleSheets, 1);
  EXPECT_EQ(report.External, 3);
  EXPECT_EQ(report.Errors, 5);
  EXPECT_EQ(report.Warnings, 1);
  EXPECT_EQ(check::Summary(report),
            "3 pages, 1 style sheet, 8 references (3 external, not fetched): 5 errors, "
            "1 warning, 2 files not referenced");
}

TEST(SiteCheck, PagesInAnyEncoding) {
  TSite site;
  site.Write("caf\xc3\xa9.htm", std::string(kPage) + "</body></html>");
  // Code page 1252, UTF-16 in both byte orders: the name and the place agree.
  site.Write("latin.htm", std::string(kPage) +
                              "\xe9 <a href=\"caf\xe9.htm\">c</a><a href=\"no\xe9.htm\">"
                              "n</a></body></html>");
  std::string utf16le = "\xff\xfe";
  std::string utf16be = "\xfe\xff";
  for (const char c : std::string(kPage) + "<a href=\"gone.htm\">g</a></body></html>") {
    utf16le += c;
    utf16le += '\0';
    utf16be += '\0';
    utf16be += c;
  }
  site.Write("wide.htm", utf16le);
  site.Write("wider.htm", utf16be);
  const check::TSiteReport report = check::CheckSite(site.Root());
  EXPECT_EQ(Lines(report), (std::vector<std::string>{
                               "latin.htm:3:36: error: missing file: no\xc3\xa9.htm",
                               "wide.htm:3:10: error: missing file: gone.htm",
                               "wider.htm:3:10: error: missing file: gone.htm",
                           }));
}

TEST(SiteCheck, BadInputsAreReportedOrSkippedWithTheirReason) {
  TSite site;
  site.Write("index.htm", std::string(kPage) + "<a href=\"loop/x.htm\">l</a></body></html>");
  site.Write("binary.htm", std::string("GIF89a\0\0", 8));
  site.Write("sub/page.htm", std::string(kPage) + "<a href=\"../out/far.htm\">o</a></body></html>");
  site.Write(std::string("two\nlines.htm"),
             std::string(kPage) + "<a href=\"x.htm\">x</a></body></html>");
  ASSERT_EQ(::symlink("loop", site.Path("loop").c_str()), 0);
  TSite outside;
  outside.Write("far.htm", std::string(kPage) + "<a href=\"nothere.htm\">n</a></body></html>");
  ASSERT_EQ(::symlink(outside.Root().c_str(), site.Path("out").c_str()), 0);
  ASSERT_EQ(::symlink("sub", site.Path("again").c_str()), 0);  // a second way in, listed once
  ASSERT_EQ(::mkfifo(site.Path("pipe.htm").c_str(), 0644), 0);
  // A file larger than the program takes: sparse, it costs no room.
  { std::ofstream(site.Path("huge.htm")); }
  fs::resize_file(site.Path("huge.htm"), 2147483648ull);
  const check::TSiteReport report = check::CheckSite(site.Root());
  EXPECT_EQ(Lines(report), (std::vector<std::string>{
                               "binary.htm: warning: not checked: a binary file",
                               "huge.htm: warning: not checked: larger than 2147483647 bytes",
                               "index.htm:3:10: error: missing file: loop/x.htm",
                               "loop: warning: not followed: a symbolic link loop",
                               "out: warning: not followed: a symbolic link out of the site",
                               "two\nlines.htm:3:10: error: missing file: x.htm",
                           }));
  // The FIFO is no regular file: never opened, never a page; sub/page.htm is
  // checked once, though two folders lead to it.
  EXPECT_EQ(report.Pages, 5);
}

TEST(SiteCheck, UnreadableFilesAndFolders) {
  TSite site;
  site.Write("index.htm", std::string(kPage) + "</body></html>");
  site.Write("secret.htm", "x");
  site.Write("closed/inner.htm", "x");
  fs::permissions(site.Path("secret.htm"), fs::perms::owner_read);
  fs::permissions(site.Path("closed"), fs::perms::owner_all);
  // Permissions do not bind the superuser: the check then looks as another user.
  const bool superuser = ::geteuid() == 0;
  if (superuser) ::setfsuid(65534);
  const check::TSiteReport report = check::CheckSite(site.Root(), nullptr, nullptr, 1);
  if (superuser) ::setfsuid(0);
  EXPECT_EQ(Lines(report), (std::vector<std::string>{
                               "closed: warning: folder not checked: Permission denied",
                               "secret.htm: warning: cannot read: Permission denied",
                           }));
}

TEST(SiteCheck, ProgressThreadsAndCancel) {
  TSite site;
  for (int i = 0; i < 40; ++i) {
    site.Write("p" + std::to_string(i) + ".htm", std::string(kPage) + "<a href=\"p" +
                                                     std::to_string(i + 1) +
                                                     ".htm\">n</a><foo>"
                                                     "</foo></body></html>");
  }
  check::TSiteProgress progress;
  const check::TSiteReport one = check::CheckSite(site.Root(), nullptr, &progress, 1);
  EXPECT_EQ(progress.Total.load(), 40);
  EXPECT_EQ(progress.Done.load(), 40);
  const check::TSiteReport four = check::CheckSite(site.Root(), nullptr, nullptr, 4);
  EXPECT_EQ(Lines(four), Lines(one));
  EXPECT_EQ(one.Errors, 41);  // 40 unknown elements, p40.htm missing

  std::atomic<bool> cancel{true};
  const check::TSiteReport cancelled = check::CheckSite(site.Root(), &cancel);
  EXPECT_TRUE(cancelled.Cancelled);
  EXPECT_EQ(cancelled.Pages, 0);
}

TEST(SiteCheck, AHundredThousandFiles) {
  TSite site;
  site.Write("index.htm",
             std::string(kPage) + "<img src=\"images/f7.png\" alt=\"\"></body></html>");
  fs::create_directories(site.Path("images"));
  for (int i = 0; i < 100000; ++i) {
    std::ofstream(site.Path("images/f" + std::to_string(i) + ".png"));
  }
  const check::TSiteReport report = check::CheckSite(site.Root());
  EXPECT_TRUE(report.Problems.empty());
  EXPECT_EQ(report.Unreferenced.size(), 99999u);
}

}  // namespace
