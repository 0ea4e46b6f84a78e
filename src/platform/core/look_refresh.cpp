#include "look_refresh.h"

#include <algorithm>
#include <string>

RtfFormat LookFormat(const TqorRTFSyntax& highlighter, TLookId look) {
  // The same document start as a conversion's, so the reader resolves the
  // colour exactly as it does there.
  std::string rtf = "{\\rtf1\\ansi" + highlighter.RtfColorTable + highlighter.RtfDocumentStart;
  rtf += "\\f0 ";
  if (LookColor(look) >= 0) rtf += "\\cf" + std::to_string(LookColor(look)) + " ";
  rtf += LookBold(look) ? "\\b " : "\\b0 ";
  rtf += LookItalic(look) ? "\\i " : "\\i0 ";
  rtf += "x}";
  const RtfDocument doc = ParseRtf(rtf);
  return doc.Formats[doc.FormatOf.at(0)];
}

TRescanResult RescanIntoDocument(TqorRTFSyntax& highlighter, const TDocumentText& text,
                                 TTextChange change, TLineRecord& record, RtfDocument& doc) {
  const TLookResolver resolve = [&highlighter, &doc](TLookId look, std::uint8_t& value) {
    const RtfFormat format = LookFormat(highlighter, look);
    const auto known = std::find(doc.Formats.begin(), doc.Formats.end(), format);
    if (known != doc.Formats.end()) {
      value = static_cast<std::uint8_t>(known - doc.Formats.begin());
      return true;
    }
    if (doc.Formats.size() >= kMaxRtfFormats) return false;
    doc.Formats.push_back(format);
    value = static_cast<std::uint8_t>(doc.Formats.size() - 1);
    return true;
  };
  if (doc.FormatOf.size() != text.Length()) {
    record.Invalidate();
    return TRescanResult{};
  }
  return RescanLines(highlighter, text, change, record, doc.FormatOf.data(), resolve);
}
