// The File menu's "Recent Files": one entry per recent document, a missing
// file greyed. Choosing one asks to save the current document and opens it;
// choosing a missing one takes it off the list and says it cannot be opened.
#pragma once

#include <QMenu>

class TMainForm;

class TRecentMenu : public QMenu {
  Q_OBJECT

 public:
  TRecentMenu(TMainForm& form, QMenu* file);

  // The entries as the list holds them now.
  void Rebuild();
  void Choose(const QString& path);

  // A missing file stays choosable (choosing removes it) but looks disabled.
  void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

 private:
  TMainForm& Form_;
};
