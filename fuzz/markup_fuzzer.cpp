// Any bytes as a page: the markup scan with and without server blocks, the
// blanking of blocks, and the references found in it. Every place lies in the
// text, blocks and tags come in order, blanking keeps every byte's place and
// every line end, and what a block blanks is all that changes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "page_markup.h"
#include "references.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "markup: %s\n", what);
  std::abort();
}

void Check(std::string_view text, bool blocks) {
  const check::TPageMarkup m = check::ScanMarkup(text, blocks);
  std::size_t last = 0;
  for (const check::TTag& t : m.Tags) {
    if (t.Begin < last || t.End > text.size() || t.Begin >= t.End) Fail("tag out of place");
    last = t.Begin;
    for (const check::TAttribute& a : t.Attributes) {
      if (a.ValueBegin > a.ValueEnd || a.ValueEnd > text.size()) Fail("value out of place");
    }
  }
  std::size_t blockEnd = 0;
  for (const check::TBlock& b : m.Blocks) {
    if (b.Begin < blockEnd || b.End > text.size() || b.Begin + 2 > b.End) Fail("block order");
    blockEnd = b.End;
  }
  if (!blocks && !m.Blocks.empty()) Fail("blocks without blocks");
  for (const check::TText& r : m.Texts) {
    if (r.Begin >= r.End || r.End > text.size()) Fail("text run out of place");
  }
  const std::string masked = check::MaskBlocks(text, m.Blocks);
  if (masked.size() != text.size()) Fail("masking moved bytes");
  std::size_t inBlock = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    while (inBlock < m.Blocks.size() && m.Blocks[inBlock].End <= i) ++inBlock;
    const bool blanked = inBlock < m.Blocks.size() && m.Blocks[inBlock].Begin <= i;
    const bool lineEnd = text[i] == '\r' || text[i] == '\n';
    if ((!blanked || lineEnd) && masked[i] != text[i]) Fail("masking changed a byte");
  }
  const check::TPageFacts facts = check::AnalysePage(text, m);
  for (const check::TReference& r : facts.References) {
    if (r.Offset >= text.size()) Fail("reference out of place");
    check::ClassifyReference(r.Text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text, false);
  Check(text, true);
  check::ClassifyReference(text);
  check::DecodeCharacterReferences(text);
  return 0;
}
