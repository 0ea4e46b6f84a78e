#include "check_marks.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace {

const QColor kErrorColour(0xD0, 0x10, 0x10);
const QColor kWarningColour(0xE0, 0x90, 0x00);
const QColor kNoteColour(0x20, 0x60, 0xC0);
constexpr int kMarginWidth = 14;

}  // namespace

TCheckMarks::TCheckMarks(QsciScintilla* editor) : Editor_(editor) {
  const struct {
    int Marker;
    QsciScintilla::MarkerSymbol Symbol;
    QColor Colour;
  } markers[] = {{kErrorMarker, QsciScintilla::Circle, kErrorColour},
                 {kWarningMarker, QsciScintilla::RightTriangle, kWarningColour},
                 {kNoteMarker, QsciScintilla::SmallRectangle, kNoteColour}};
  for (const auto& m : markers) {
    Editor_->markerDefine(m.Symbol, m.Marker);
    Editor_->setMarkerBackgroundColor(m.Colour, m.Marker);
    Editor_->setMarkerForegroundColor(m.Colour, m.Marker);
  }
  Editor_->setMarginType(kMargin, QsciScintilla::SymbolMargin);
  Editor_->setMarginMarkerMask(kMargin,
                               (1 << kErrorMarker) | (1 << kWarningMarker) | (1 << kNoteMarker));
  for (const auto& [indicator, colour] :
       {std::pair{kErrorIndicator, kErrorColour}, std::pair{kWarningIndicator, kWarningColour}}) {
    Editor_->indicatorDefine(QsciScintilla::SquigglePixmapIndicator, indicator);
    Editor_->setIndicatorForegroundColor(colour, indicator);
  }
}

void TCheckMarks::Clear() {
  for (const int marker : {kErrorMarker, kWarningMarker, kNoteMarker}) {
    Editor_->markerDeleteAll(marker);
  }
  const long length = Editor_->SendScintilla(QsciScintilla::SCI_GETLENGTH);
  for (const int indicator : {kErrorIndicator, kWarningIndicator}) {
    Editor_->SendScintilla(QsciScintilla::SCI_SETINDICATORCURRENT, indicator);
    Editor_->SendScintilla(QsciScintilla::SCI_INDICATORCLEARRANGE, 0UL, length);
  }
  if (Shown_) {
    Editor_->setMarginWidth(kMargin, 0);
    Shown_ = false;
  }
}

void TCheckMarks::Add(check::TSeverity severity, std::size_t position, std::size_t length) {
  if (!Shown_) {
    Editor_->setMarginWidth(kMargin, kMarginWidth);
    Shown_ = true;
  }
  const auto size = static_cast<std::size_t>(Editor_->SendScintilla(QsciScintilla::SCI_GETLENGTH));
  position = std::min(position, size);
  length = std::min(length, size - position);
  const long line = Editor_->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION,
                                           static_cast<unsigned long>(position));
  const int marker = severity == check::TSeverity::Error     ? kErrorMarker
                     : severity == check::TSeverity::Warning ? kWarningMarker
                                                             : kNoteMarker;
  // One symbol a line, the gravest: symbols drawn on one line hide each other.
  const unsigned present = Editor_->markersAtLine(static_cast<int>(line));
  if ((present & ((1u << (marker + 1)) - 1) & ~((1u << kErrorMarker) - 1)) == 0) {
    for (int lighter = marker + 1; lighter <= kNoteMarker; ++lighter) {
      if (present & (1u << lighter)) Editor_->markerDelete(static_cast<int>(line), lighter);
    }
    Editor_->markerAdd(static_cast<int>(line), marker);
  }
  if (severity == check::TSeverity::Info || length == 0) return;
  Editor_->SendScintilla(QsciScintilla::SCI_SETINDICATORCURRENT,
                         severity == check::TSeverity::Error ? kErrorIndicator : kWarningIndicator);
  Editor_->SendScintilla(QsciScintilla::SCI_INDICATORFILLRANGE,
                         static_cast<unsigned long>(position), static_cast<long>(length));
}
