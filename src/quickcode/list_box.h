// A list box that reports every double-click in it, also one on its empty
// part, so a handler can tell "no entry selected" apart.
#pragma once

#include <QListWidget>

class TListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit TListBox(QWidget* parent = nullptr);

 signals:
  void DblClick();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};
