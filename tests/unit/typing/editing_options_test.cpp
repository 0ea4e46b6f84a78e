#include "editing_options.h"

#include <gtest/gtest.h>

#include "ini_file.h"

TEST(EditingOptions, MissingKeysKeepTheDefaultsEverythingOnButTab) {
  const IniFile empty("/nonexistent-folder/vexapro.ini", "");
  const TEditingOptions options = ReadEditingOptions(empty);
  EXPECT_TRUE(options.LineNumbers && options.CaretLine && options.CloseTags &&
              options.CompleteEndTags && options.MatchPairs && options.AutoIndent);
  EXPECT_FALSE(options.TabExpands);
}

TEST(EditingOptions, OnlyOneIsOnAndTheSectionComesAfterTheOthers) {
  const IniFile ini("/nonexistent-folder/vexapro.ini",
                    "[Vexa options]\r\nWord Wrap=1\r\n"
                    "[Vexa Editing]\r\nLine Numbers=0\r\nClose Tags=yes\r\nTab Expands=1\r\n");
  TEditingOptions options = ReadEditingOptions(ini);
  EXPECT_FALSE(options.LineNumbers);
  EXPECT_FALSE(options.CloseTags);
  EXPECT_TRUE(options.TabExpands);
  EXPECT_TRUE(options.MatchPairs);

  IniFile written("/nonexistent-folder/vexapro.ini", "[Vexa options]\r\nWord Wrap=1\r\n");
  options.CaretLine = false;
  WriteEditingOptions(written, options);
  EXPECT_EQ(written.Text(),
            "[Vexa options]\r\nWord Wrap=1\r\n"
            "[Vexa Editing]\r\nLine Numbers=0\r\nCaret Line=0\r\nClose Tags=0\r\n"
            "Complete End Tags=1\r\nMatch Pairs=1\r\nAuto Indent=1\r\nTab Expands=1\r\n");
  EXPECT_TRUE(ReadEditingOptions(written) == options);
}
