// A page control whose tab captions are drawn in two lines, broken at their
// first blank: a row of long captions shows whole within a narrow window,
// without scrolling the tabs or widening the window. The tab's own text
// stays the caption.
#pragma once

#include <QTabWidget>

class TTwoLineTabs : public QTabWidget {
 public:
  explicit TTwoLineTabs(QWidget* parent = nullptr);

  // The caption as it is drawn: its first blank made a line break.
  static QString Drawn(const QString& caption);
};
