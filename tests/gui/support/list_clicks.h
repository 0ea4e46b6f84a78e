// Mouse clicks on the entries of list boxes and file lists, as a user makes
// them: the list must be visible.
#pragma once

#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

// The entry with that text (the first of several), or nullptr.
inline QListWidgetItem* Entry(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

inline bool ClickEntry(QListWidget* list, const QString& text) {
  QListWidgetItem* item = Entry(list, text);
  if (!item) return false;
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
  return true;
}

inline bool DoubleClickEntry(QListWidget* list, const QString& text) {
  if (!ClickEntry(list, text)) return false;
  QListWidgetItem* item = Entry(list, text);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
  return true;
}

// A double-click below the last entry.
inline void DoubleClickEmptyPart(QListWidget* list) {
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                     QPoint(4, list->viewport()->height() - 3));
}

inline bool DoubleClickFolder(QTreeWidget* tree, const QString& text) {
  const QList<QTreeWidgetItem*> found =
      tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  if (found.isEmpty()) return false;
  tree->scrollToItem(found.first());
  const QPoint at = tree->visualItemRect(found.first()).center();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
  return true;
}
