// The incremental refresh against the whole-document conversion: the input
// gives a syntax, a document and a sequence of edits, and where rescans pause;
// after each edit (once the looks a pause left are finished) the looks of the
// incremental path must be those of a fresh whole conversion.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "incremental_check.h"

namespace {

// Numbers drawn from the input's bytes; 0 once they are used up.
struct TInputPick {
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t operator()(std::size_t n) {
    std::size_t value = 0;
    for (int i = 0; i < 3 && Size > 0; ++i, ++Data, --Size) value = value << 8 | *Data;
    return n == 0 ? 0 : value % n;
  }
  bool Done() const { return Size == 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const char* syntax = kSyntaxNames[data[0] % kSyntaxNames.size()];
  // The document: raw bytes of the input, then pieces drawn from it.
  const std::size_t raw = std::min<std::size_t>(data[1], size - 2);
  TInputPick pick{data + 2 + raw, size - 2 - raw};
  std::string text(reinterpret_cast<const char*>(data) + 2, raw);
  text += incremental_check::RandomText(pick, pick(3000));
  incremental_check::TDocument doc(syntax, text);
  const std::vector<std::string> pastes = {incremental_check::RandomText(pick, 400)};
  // Now and then the whole text is coloured again from its start, as a load
  // or a syntax choice colours it, in another syntax.
  const auto recolour = [&] {
    doc.SetSyntax(kSyntaxNames[pick(kSyntaxNames.size())]);
    doc.ColourFromStart(pick(2) == 0 ? kNoPause : pick(doc.Text().size() + 1), pick(2) == 0);
  };
  for (int edit = 0; edit < 64 && !pick.Done(); ++edit) {
    if (pick(16) == 0) {
      recolour();
    } else {
      incremental_check::RandomEdit(doc, pick, pastes);
      doc.Refresh(pick(2) == 0 ? kNoPause : pick(doc.Text().size() + 1));
    }
    // Sometimes more edits come while looks are pending.
    if (doc.Pending() && pick(2) == 0 && !pick.Done()) continue;
    doc.Settle(pick(2) == 0 ? kNoPause : 1 + pick(2000));
    const std::string mismatch = doc.Mismatch();
    if (!mismatch.empty()) {
      std::fprintf(stderr, "%s, edit %d: %s\n", syntax, edit, mismatch.c_str());
      std::abort();
    }
  }
  return 0;
}
