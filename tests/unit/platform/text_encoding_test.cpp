#include "text_encoding.h"

#include <gtest/gtest.h>

#include <string>

using encoding::DeclaresCharset;
using encoding::Detect;
using encoding::PaintedCharacter;

TEST(TextEncoding, Utf8NeedsValidBytesAndOneMultiByteSequence) {
  EXPECT_EQ(Detect(""), TTextEncoding::Windows1252);
  EXPECT_EQ(Detect("<p>plain</p>\r\n"), TTextEncoding::Windows1252);
  EXPECT_EQ(Detect("caf\xc3\xa9"), TTextEncoding::Utf8);
  EXPECT_EQ(Detect("\xe6\x97\xa5\xe6\x9c\xac"), TTextEncoding::Utf8);
  EXPECT_EQ(Detect("\xf0\x9f\x98\x80"), TTextEncoding::Utf8);
  EXPECT_EQ(Detect("\xef\xbb\xbf<p>"), TTextEncoding::Utf8);
  EXPECT_EQ(Detect("\xf4\x8f\xbf\xbf"), TTextEncoding::Utf8);  // U+10FFFF
  EXPECT_EQ(Detect(std::string("a\0\xc3\xa9", 4)), TTextEncoding::Utf8);

  // Code page 1252 text, and every way UTF-8 can be broken.
  for (const char* bytes : {"caf\xe9", "\x80\x93\x94\x99", "\xc3", "\xc3(", "\xc0\xaf", "\xc1\xbf",
                            "\xe0\x80\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xf5\x80\x80\x80",
                            "\xe2\x82", "\xbf", "\xc3\xa9\xff", "\xf0\x9f\x98"}) {
    EXPECT_EQ(Detect(bytes), TTextEncoding::Windows1252) << bytes;
  }
  EXPECT_STREQ(encoding::Name(TTextEncoding::Utf8), "UTF-8");
  EXPECT_STREQ(encoding::Name(TTextEncoding::Windows1252), "Windows-1252");
}

TEST(TextEncoding, PaintedCharactersOfCodePage1252) {
  EXPECT_EQ(PaintedCharacter(0x80), u'\u20ac');
  EXPECT_EQ(PaintedCharacter(0x93), u'\u201c');
  EXPECT_EQ(PaintedCharacter(0x9f), u'\u0178');
  for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(PaintedCharacter(static_cast<unsigned char>(undefined)), encoding::kPlaceholder);
  }
  EXPECT_EQ(PaintedCharacter(0x00), u'\u2400');
  EXPECT_EQ(PaintedCharacter(0x1b), u'\u241b');
  EXPECT_EQ(PaintedCharacter(0x7f), u'\u2421');
  // The widget draws these itself: the tab, the line ends, ASCII and Latin-1.
  for (int own : {0x09, 0x0d, 0x0a, 0x20, 0x61, 0x7e, 0xa0, 0xe9, 0xff}) {
    EXPECT_EQ(PaintedCharacter(static_cast<unsigned char>(own)), 0) << own;
  }
}

TEST(TextEncoding, PagesThatNameTheirCharacterSet) {
  EXPECT_TRUE(DeclaresCharset("<html><head><meta charset=\"windows-1252\"></head>"));
  EXPECT_TRUE(DeclaresCharset(
      "<HTML><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=iso-8859-1\">"));
  EXPECT_TRUE(DeclaresCharset("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><html>"));
  EXPECT_TRUE(DeclaresCharset("\xef\xbb\xbf<p>caf\xc3\xa9</p>"));
  EXPECT_FALSE(DeclaresCharset("<p>caf\xc3\xa9</p>"));
  EXPECT_FALSE(DeclaresCharset("<?xml version=\"1.0\"?><p>charset</p>"));
  EXPECT_FALSE(DeclaresCharset("<meta name=\"GENERATOR\" content=\"Vexa\"><p>charset=utf-8</p>"));
  // Browsers look no further than the first 1024 bytes.
  EXPECT_FALSE(DeclaresCharset(std::string(1100, ' ') + "<meta charset=\"utf-8\">"));
}
