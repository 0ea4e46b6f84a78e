// Tokens of up to a hundred megabytes: the input chooses a syntax, a byte, how
// often it repeats and what stands before and after the run. The text is
// mapped, not allocated, so the hash sums and token lengths of every scanner
// meet sizes the short-input fuzzers never reach; the sanitizers catch an
// overflow or a wild index, the walk checks that the tokens tile the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "highlighter_factory.h"
#include "huge_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const char* syntax = kSyntaxNames[data[0] % kSyntaxNames.size()];
  const char fill = static_cast<char>(data[1] == 0 ? 'z' : data[1]);
  // Up to 2^28 bytes; most inputs stay below 2^21, so a run tries many, and
  // one in sixteen goes past the sums that 32 bits hold.
  const std::size_t scale = data[2] < 240 ? data[2] % 21 : 21 + (data[2] - 240u) % 7;
  const std::size_t count =
      (std::size_t{1} << scale) + ((std::size_t{data[3]} << 8 | data[4]) << (scale / 2));
  const std::string_view rest(reinterpret_cast<const char*>(data) + 5, size - 5);
  const std::size_t cut = rest.find('\xFF');
  const std::string_view prefix = rest.substr(0, cut);
  const std::string_view suffix = cut == std::string_view::npos ? "" : rest.substr(cut + 1);
  const THugeText text(prefix, fill, count, suffix);
  if (!text.Valid()) return 0;
  HighlighterChoice choice = CreateHighlighter(syntax);
  TqorRTFSyntax& scanner = *choice.Highlighter;
  scanner.SetText(text.Data());
  std::int64_t end = 0;
  std::int64_t tokens = 0;
  while (!scanner.GetEol()) {
    // A NUL in the prefix or the suffix ends the text there.
    if (scanner.TokenStart() != end || scanner.TokenEnd() < end ||
        ++tokens > static_cast<std::int64_t>(text.Size()) + 1) {
      std::fprintf(stderr, "%s: tokens do not tile the text at %lld\n", syntax,
                   static_cast<long long>(end));
      std::abort();
    }
    end = scanner.TokenEnd();
    scanner.Next();
  }
  return 0;
}
