// Any bytes through the RTF reader. Input that opens with "{" is read as RTF
// and must give a consistent document; any other input is taken as editor
// text, highlighted (its first byte picks the syntax) and read back, and must
// come back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "highlighter_factory.h"
#include "rtf_reader.h"
#include "text_lines.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "rtf reader: %s\n", what);
  std::abort();
}

void CheckDocument(const RtfDocument& doc, std::size_t inputSize) {
  if (doc.FormatOf.size() != doc.Text.size()) Fail("format array and text differ in length");
  if (doc.Text.size() > inputSize) Fail("more text than input");
  if (doc.Formats.size() > kMaxRtfFormats) Fail("too many formats");
  for (std::uint8_t f : doc.FormatOf) {
    if (f >= doc.Formats.size()) Fail("format index outside the table");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  static RtfDocument doc;
  if (size > 0 && bytes[0] == '{') {
    ParseRtf(bytes, doc);
    CheckDocument(doc, size);
    return 0;
  }
  if (size == 0) return 0;
  const std::string text = textlines::ToCrLf(bytes.substr(1));
  auto highlighter =
      CreateHighlighter(kSyntaxNames[static_cast<std::uint8_t>(bytes[0]) % kSyntaxNames.size()])
          .Highlighter;
  highlighter->SetText(text.c_str());
  const std::string rtf = highlighter->ConvertToRtfString();
  ParseRtf(rtf, doc);
  CheckDocument(doc, rtf.size());
  if (doc.Text != text.substr(0, text.find('\0'))) Fail("highlighted text did not come back");
  return 0;
}
