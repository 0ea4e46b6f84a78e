// The incremental refresh gives, after every change, exactly the looks of a
// fresh whole-document conversion: random documents and edits in every
// syntax, the reference documents, and the large benchmark inputs where the
// machine has them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "../highlight/incremental_check.h"

using namespace incremental_check;
namespace fs = std::filesystem;

namespace {

struct TRandom {
  std::mt19937 Engine;
  std::size_t operator()(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(Engine);
  }
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

// Applies `edits` random changes, refreshing and comparing after each; counts
// how many refreshes were incremental.
int EditAndCompare(TDocument& doc, TRandom& pick, int edits,
                   const std::vector<std::string>& pastes) {
  int incremental = 0;
  for (int i = 0; i < edits; ++i) {
    RandomEdit(doc, pick, pastes);
    if (pick(5) == 0) RandomEdit(doc, pick, pastes);  // two changes before one refresh
    incremental += doc.Refresh() ? 1 : 0;
    const std::string mismatch = doc.Mismatch();
    if (!mismatch.empty()) {
      ADD_FAILURE() << "edit " << i << ": " << mismatch;
      return incremental;
    }
  }
  return incremental;
}

}  // namespace

TEST(IncrementalRefresh, RandomDocumentsAndEditsInEverySyntax) {
  TRandom pick{std::mt19937(20261209)};
  for (const char* syntax : kSyntaxNames) {
    SCOPED_TRACE(syntax);
    std::vector<std::string> pastes;
    for (int i = 0; i < 3; ++i) pastes.push_back(RandomText(pick, 200 + pick(2000)));
    int incremental = 0;
    int refreshes = 0;
    for (int round = 0; round < 12; ++round) {
      TDocument doc(syntax, RandomText(pick, pick(6000)));
      incremental += EditAndCompare(doc, pick, 60, pastes);
      refreshes += 60;
    }
    // Most changes leave nothing the rescan cannot stand for: the path under
    // test is the incremental one.
    EXPECT_GT(incremental, refreshes / 2);
  }
}

// Rescans that pause early, with more changes made while looks are pending,
// at places before, inside and after what is left: once the rest is finished,
// in slices or at once, the looks are those of a whole conversion.
TEST(IncrementalRefresh, PausedRescansFinishAsTheWholeConversion) {
  TRandom pick{std::mt19937(2022)};
  int paused = 0;
  for (const char* syntax : kSyntaxNames) {
    SCOPED_TRACE(syntax);
    std::vector<std::string> pastes = {RandomText(pick, 1500)};
    for (int round = 0; round < 10; ++round) {
      TDocument doc(syntax, RandomText(pick, 2000 + pick(8000)));
      for (int i = 0; i < 40; ++i) {
        RandomEdit(doc, pick, pastes);
        // Pause anywhere, or as early as can be (right after the change).
        const std::size_t choice = pick(3);
        const std::size_t pauseAfter =
            choice == 0 ? kNoPause : (choice == 1 ? 0 : pick(doc.Text().size() + 1));
        doc.Refresh(pauseAfter);
        if (doc.Pending() && pick(3) != 0) continue;  // more changes while pending
        doc.Settle(pick(2) == 0 ? kNoPause : 1 + pick(600));
        const std::string mismatch = doc.Mismatch();
        ASSERT_EQ(mismatch, "") << "round " << round << ", edit " << i;
      }
      doc.Settle();
      ASSERT_EQ(doc.Mismatch(), "") << "round " << round;
      paused += doc.Paused;
    }
  }
  // The pauses under test did happen (changes in most syntaxes seldom reach
  // past a line, so most come from comments, strings and blocks left open).
  EXPECT_GT(paused, 100);
}

// Colouring a whole document by a scan from its start (a load, a syntax
// choice), pausing anywhere and edited while looks are pending, gives the
// looks of the whole conversion, from new text and from another syntax's
// looks alike; texts the scan would not read as the conversion does are left
// to the conversion.
TEST(IncrementalRefresh, ColouringFromTheStartGivesTheWholeConversion) {
  TRandom pick{std::mt19937(5)};
  int scanned = 0;
  for (const char* syntax : kSyntaxNames) {
    SCOPED_TRACE(syntax);
    const std::vector<std::string> pastes = {RandomText(pick, 800)};
    for (int round = 0; round < 12; ++round) {
      const char* other = kSyntaxNames[pick(kSyntaxNames.size())];
      TDocument doc(other, RandomText(pick, 500 + pick(9000)));
      doc.SetSyntax(syntax);
      const std::size_t pauseAfter = pick(3) == 0 ? kNoPause : pick(doc.Text().size() + 1);
      ASSERT_TRUE(doc.ColourFromStart(pauseAfter, pick(2) == 0));
      ++scanned;
      for (int edit = pick(4); edit > 0; --edit) {
        RandomEdit(doc, pick, pastes);
        doc.Refresh(pick(doc.Text().size() + 1));
      }
      doc.Settle(pick(2) == 0 ? kNoPause : 1 + pick(900));
      ASSERT_EQ(doc.Mismatch(), "") << "round " << round << " from " << other;
    }
  }
  EXPECT_GT(scanned, 50);

  // Text the conversion would stop at or change: the editor converts it.
  for (const char* inserted : {"\n", "\r", "\0"}) {
    TDocument doc("HTML", "<b>a</b><i>b</i>\r\n");
    doc.Replace(3, 0, std::string(inserted, 1));
    EXPECT_FALSE(doc.ColourFromStart(kNoPause, false)) << static_cast<int>(*inserted);
  }
}

TEST(IncrementalRefresh, TextsTheScanReadsAsTheConversionDoes) {
  const struct {
    std::string Text;
    bool Scans;
  } kCases[] = {
      {"", true},
      {"a", true},
      {"a\r\nb\r\n", true},
      {"\r\n\r\n", true},
      {"a\nb", false},
      {"a\rb", false},
      {"a\r", false},
      {"\n", false},
      {"a\r\r\nb", false},
      {"a\r\n\nb", false},
      {std::string("a\0b", 3), false},
  };
  for (const auto& c : kCases) EXPECT_EQ(ScansAsConverted(c.Text), c.Scans) << c.Text;
}

// A comment opened at the top pauses right after the bytes asked for; the
// slices that follow finish it, each pausing again, and so does its closing.
TEST(IncrementalRefresh, AnOpenedCommentIsFinishedInSlices) {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "<p class=\"a\">line " + std::to_string(i) + "</p>\r\n";
  TDocument doc("HTML", text);
  for (const auto& [at, typed] : {std::pair<std::size_t, const char*>{20, "<!--"}, {60, "-->"}}) {
    SCOPED_TRACE(typed);
    doc.Replace(at, 0, typed);
    EXPECT_TRUE(doc.Refresh(200));
    ASSERT_TRUE(doc.Pending());
    EXPECT_LT(doc.PendingFrom(), 300u);
    int slices = 0;
    while (doc.Pending() && slices < 100) {
      EXPECT_TRUE(doc.Refresh(doc.PendingFrom() + 1000));
      ++slices;
    }
    EXPECT_GT(slices, 5);
    EXPECT_EQ(doc.Mismatch(), "");
  }
}

// A change that turns the rest of the document into a comment, and back.
TEST(IncrementalRefresh, ChangesThatRecolourTheRestOfTheDocument) {
  const struct {
    const char* Syntax;
    const char* Opener;
    const char* Closer;
  } kCases[] = {
      {"HTML", "<!--", "-->"},     {"HTML", "<%", "%>"},        {"PHP", "/*", "*/"},
      {"JAVA SCRIPT", "/*", "*/"}, {"DELPHI SCRIPT", "{", "}"}, {"DELPHI SCRIPT", "asm", "end"},
      {"SQL", "/*", "*/"},         {"XML", "<!--", "-->"},      {"XML", "<![CDATA[", "]]>"}};
  TRandom pick{std::mt19937(7)};
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.Syntax) + " " + c.Opener);
    TDocument doc(c.Syntax, RandomText(pick, 4000));
    doc.Replace(10, 0, c.Opener);
    EXPECT_TRUE(doc.Refresh());
    EXPECT_EQ(doc.Mismatch(), "");
    doc.Replace(doc.Text().size() / 2, 0, c.Closer);
    EXPECT_TRUE(doc.Refresh());
    EXPECT_EQ(doc.Mismatch(), "");
    doc.Replace(10, std::string(c.Opener).size(), "");
    EXPECT_TRUE(doc.Refresh());
    EXPECT_EQ(doc.Mismatch(), "");
  }
}

// A NUL ends what the conversion covers and a lone line end is dropped from the
// text: there the whole document is converted again, and afterwards the
// refresh is incremental again.
TEST(IncrementalRefresh, NulAndLoneLineEndsFallBackToTheWholeDocument) {
  TDocument doc("HTML", "<p>one</p>\r\n<p>two</p>\r\n<p>three</p>\r\n");
  doc.Replace(5, 0, std::string(1, '\0'));
  EXPECT_FALSE(doc.Refresh());
  EXPECT_EQ(doc.Mismatch(), "");
  doc.Replace(5, 1, "");
  EXPECT_FALSE(doc.Refresh());  // the text held a NUL: nothing safe is known
  const std::string before = doc.Text();
  doc.Replace(14, 0, "\n");
  EXPECT_FALSE(doc.Refresh());
  EXPECT_EQ(doc.Text(), before);  // the conversion dropped the lone LF
  EXPECT_EQ(doc.Mismatch(), "");
  doc.Replace(3, 0, "x");
  EXPECT_FALSE(doc.Refresh());  // the text was replaced: nothing safe is known
  doc.Replace(3, 0, "y");
  EXPECT_TRUE(doc.Refresh());
  EXPECT_EQ(doc.Mismatch(), "");
}

// The reference documents and the large inputs, each with a few edits.
TEST(IncrementalRefresh, ReferenceDocumentsAndLargeInputs) {
  std::vector<std::pair<std::string, fs::path>> inputs;
  const fs::path references = fs::path(VEXA_TEST_DATA_DIR) / "highlight";
  for (const fs::directory_entry& folder : fs::directory_iterator(references)) {
    for (const fs::directory_entry& file : fs::directory_iterator(folder.path())) {
      if (file.path().extension() == ".in")
        inputs.emplace_back(folder.path().filename().string(), file.path());
    }
  }
  const char* bench = std::getenv("VEXA_BENCH_DATA");
  const fs::path large = bench != nullptr ? fs::path(bench) : fs::path(VEXA_BENCH_DATA_DIR);
  const std::pair<const char*, const char*> kLarge[] = {
      {"HTML", "big.html"},         {"PHP", "big.php"}, {"JAVA SCRIPT", "big.js"},
      {"DELPHI SCRIPT", "big.pas"}, {"SQL", "big.sql"}, {"XML", "big.xml"}};
  for (const auto& [syntax, name] : kLarge) {
    if (fs::is_regular_file(large / name)) inputs.emplace_back(syntax, large / name);
  }
  ASSERT_FALSE(inputs.empty());
  TRandom pick{std::mt19937(15)};
  for (const auto& [syntax, path] : inputs) {
    SCOPED_TRACE(path.string());
    TDocument doc(syntax, ReadFile(path));
    const bool isLarge = doc.Text().size() > 100000;
    EditAndCompare(doc, pick, isLarge ? 6 : 10, {});
  }
}
