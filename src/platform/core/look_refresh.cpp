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

TRescanResult RescanIntoLooks(TqorRTFSyntax& highlighter, const TDocumentText& text,
                              TTextChange change, TLineRecord& record,
                              std::vector<RtfFormat>& formats, std::uint8_t* formatOf,
                              std::size_t size, std::size_t pauseAfter) {
  const TLookResolver resolve = [&highlighter, &formats](TLookId look, std::uint8_t& value) {
    const RtfFormat format = LookFormat(highlighter, look);
    const auto known = std::find(formats.begin(), formats.end(), format);
    if (known != formats.end()) {
      value = static_cast<std::uint8_t>(known - formats.begin());
      return true;
    }
    if (formats.size() >= kMaxRtfFormats) return false;
    formats.push_back(format);
    value = static_cast<std::uint8_t>(formats.size() - 1);
    return true;
  };
  if (size != text.Length()) {
    record.Invalidate();
    return TRescanResult{};
  }
  return RescanLines(highlighter, text, change, record, formatOf, resolve, pauseAfter);
}

TRescanResult RescanIntoDocument(TqorRTFSyntax& highlighter, const TDocumentText& text,
                                 TTextChange change, TLineRecord& record, RtfDocument& doc,
                                 std::size_t pauseAfter) {
  return RescanIntoLooks(highlighter, text, change, record, doc.Formats, doc.FormatOf.data(),
                         doc.FormatOf.size(), pauseAfter);
}
