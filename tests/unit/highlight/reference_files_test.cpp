// Reference documents: every tests/data/highlight/<syntax>/<case>.in is converted
// with the syntax its folder names and compared byte for byte with <case>.rtf.
// scripts/regen-highlight-refs.sh rewrites the expected files on purpose.
#include <algorithm>
#include <filesystem>

#include "highlight_test_support.h"

namespace fs = std::filesystem;
using namespace highlight_test;

namespace {

struct ReferenceCase {
  std::string Syntax;
  fs::path Input;
};

std::vector<ReferenceCase> FindCases() {
  std::vector<ReferenceCase> cases;
  const fs::path root = fs::path(VEXA_TEST_DATA_DIR) / "highlight";
  if (!fs::is_directory(root)) return cases;
  for (const fs::directory_entry& folder : fs::directory_iterator(root)) {
    if (!folder.is_directory()) continue;
    for (const fs::directory_entry& file : fs::directory_iterator(folder.path())) {
      if (file.path().extension() == ".in")
        cases.push_back({folder.path().filename().string(), file.path()});
    }
  }
  std::sort(cases.begin(), cases.end(),
            [](const ReferenceCase& a, const ReferenceCase& b) { return a.Input < b.Input; });
  return cases;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string Visible(const std::string& text) {
  std::string out;
  AppendVisibleText(out, text);
  return out;
}

// The first differing line of the two documents with a little context, every
// byte made visible, so a failure shows what changed rather than two walls of RTF.
std::string LineDiff(const std::string& expected, const std::string& actual) {
  const std::vector<std::string> want = SplitLines(expected);
  const std::vector<std::string> got = SplitLines(actual);
  std::size_t line = 0;
  while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
  std::string out = "first difference at line " + std::to_string(line + 1) + "\n";
  const std::size_t from = line >= 2 ? line - 2 : 0;
  for (std::size_t i = from; i < line; ++i) out += "    " + Visible(want[i]) + "\n";
  for (std::size_t i = line; i < std::min(want.size(), line + 3); ++i)
    out += "  - " + Visible(want[i]) + "\n";
  for (std::size_t i = line; i < std::min(got.size(), line + 3); ++i)
    out += "  + " + Visible(got[i]) + "\n";
  return out;
}

// Token texts with every line end written as LF, so the same text with other
// line ends can be compared token by token.
std::string TokensWithLfLineEnds(const std::vector<TokenRecord>& tokens) {
  std::vector<TokenRecord> normalised = tokens;
  for (TokenRecord& token : normalised) token.Text = WithLineEnds(token.Text, "\n");
  return Dump(normalised);
}

// The "\par" control words of an RTF text; escaped text ("\\par") is skipped.
int CountParagraphs(const std::string& rtf) {
  int count = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] != '\\' || i + 1 >= rtf.size()) continue;
    const char next = rtf[i + 1];
    if (next == '\\' || next == '{' || next == '}') {
      ++i;
    } else if (rtf.compare(i + 1, 4, "par ") == 0) {
      ++count;
    }
  }
  return count;
}

}  // namespace

TEST(HighlightReferenceFiles, EveryCaseMatchesItsDocument) {
  const std::vector<ReferenceCase> cases = FindCases();
  ASSERT_FALSE(cases.empty()) << "no reference cases under " << VEXA_TEST_DATA_DIR;
  for (const ReferenceCase& c : cases) {
    fs::path expectedPath = c.Input;
    expectedPath.replace_extension(".rtf");
    SCOPED_TRACE(c.Input.string());
    ASSERT_TRUE(fs::exists(expectedPath)) << "missing " << expectedPath;
    const std::string expected = ReadBytes(expectedPath.string());
    const std::string actual = Rtf(c.Syntax, ReadBytes(c.Input.string()));
    EXPECT_TRUE(actual == expected) << LineDiff(expected, actual);
  }
}

// The same inputs with LF-only and CR-only line ends: no expected file, but each
// line-end style must give the same tokens as CR LF, so no state leaks across a
// line end that depends on its bytes, and only CR LF makes paragraphs.
TEST(HighlightReferenceFiles, OtherLineEndsKeepTheTokens) {
  for (const ReferenceCase& c : FindCases()) {
    SCOPED_TRACE(c.Input.string());
    const std::string input = ReadBytes(c.Input.string());
    const std::string crlf = TokensWithLfLineEnds(Tokens(c.Syntax, WithLineEnds(input, "\r\n")));
    for (const char* lineEnd : {"\n", "\r"}) {
      const std::string variant = WithLineEnds(input, lineEnd);
      EXPECT_EQ(scan_invariants::Check(c.Syntax, variant), "");
      EXPECT_EQ(TokensWithLfLineEnds(Tokens(c.Syntax, variant)), crlf)
          << "line ends " << Visible(lineEnd);
      EXPECT_EQ(CountParagraphs(RtfBody(c.Syntax, variant)), 0)
          << "a paragraph without CR LF, line ends " << Visible(lineEnd);
    }
  }
}
