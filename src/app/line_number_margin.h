// The editor's line numbers, counted as the status bar and the "Goto " box
// count lines: the first line is 0. Scintilla's own number margin counts from
// 1, so the numbers are drawn over the editor's first margin by this widget,
// for the lines in view only: nothing per key, whatever the document's size.
#pragma once

#include <QList>
#include <QPair>
#include <QPixmap>
#include <QWidget>

class QsciScintilla;

class TLineNumberMargin : public QWidget {
 public:
  explicit TLineNumberMargin(QsciScintilla* editor);

  void SetShown(bool on);
  bool Shown() const { return Shown_; }

  // The numbers in view, each with its line's top in the editor's view.
  QList<QPair<int, int>> NumbersInView() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The margin as wide as the largest number needs.
  void Fit();
  QList<QPair<int, int>> ViewKey() const;

  QsciScintilla* Editor_;
  bool Shown_ = false;
  int Digits_ = 0;
  // The numbers as last drawn, and their picture.
  QList<QPair<int, int>> Drawn_;
  QPixmap Picture_;
};
