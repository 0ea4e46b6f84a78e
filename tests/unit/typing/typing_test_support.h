// Shared helpers of the typing tests: a document written with "|" for the
// caret and "\n" for its line breaks (made CR LF, as the editor keeps them),
// and the hint the colouring's own scanner gives at the caret, taken from the
// line state a whole conversion records, as the editor takes it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "highlighter_factory.h"
#include "line_record.h"
#include "markup_context.h"
#include "text_source.h"

namespace typing_test {

struct TDoc {
  std::string Text;
  std::size_t Caret = 0;
};

inline TDoc Doc(const std::string& marked) {
  TDoc doc;
  for (char c : marked) {
    if (c == '|') {
      doc.Caret = doc.Text.size();
    } else if (c == '\n') {
      doc.Text += "\r\n";
    } else {
      doc.Text += c;
    }
  }
  return doc;
}

// The syntax's flavour of markup, as the editor reads it.
inline TMarkupFlavour FlavourOf(const std::string& syntax) {
  if (syntax == "XML") return TMarkupFlavour::Xml;
  if (syntax == "JAVA SCRIPT" || syntax == "SQL" || syntax == "DELPHI SCRIPT") {
    return TMarkupFlavour::None;
  }
  return TMarkupFlavour::Html;
}

// The scanner's state at the caret: the whole text converted with its line
// starts recorded, then a fresh scanner resumed at the caret line's start.
inline THint HintAt(const std::string& syntax, const TDoc& doc) {
  HighlighterChoice whole = CreateHighlighter(syntax);
  TLineRecord record;
  whole.Highlighter->RecordLines(record);
  whole.Highlighter->SetText(doc.Text.c_str());
  whole.Highlighter->ConvertToRtfString();
  EXPECT_TRUE(record.Valid());
  std::size_t line = 0;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i + 2 <= doc.Caret; ++i) {
    if (doc.Text.compare(i, 2, "\r\n") == 0) {
      ++line;
      lineStart = i + 2;
    }
  }
  EXPECT_LT(line, record.Lines().size());
  HighlighterChoice fresh = CreateHighlighter(syntax);
  return ScannerHint(*fresh.Highlighter, LineState(record.Lines()[line]),
                     std::string_view(doc.Text).substr(lineStart, doc.Caret - lineStart));
}

// A document, its reader and its markup reader in one place.
struct TReading {
  explicit TReading(const std::string& text, TMarkupFlavour flavour,
                    std::vector<std::uint8_t> styles = {})
      : Source(text, std::move(styles)), Text(Source), Markup(Text, flavour) {}
  TStringSource Source;
  TTextReader Text;
  TMarkupReader Markup;
};

}  // namespace typing_test
