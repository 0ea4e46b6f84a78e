#include "recovery_copy.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RecoveryCopy Sample() {
  RecoveryCopy copy;
  copy.FileName = "/home/ann/site/index.htm";
  copy.Syntax = "JAVA SCRIPT";
  copy.SavedAt = 1765286400;
  copy.DiskState = "120 1765286000123 5d41402a";
  copy.Text = "<html>\r\n<p>text</p>\r\n";
  return copy;
}

void ExpectSame(const RecoveryCopy& a, const RecoveryCopy& b) {
  EXPECT_EQ(a.FileName, b.FileName);
  EXPECT_EQ(a.Syntax, b.Syntax);
  EXPECT_EQ(a.SavedAt, b.SavedAt);
  EXPECT_EQ(a.DiskState, b.DiskState);
  EXPECT_EQ(a.Text, b.Text);
}

TEST(RecoveryCopyTest, EveryByteOfTextAndNameComesBack) {
  RecoveryCopy copy = Sample();
  // Bytes that would end a header line or field, a NUL, and every byte value.
  for (int b = 0; b < 256; ++b) copy.Text.push_back(static_cast<char>(b));
  copy.Text += "\ntext 3\nabc\n";
  copy.FileName = "/tmp/odd name\nwith text 5\n.htm";
  copy.Syntax = "";
  const auto read = ParseRecoveryCopy(FormatRecoveryCopy(copy));
  ASSERT_TRUE(read);
  ExpectSame(*read, copy);

  RecoveryCopy empty;
  empty.FileName = "new.htm";
  const auto readEmpty = ParseRecoveryCopy(FormatRecoveryCopy(empty));
  ASSERT_TRUE(readEmpty);
  ExpectSame(*readEmpty, empty);
}

TEST(RecoveryCopyTest, TheHeaderIsReadableAndTheTextFollowsRaw) {
  const std::string bytes = FormatRecoveryCopy(Sample());
  EXPECT_EQ(bytes,
            "Vexa recovery copy 1\n"
            "file 24\n/home/ann/site/index.htm\n"
            "syntax 11\nJAVA SCRIPT\n"
            "saved 10\n1765286400\n"
            "disk 26\n120 1765286000123 5d41402a\n"
            "text 21\n<html>\r\n<p>text</p>\r\n\n");
}

TEST(RecoveryCopyTest, ACopyCutShortOrDamagedIsNoCopy) {
  const std::string whole = FormatRecoveryCopy(Sample());
  // Every shorter prefix is rejected: a half-written copy never restores half a text.
  for (std::size_t n = 0; n < whole.size(); ++n) {
    EXPECT_FALSE(ParseRecoveryCopy(whole.substr(0, n))) << "prefix of " << n << " bytes";
  }
  EXPECT_FALSE(ParseRecoveryCopy(whole + "x"));
  EXPECT_FALSE(ParseRecoveryCopy("<html>\r\n"));

  std::string badLength = whole;
  badLength.replace(badLength.find("text 21"), 7, "text 2x");
  EXPECT_FALSE(ParseRecoveryCopy(badLength));
  std::string badTime = whole;
  badTime.replace(badTime.find("1765286400"), 10, "17652864x0");
  EXPECT_FALSE(ParseRecoveryCopy(badTime));
  std::string huge = whole;
  huge.replace(huge.find("text 21"), 7, "text 99999999999999999999999");
  EXPECT_FALSE(ParseRecoveryCopy(huge));
}

TEST(RecoveryCopyTest, UnknownFieldsAreSkippedButTheNamedOnesAreNeeded) {
  std::string bytes = FormatRecoveryCopy(Sample());
  const std::size_t disk = bytes.find("disk ");
  bytes.insert(disk, "caret 2\n17\n");
  const auto read = ParseRecoveryCopy(bytes);
  ASSERT_TRUE(read);
  ExpectSame(*read, Sample());

  std::string noFile = FormatRecoveryCopy(Sample());
  noFile.replace(noFile.find("file 24"), 4, "name");
  EXPECT_FALSE(ParseRecoveryCopy(noFile));
  std::string noText = FormatRecoveryCopy(Sample());
  noText.replace(noText.find("text 21"), 4, "body");
  EXPECT_FALSE(ParseRecoveryCopy(noText));
}

TEST(RecoveryCopyTest, AWriterOfItsOwnTextWritesTheSameBytes) {
  // A writer that copies the text itself puts head, text and a line feed
  // one after the other: the file must be the copy, byte for byte.
  const std::string texts[] = {"", "a", std::string("\0\n\r\xff", 4), std::string(100000, 'x'),
                               "text 3\nabc\n"};
  for (const std::string& text : texts) {
    RecoveryCopy copy = Sample();
    copy.Text = text;
    RecoveryCopy withoutText = copy;
    withoutText.Text = "not read";
    EXPECT_EQ(FormatRecoveryCopyHead(withoutText, text.size()) + text + "\n",
              FormatRecoveryCopy(copy))
        << text.size() << " bytes";
  }
}

}  // namespace
