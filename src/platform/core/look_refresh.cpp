#include "look_refresh.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <typeinfo>

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

bool ScansAsConverted(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return false;
  for (const char* p = text.data(); p != text.data() + text.size();) {
    const auto* end = static_cast<const char*>(
        std::memchr(p, '\n', static_cast<std::size_t>(text.data() + text.size() - p)));
    const char* cr = static_cast<const char*>(std::memchr(
        p, '\r', static_cast<std::size_t>((end != nullptr ? end : text.data() + text.size()) - p)));
    // Up to the next LF, the only CR may be the one right before it.
    if (cr != nullptr && (end == nullptr || cr + 1 != end)) return false;
    if (end == nullptr) break;
    if (end == text.data() || end[-1] != '\r') return false;
    p = end + 1;
  }
  return true;
}

bool BeginUnscanned(const TqorRTFSyntax& highlighter, const TDocumentText& text,
                    TLineRecord& record, TTextChange& change) {
  TScanState initial;
  if (!highlighter.SaveState(initial)) return false;
  record.Begin(typeid(highlighter), initial);
  record.Lines().resize(text.LineCount(), kUnscannedLine);
  change = TTextChange{0, text.Length()};
  return true;
}
