// The marks Check Page leaves in the editor: a symbol in margin 1 (markers
// 20, 21 and 22 for an error, a warning and a note) and a squiggle under the
// place (indicator 10 for an error, 11 for a warning). The editor moves both
// with the text as it is edited.
#pragma once

#include <cstddef>

#include "check_problem.h"

class QsciScintilla;

class TCheckMarks {
 public:
  static constexpr int kMargin = 1;
  static constexpr int kErrorMarker = 20;
  static constexpr int kWarningMarker = 21;
  static constexpr int kNoteMarker = 22;
  static constexpr int kErrorIndicator = 10;
  static constexpr int kWarningIndicator = 11;

  // Defines the markers and indicators; the margin stays hidden until a mark
  // is added.
  explicit TCheckMarks(QsciScintilla* editor);

  void Clear();
  // A problem at a byte position of the editor's text as it is now.
  void Add(check::TSeverity severity, std::size_t position, std::size_t length);

 private:
  QsciScintilla* Editor_;
  bool Shown_ = false;
};
