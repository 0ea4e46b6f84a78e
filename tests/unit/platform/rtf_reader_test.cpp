#include "rtf_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "highlighter_factory.h"

namespace {

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier "
    "New;}}\r\n{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;\\red255\\green0\\blue0;}"
    "\r\n\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";

RtfFormat Color(int r, int g, int b, bool bold = false, bool italic = false) {
  RtfFormat f;
  f.HasColor = true;
  f.Red = static_cast<std::uint8_t>(r);
  f.Green = static_cast<std::uint8_t>(g);
  f.Blue = static_cast<std::uint8_t>(b);
  f.Bold = bold;
  f.Italic = italic;
  return f;
}

RtfFormat DefaultColor(bool bold = false, bool italic = false) {
  RtfFormat f;
  f.Bold = bold;
  f.Italic = italic;
  return f;
}

}  // namespace

void PrintTo(const RtfFormat& f, std::ostream* os) {
  if (f.HasColor) {
    *os << "rgb(" << int{f.Red} << "," << int{f.Green} << "," << int{f.Blue} << ")";
  } else {
    *os << "default";
  }
  *os << (f.Bold ? " bold" : "") << (f.Italic ? " italic" : "");
}

namespace {

const RtfFormat& FormatAt(const RtfDocument& doc, std::size_t i) {
  return doc.Formats.at(doc.FormatOf.at(i));
}

// The highlighter's colour table read independently of the reader: the
// "\redR\greenG\blueB;" entries of its colortbl group.
std::vector<RtfFormat> ColorTableOf(const std::string& table) {
  std::vector<RtfFormat> colors;
  std::size_t pos = 0;
  while ((pos = table.find("\\red", pos)) != std::string::npos) {
    int r = 0, g = 0, b = 0;
    std::sscanf(table.c_str() + pos, "\\red%d\\green%d\\blue%d;", &r, &g, &b);
    colors.push_back(Color(r, g, b));
    pos += 4;
  }
  return colors;
}

// What a token should look like, taken from the fragment the highlighter
// itself formats for it: "\cfN " and an optional "\b " or "\i ".
RtfFormat ExpectedFormat(TqorRTFSyntax& h, const std::vector<RtfFormat>& colors,
                         const std::string& token, int kind) {
  std::string escaped = token;
  h.EscapeToken(escaped);
  std::string fragment;
  h.FormatToken(kind, escaped, fragment);
  long index = -1;
  std::size_t rest = 0;
  if (fragment.compare(0, 3, "\\cf") == 0) {
    index = std::strtol(fragment.c_str() + 3, nullptr, 10);
    rest = fragment.find(' ') + 1;
  }
  RtfFormat f = index >= 0 && static_cast<std::size_t>(index) < colors.size()
                    ? colors[static_cast<std::size_t>(index)]
                    : DefaultColor();
  f.Bold = fragment.compare(rest, 3, "\\b ") == 0;
  f.Italic = fragment.compare(rest, 3, "\\i ") == 0;
  return f;
}

// Parses the highlighter's RTF for the text and checks that the text comes
// back unchanged (up to a NUL, where the scan ends) and that every token is
// shown in the format its fragment asks for.
void ExpectRoundTrip(const std::string& syntax, const std::string& text) {
  SCOPED_TRACE("syntax " + syntax);
  auto writer = CreateHighlighter(syntax).Highlighter;
  writer->SetText(text.c_str());
  const RtfDocument doc = ParseRtf(writer->ConvertToRtfString());
  const std::string scanned = text.substr(0, text.find('\0'));
  ASSERT_EQ(doc.Text, scanned);
  ASSERT_EQ(doc.FormatOf.size(), doc.Text.size());

  auto walker = CreateHighlighter(syntax).Highlighter;
  const std::vector<RtfFormat> colors = ColorTableOf(walker->RtfColorTable);
  walker->SetText(text.c_str());
  std::size_t pos = 0;
  for (; !walker->GetEol(); walker->Next()) {
    const std::string token = walker->GetToken();
    const RtfFormat want = ExpectedFormat(*walker, colors, token, walker->GetTokenKind());
    // A line end is written after the "\par" and takes the preceding format.
    for (std::size_t i = 0; token != "\r\n" && i < token.size(); ++i) {
      ASSERT_EQ(FormatAt(doc, pos + i), want) << "token \"" << token << "\" at " << pos;
    }
    pos += token.size();
  }
  EXPECT_EQ(pos, scanned.size());
}

std::string RandomText(std::mt19937& rng, std::size_t length) {
  static const std::vector<std::string> kPieces = {
      "<",    ">",         "</",   "=",        "\"",       "'",     " ",    "\t",     "{",
      "}",    "\\",        "/",    "*",        "(*",       "*)",    "//",   "/*",     "*/",
      "--",   "#",         "<!--", "-->",      "<?php",    "?>",    "<%",   "%>",     "&amp;",
      "&",    ";",         "$x",   "if",       "then",     "begin", "end",  "SELECT", "from",
      "Dim",  "var",       "html", "body",     "123",      "0x1F",  "3.14", "abc",    "Zed",
      "_id",  "\xE9",      "\x80", "\xFF",     "\x9F",     "\r\n",  "\r\n", "\r\n",   "asm",
      "{$I}", "<![CDATA[", "]]>",  "<script>", "</script>"};
  std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
  std::string s;
  while (s.size() < length) s += kPieces[pick(rng)];
  return s;
}

const std::vector<std::string> kHandTexts = {
    "",
    "a",
    "\r\n",
    "\r\n\r\n",
    "line one\r\nline two",
    "ends with a break\r\n",
    "<html>\r\n\r\n<head>\r\n<title>New Page</title>\r\n"
    "<meta name=\"GENERATOR\" content=\"Vexa Web Editor 3.0 Pro\">\r\n</head>",
    "<p class='x'>caf\xE9 &amp; {braces} \\back\\slash\\ \x80\xFF</p>\r\n<!-- note -->",
    "<?php echo \"{$a}\\n\"; // c\r\n/* long\r\ncomment */ ?>",
    "var x = {a: '\\\\'}; // \\ end\r\nfunction f() { return /re\\/x/; }",
    "Dim s\r\ns = \"a\\b\" ' comment\r\nIf s Then\r\nEnd If",
    "SELECT * FROM t WHERE a = 'x\\y' -- c\r\n/* {block} */ INSERT",
    "program P;\r\n{ brace comment }\r\n(* star *)\r\nbegin\r\n  asm mov ax, 1 end;\r\nend.",
    "<?xml version=\"1.0\"?>\r\n<a b=\"c\"><![CDATA[ {x} ]]></a>",
    "\ttab\tand  spaces  \r\n   \r\n",
    std::string("before\0after", 12),
};

TEST(RtfReaderRoundTrip, HandTextsInEverySyntax) {
  for (const char* syntax : kSyntaxNames) {
    for (const std::string& text : kHandTexts) {
      SCOPED_TRACE("text \"" + text + "\"");
      ExpectRoundTrip(syntax, text);
    }
  }
}

TEST(RtfReaderRoundTrip, SeededRandomTextsInEverySyntax) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 1500);
  for (const char* syntax : kSyntaxNames) {
    for (int i = 0; i < 40; ++i) {
      std::string text = RandomText(rng, length(rng));
      if (i % 10 == 9) text.insert(text.size() / 2, 1, '\0');
      SCOPED_TRACE("random text #" + std::to_string(i));
      ExpectRoundTrip(syntax, text);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(RtfReader, OnlyParAndLineBreakLines) {
  // "\par " comes before the line end's own fragment, whose CR LF bytes are
  // only layout; the closing "\par" ends the last line without adding one.
  EXPECT_EQ(ParseRtf(kHeader + "\\par }").Text, "");
  EXPECT_EQ(ParseRtf(kHeader + "\\cf1 one\\par \\cf0 \r\n\\cf2 two\\par \\cf0 \r\n\\par }").Text,
            "one\r\ntwo\r\n");
  EXPECT_EQ(ParseRtf("{\\rtf1 a\rb\nc\\line d\\par e\\\r\nf\\sect g\\par}").Text,
            "abc\r\nd\r\ne\r\nf\r\ng");
  EXPECT_EQ(ParseRtf("{\\rtf1 a}").Text, "a");
  EXPECT_EQ(ParseRtf("{\\rtf1 a\\line}").Text, "a\r\n");
  EXPECT_EQ(ParseRtf("{\\rtf1 a\\par{\\b}\\cf1 }").Text, "a");
}

TEST(RtfReader, CharactersEscapesAndDelimiters) {
  EXPECT_EQ(
      ParseRtf("{\\rtf1 \\\\ \\{x\\} \\'e9\\'E9\\'4a \\tab|\xE9\x80\t|\\~\\_\\-\\emdash\\rquote}")
          .Text,
      "\\ {x} \xE9\xE9J \t|\xE9\x80\t|\xA0-\x97\x92");
  // A space after a control word belongs to it; any other character is text.
  EXPECT_EQ(ParseRtf("{\\rtf1\\cf1  two\\cf1-x\\b-12;y\\cf2\\b z}").Text, " two-x;yz");
  // "\u" takes the next \uc characters as its fallback; the count belongs to
  // the group, and a group end cancels a pending skip.
  EXPECT_EQ(ParseRtf("{\\rtf1 \\u233?\\u8364 ?\\uc2\\u8212 \\'97\\'97 x\\u-3913 ?{\\uc0\\u65 }"
                     "\\u20013 ab|}")
                .Text,
            "\xE9\x80\x97 x?A?|");
}

TEST(RtfReader, DestinationsAndBinaryDataAreSkipped) {
  EXPECT_EQ(
      ParseRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\stylesheet{\\s1 Heading;}}"
               "{\\info{\\title The title}}{\\*\\generator gen {nested} \\}x;}"
               "\\viewkind4\\uc1\\pard\\sa200 a{\\ul b}{\\*\\bkmkstart c}d{\\pict\\pngblip 89504e}"
               "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}")
          .Text,
      "abdlink");
  EXPECT_EQ(ParseRtf("{\\rtf1 a{\\*\\blob\\bin4 }}{{}b\\bin3 \\}{c}").Text, "abc");
}

TEST(RtfReader, ColoursBoldAndItalic) {
  RtfDocument doc = ParseRtf(
      "{\\rtf1{\\colortbl;\\red10\\green20\\blue30;\\blue255;}"
      "a\\cf1 b\\cf2 c\\cf0 d\\cf9 e\\cf-1 f\\cf1 g\\plain h}");
  ASSERT_EQ(doc.Text, "abcdefgh");
  // No switch yet, the empty first entry, an index beyond the table (the
  // Pascal asm blocks write "\cf9") and \plain all give the default colour.
  const RtfFormat expected[] = {DefaultColor(),    Color(10, 20, 30), Color(0, 0, 255),
                                DefaultColor(),    DefaultColor(),    DefaultColor(),
                                Color(10, 20, 30), DefaultColor()};
  for (std::size_t i = 0; i < doc.Text.size(); ++i) EXPECT_EQ(FormatAt(doc, i), expected[i]) << i;
  EXPECT_EQ(doc.Formats.size(), 3u);

  doc = ParseRtf(kHeader + "\\cf1 \\i a\\i0 \\cf2 \\b b\\b0 c{\\b1\\i\\cf1 d}e\\b\\i f\\par }");
  ASSERT_EQ(doc.Text, "abcdef");
  EXPECT_EQ(FormatAt(doc, 0), Color(0, 128, 0, false, true));
  EXPECT_EQ(FormatAt(doc, 1), Color(255, 0, 0, true, false));
  EXPECT_EQ(FormatAt(doc, 2), Color(255, 0, 0));
  EXPECT_EQ(FormatAt(doc, 3), Color(0, 128, 0, true, true));
  EXPECT_EQ(FormatAt(doc, 4), Color(255, 0, 0));
  EXPECT_EQ(FormatAt(doc, 5), Color(255, 0, 0, true, true));
}

TEST(RtfReader, FormatsBeyondTheLimitTakeTheNearestOne) {
  std::string rtf = "{\\rtf1{\\colortbl;";
  for (int i = 0; i < 300; ++i) rtf += "\\red" + std::to_string(i % 256) + ";";
  rtf += "}";
  for (int i = 1; i <= 300; ++i) rtf += "\\cf" + std::to_string(i) + " x";
  rtf += "\\b\\cf300 y}";
  const RtfDocument doc = ParseRtf(rtf);
  ASSERT_EQ(doc.Text, std::string(300, 'x') + "y");
  EXPECT_EQ(doc.Formats.size(), kMaxRtfFormats);
  // Red 249 is not among the first 200 formats: it is drawn in the closest
  // red that is; with no bold format left, a bold look loses its bold.
  EXPECT_EQ(FormatAt(doc, 249), Color(199, 0, 0));
  EXPECT_EQ(FormatAt(doc, 300), Color(43, 0, 0));
}

TEST(RtfReader, MalformedInputNeverFails) {
  const std::vector<std::string> inputs = {"{{{{",
                                           "}}}}",
                                           "\\",
                                           "{\\rtf1 \\'",
                                           "{\\rtf1 \\'4",
                                           "{\\rtf1 \\'zz",
                                           "{\\rtf1 \\cf-",
                                           "{\\rtf1 \\cf-99999999999999999999999999 x",
                                           "{\\rtf1 \\uc99999999999 \\u65 abc",
                                           "{\\rtf1 \\u99999999999999",
                                           "{\\rtf1 \\bin99999999999",
                                           "{\\rtf1 \\bin-5 x",
                                           "{\\rtf1 {\\*\\x \\bin99999",
                                           "{\\rtf1 {\\colortbl\\red999999999\\green-5;\\red",
                                           std::string(5000, 'a') + "\\" + std::string(5000, 'b'),
                                           std::string(200000, '{') + "x"};
  for (const std::string& in : inputs) {
    const RtfDocument doc = ParseRtf(in);
    ASSERT_EQ(doc.FormatOf.size(), doc.Text.size());
    for (std::uint8_t f : doc.FormatOf) ASSERT_LT(f, doc.Formats.size());
  }
  EXPECT_EQ(ParseRtf("{\\rtf1 \\cf99999999999999999999 x}").Text, "x");
  EXPECT_EQ(ParseRtf(std::string("{\\rtf1 a\0b\\'00}", 15)).Text, std::string("a\0b\0", 4));
  // The document ends with its outermost group; stray "}" before it are ignored.
  EXPECT_EQ(ParseRtf("}}{\\rtf1 a}b{c}").Text, "a");
}

TEST(RtfReader, ReusedDocumentKeepsFormatIndexes) {
  RtfDocument doc;
  ParseRtf(kHeader + "\\cf1 " + std::string(1000, 'x') + "\\par }", doc);
  ParseRtf(kHeader + "\\cf1 ab\\cf2 c\\cf0 d\\par }", doc);
  ASSERT_EQ(doc.Text, "abcd");
  ASSERT_EQ(doc.Formats.size(), 3u);
  // The editor hands FormatOf over as it is, so the shorter text cuts it to its own size.
  EXPECT_EQ(doc.FormatOf, (std::vector<std::uint8_t>{0, 0, 1, 2}));
  EXPECT_NE(doc.Formats[0], doc.Formats[1]);
  EXPECT_NE(doc.Formats[1], doc.Formats[2]);
}

// A refresh keeps one document for every keystroke: its buffers follow the
// size of the text, not of the (two to three times larger) RTF.
TEST(RtfReader, BuffersFollowTheTextNotTheRtf) {
  std::mt19937 rng(7);
  for (const char* syntax : {"HTML", "PHP"}) {
    SCOPED_TRACE(syntax);
    auto writer = CreateHighlighter(syntax).Highlighter;
    const std::string text = RandomText(rng, 300000);
    writer->SetText(text.c_str());
    const std::string rtf = writer->ConvertToRtfString();
    RtfDocument doc;
    ParseRtf(rtf, doc);
    ASSERT_EQ(doc.Text, text);
    EXPECT_LT(doc.Text.capacity(), text.size() * 3 / 2);
    EXPECT_LT(doc.FormatOf.capacity(), text.size() * 3 / 2);
    const std::size_t kept = doc.Text.capacity();
    ParseRtf(rtf, doc);
    EXPECT_EQ(doc.Text.capacity(), kept);
    EXPECT_EQ(doc.Text, text);

    // Read against the text it repeats, nothing is copied, and the formats
    // take the text's size and a little room, never twice it.
    RtfDocument known;
    ParseRtf(rtf, known, text);
    EXPECT_EQ(known.KnownBytes, text.size());
    EXPECT_LT(known.Text.capacity(), 64u);
    EXPECT_LE(known.FormatOf.capacity(), text.size() + text.size() / 64);
    EXPECT_EQ(known.FormatOf, doc.FormatOf);
  }
}

std::size_t CommonPrefix(const std::string& a, const std::string& b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

// The text comes back whole however the known text differs: only from the
// first difference is it held, and the formats are those of a plain reading.
TEST(RtfReader, TextReadAgainstAKnownText) {
  auto check = [](const std::string& rtf, const std::string& known) {
    SCOPED_TRACE("known \"" + known + "\"");
    const RtfDocument plain = ParseRtf(rtf);
    RtfDocument doc;
    ParseRtf(rtf, doc, known);
    ASSERT_EQ(doc.KnownBytes, CommonPrefix(plain.Text, known));
    EXPECT_EQ(known.substr(0, doc.KnownBytes) + doc.Text, plain.Text);
    EXPECT_EQ(doc.Size(), plain.Text.size());
    EXPECT_EQ(doc.FormatOf, plain.FormatOf);
    EXPECT_EQ(doc.Formats, plain.Formats);
  };
  const std::string rtf = kHeader + "\\cf1 ab\\{\\'e9\\par \\cf2 cd\\par }";
  for (const char* known : {"ab{\xE9\r\ncd", "", "ab{\xE9\r\ncd\r\n", "ab{\xE9\r\ncd\r\nmore",
                            "ab{\xE9\r\nc", "ab{\xE9", "ab{e\r\ncd", "ab}", "ab{\xE9\r\r\ncd",
                            "Xb{\xE9\r\ncd", "ab{\xE9\r\ncd\r", "ab{\xE9\r\ncd\rX"}) {
    check(rtf, known);
  }
  // Highlighted texts read against themselves after a small edit, at random.
  std::mt19937 rng(11);
  for (const char* syntax : {"HTML", "PHP", "DELPHI SCRIPT"}) {
    auto writer = CreateHighlighter(syntax).Highlighter;
    for (int i = 0; i < 30; ++i) {
      const std::string text = RandomText(rng, 400);
      writer->SetText(text.c_str());
      std::string known = text;
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, known.size())(rng);
      switch (i % 3) {
        case 0:
          known.insert(at, "\r\n<x");
          break;
        case 1:
          known.erase(at, 3);
          break;
        default:
          known.replace(at, 2, "\\");
          break;
      }
      check(writer->ConvertToRtfString(), known);
      if (HasFatalFailure()) return;
    }
  }
}

// A document read into again keeps its formats' indexes, so the caller can
// keep the array as a record of what it shows and learn which bytes to
// restyle.
TEST(RtfReader, FormatsReadOverTheirOldValues) {
  const std::string table = "{\\rtf1{\\colortbl;\\red1;\\red2;\\red3;}";
  RtfDocument doc;
  ParseRtf(table + "\\cf1 one \\cf2 two \\cf3 three}", doc);
  const std::vector<RtfFormat> first = doc.Formats;
  ASSERT_EQ(first.size(), 3u);

  // The same document again changes nothing; its closing paragraph mark, which
  // lies beyond the text, neither.
  ParseRtf(table + "\\cf1 one \\cf2 two \\cf3 three\\par }", doc, "one two three");
  EXPECT_EQ(doc.ChangedTo, 0u);

  // One word in another colour: the bytes of that word, and no other.
  ParseRtf(table + "\\cf1 one \\cf3 two \\cf3 three\\par }", doc, "one two three");
  EXPECT_EQ(doc.Formats, first);
  EXPECT_EQ(doc.ChangedFrom, 4u);
  EXPECT_EQ(doc.ChangedTo, 8u);
  EXPECT_EQ(FormatAt(doc, 4), Color(3, 0, 0));

  // Colours taken in another order keep the indexes they had.
  ParseRtf(table + "\\cf3 one \\cf2 two \\cf1 three}", doc);
  EXPECT_EQ(doc.Formats, first);
  EXPECT_EQ(FormatAt(doc, 0), Color(3, 0, 0));
  EXPECT_EQ(FormatAt(doc, 12), Color(1, 0, 0));

  // Bytes the old array did not reach, or that the caller marked as unknown,
  // count as changed.
  doc.FormatOf.resize(10);
  doc.FormatOf[2] = 0xFF;
  ParseRtf(table + "\\cf3 one \\cf2 two \\cf1 three}", doc);
  EXPECT_EQ(doc.ChangedFrom, 0u);
  EXPECT_EQ(doc.ChangedTo, 13u);
  ParseRtf(table + "\\cf3 one \\cf2 two \\cf1 three}", doc);
  EXPECT_EQ(doc.ChangedTo, 0u);
}

// A table full of formats of earlier readings gives way to the new ones: the
// result is that of a fresh reading, and every byte is reported changed since
// an index may now stand for another look.
TEST(RtfReader, FullFormatTableGivesWayToTheNewText) {
  auto many = [](int count, int first, const std::string& last) {
    std::string rtf = "{\\rtf1{\\colortbl;";
    for (int i = 0; i < count; ++i) rtf += "\\red" + std::to_string((first + i) % 256) + ";";
    rtf += "}";
    for (int i = 1; i <= count; ++i) rtf += "\\cf" + std::to_string(i) + " x";
    return rtf + last + "}";
  };
  RtfDocument doc;
  ParseRtf(many(150, 0, ""), doc);
  ParseRtf(many(150, 100, ""), doc);
  ASSERT_EQ(doc.Formats.size(), kMaxRtfFormats);
  EXPECT_EQ(FormatAt(doc, 149), Color(249, 0, 0));
  // The first byte's new look takes the slot of its old one, so its index
  // stays the same: it is still reported.
  std::string changedFirst = many(200, 0, "");
  changedFirst.replace(changedFirst.find("\\red0;"), 6, "\\green9;");
  ParseRtf(many(200, 0, ""), doc);
  ParseRtf(changedFirst, doc);
  EXPECT_EQ(FormatAt(doc, 0), Color(0, 9, 0));
  EXPECT_EQ(doc.ChangedFrom, 0u);
  EXPECT_EQ(doc.ChangedTo, 200u);

  // More looks than the table holds: the same nearest looks as a fresh
  // reading, ties going to the look this text took first, whatever index an
  // earlier reading gave it.
  auto looks = [](bool descending, const std::string& extra) {
    std::vector<std::string> entries;
    for (int r = 0; r < 256; r += 2) entries.push_back("\\red" + std::to_string(r) + ";");
    for (int g = 2; g <= 144; g += 2) entries.push_back("\\green" + std::to_string(g) + ";");
    if (descending) std::reverse(entries.begin(), entries.end());
    std::string rtf = "{\\rtf1{\\colortbl;";
    for (const std::string& e : entries) rtf += e;
    rtf += extra + "}";
    for (std::size_t i = 1; i <= entries.size() + 1; ++i) rtf += "\\cf" + std::to_string(i) + " x";
    return rtf + "}";
  };
  ParseRtf(looks(false, ""), doc);
  const std::string rtf = looks(true, "\\red1;");
  ParseRtf(rtf, doc);
  const RtfDocument fresh = ParseRtf(rtf);
  ASSERT_EQ(doc.Text, std::string(201, 'x'));
  for (std::size_t i = 0; i < fresh.Text.size(); ++i) {
    ASSERT_EQ(FormatAt(doc, i), FormatAt(fresh, i)) << i;
  }
  EXPECT_EQ(FormatAt(doc, 200), Color(2, 0, 0));
}

}  // namespace
