#include "command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using TAction = TCommandLine::TAction;
using Files = std::vector<std::string>;

TEST(CommandLineTest, FilesKeepTheirOrderAndDashesEndOptions) {
  const TCommandLine line = ParseCommandLine({"page.htm", "-", "b c.php", "--", "--help", "-x"});
  EXPECT_EQ(line.Action, TAction::Run);
  EXPECT_EQ(line.Files, (Files{"page.htm", "-", "b c.php", "--help", "-x"}));
  EXPECT_EQ(ParseCommandLine({}).Files, Files{});
}

TEST(CommandLineTest, HelpAndVersionWinOverTheRestOfTheLine) {
  EXPECT_EQ(ParseCommandLine({"-h"}).Action, TAction::Help);
  EXPECT_EQ(ParseCommandLine({"a.htm", "--help", "--bogus"}).Action, TAction::Help);
  EXPECT_EQ(ParseCommandLine({"--version", "-h"}).Action, TAction::Version);
}

TEST(CommandLineTest, QtOptionsAndTheirValuesAreNoFiles) {
  const TCommandLine line = ParseCommandLine(
      {"-platform", "offscreen", "--style=fusion", "-reverse", "page.php", "-session", "id_1"});
  EXPECT_EQ(line.Action, TAction::Run);
  EXPECT_EQ(line.Files, Files{"page.php"});
  const TCommandLine missing = ParseCommandLine({"page.php", "-style"});
  EXPECT_EQ(missing.Action, TAction::Usage);
  EXPECT_EQ(missing.Problem, "option '-style' needs a value");
}

TEST(CommandLineTest, UnknownOptionsAreUsageErrors) {
  for (const char* option : {"--bogus", "-x", "--reverse=1", "--help=yes"}) {
    const TCommandLine line = ParseCommandLine({"a.htm", option});
    EXPECT_EQ(line.Action, TAction::Usage) << option;
    EXPECT_EQ(line.Problem, std::string("unknown option '") + option + "'");
  }
}

std::string Written(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(CommandLineTest, AnswersGoToTheirStreamWithTheirStatus) {
  struct TCase {
    std::vector<std::string> Args;
    int Status;
    std::string Out, Err;
  };
  const TCase cases[] = {
      {{"--version"}, 0, "Vexa Web Editor Pro 3.0.3\n", ""},
      {{"--help"}, 0, CommandLineUsage(), ""},
      {{"--bogus"}, 2, "", "vexa: unknown option '--bogus'\n" + CommandLineUsage()},
  };
  for (const TCase& c : cases) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out != nullptr && err != nullptr);
    EXPECT_EQ(AnswerCommandLine(ParseCommandLine(c.Args), "3.0.3", out, err), c.Status);
    EXPECT_EQ(Written(out), c.Out) << c.Args[0];
    EXPECT_EQ(Written(err), c.Err) << c.Args[0];
    std::fclose(out);
    std::fclose(err);
  }
  EXPECT_EQ(CommandLineUsage().rfind("usage: vexa [OPTION]... [FILE]\n", 0), 0u);
}

}  // namespace
