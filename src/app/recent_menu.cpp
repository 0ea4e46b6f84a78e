#include "recent_menu.h"

#include <QFileInfo>
#include <QStyleOptionMenuItem>

#include "error_guard.h"
#include "main_form.h"
#include "recent_files.h"

namespace {

constexpr char kMissing[] = "missing";

}  // namespace

TRecentMenu::TRecentMenu(TMainForm& form, QMenu* file)
    : QMenu(QStringLiteral("Recent Files"), file), Form_(form) {
  setObjectName(QStringLiteral("RecentFiles1"));
  // Files come and go while the program runs: the entries are made anew each
  // time the File menu opens, which also greys the submenu of an empty list.
  connect(file, &QMenu::aboutToShow, this, &TRecentMenu::Rebuild);
  Rebuild();
}

void TRecentMenu::Rebuild() {
  clear();
  for (const QString& path : Form_.RecentFiles().Paths()) {
    // A "&" in a file name is part of the name, not a mnemonic.
    QAction* entry = addAction(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
    entry->setData(path);
    entry->setProperty(kMissing, !QFileInfo::exists(path));
    connect(entry, &QAction::triggered, this, Guard([this, path] { Choose(path); }));
  }
  menuAction()->setEnabled(!Form_.RecentFiles().Paths().isEmpty());
}

void TRecentMenu::Choose(const QString& path) {
  if (!QFileInfo::exists(path)) {
    // The entry goes at the menu's next opening: this one is still being chosen.
    Form_.RecentFiles().Remove(path);
    throw CannotOpenFile(path);
  }
  if (!Form_.SavePrompt()) return;
  Form_.OpenDocument(path);
}

void TRecentMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
  QMenu::initStyleOption(option, action);
  if (action == nullptr || !action->property(kMissing).toBool()) return;
  QPalette& pal = option->palette;
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
      pal.setColor(group, role, pal.color(QPalette::Disabled, role));
    }
  }
}
