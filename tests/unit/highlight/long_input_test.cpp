// Identifiers and names far longer than any real one: the keyword hash and the
// token lengths must hold for any text the program accepts (2^31 - 1 bytes).
// The texts are mapped, not allocated, so the tests need a few megabytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "html_scanner.h"
#include "huge_text.h"
#include "javascript_scanner.h"
#include "keyword_buckets.h"
#include "pascal_scanner.h"
#include "php_scanner.h"
#include "sql_scanner.h"
#include "vbscript_scanner.h"
#include "xml_scanner.h"

namespace {

constexpr std::size_t kLimit = std::numeric_limits<std::int32_t>::max();

// The fewest bytes of value `value` whose sum no longer fits 32 signed bits.
constexpr std::size_t OverflowingRun(std::size_t value) { return kLimit / value + 1; }

struct LongToken {
  std::string Kind;
  std::int64_t Start = 0;
  std::int64_t Length = 0;
};

// Scans the text and returns the longest token; the tokens must tile the text.
template <class Scanner>
LongToken Longest(const THugeText& text) {
  Scanner scanner;
  scanner.SetText(text.Data());
  LongToken longest;
  std::int64_t end = 0;
  while (!scanner.GetEol()) {
    EXPECT_EQ(scanner.TokenStart(), end);
    end = scanner.TokenEnd();
    const std::int64_t length = end - scanner.TokenStart();
    if (length > longest.Length)
      longest = {scanner.GetTokenKindName(), scanner.TokenStart(), length};
    scanner.Next();
  }
  EXPECT_EQ(end, static_cast<std::int64_t>(text.Size()));
  return longest;
}

template <class Scanner>
void ExpectOneLongToken(const char* prefix, char fill, std::size_t count, const char* kind) {
  const THugeText text(prefix, fill, count, " ");
  if (!text.Valid()) GTEST_SKIP() << "cannot map a text of " << count << " bytes";
  const LongToken token = Longest<Scanner>(text);
  EXPECT_EQ(token.Kind, kind);
  EXPECT_EQ(token.Start, static_cast<std::int64_t>(std::string(prefix).size()));
  EXPECT_EQ(token.Length, static_cast<std::int64_t>(count));
}

}  // namespace

// A run of "z" (26, the largest letter value) sums past 2^31 in 82,595,525
// bytes; "_" (31) and the HTML "!" (123) sooner. Each is one identifier or
// name, neither a keyword nor a crash.
TEST(LongInput, IdentifiersBeyondThe32BitHashSum) {
  ExpectOneLongToken<TqorSQLRTF>("", 'z', OverflowingRun(26), "Identifier");
  ExpectOneLongToken<TqorPasRTF>("x := ", 'z', OverflowingRun(26), "Identifier");
  ExpectOneLongToken<TqorVBScriptRTF>("", 'z', OverflowingRun(26), "Identifier");
  ExpectOneLongToken<TqorJScriptRTF>("", '_', OverflowingRun(31), "Identifier");
  ExpectOneLongToken<TqorPHPRTF>("", '_', OverflowingRun(31), "Identifier");
  ExpectOneLongToken<TqorHTMLRTF>("<", '!', OverflowingRun(123), "Identifier");
  ExpectOneLongToken<TqorXMLRTF>("<", 'a', OverflowingRun(26), "ElementName");
}

// The program's limit: one identifier of 2^31 - 2 bytes and a blank, a text of
// 2^31 - 1 bytes, whose hash sum alone is 26 times that.
TEST(LongInput, AnIdentifierAsLongAsTheLargestText) {
#if defined(__SANITIZE_ADDRESS__)
  // Two gigabytes take minutes under the sanitizers; the sums past 32 bits
  // above run there.
  GTEST_SKIP() << "the plain build scans the largest text";
#endif
  const THugeText text("", 'z', kLimit - 1, " ");
  if (!text.Valid()) GTEST_SKIP() << "cannot map a text of 2 GiB";
  const TWordHash h =
      HashWord(text.Data(), MakeLetterHashTable().data(), [](unsigned char b) { return b == 'z'; });
  EXPECT_EQ(h.Length, static_cast<std::int32_t>(kLimit - 1));
  EXPECT_EQ(h.Hash, 26u * (kLimit - 1));
  const LongToken token = Longest<TqorPasRTF>(text);
  EXPECT_EQ(token.Kind, "Identifier");
  EXPECT_EQ(token.Length, static_cast<std::int64_t>(kLimit - 1));
}
