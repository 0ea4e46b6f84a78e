// Quick-code lists in files and in list boxes: reading and writing a list file
// whole, filling a list box from one, and the paths of the lists.
#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>

namespace quickcode {

// The entries of a list file. Throws "Cannot open file %s".
QStringList ReadListFile(const QString& path);
// Writes all entries, each ended by CR LF. Throws "Cannot create file %s"; the
// old file then stays as it was.
void WriteListFile(const QString& path, const QStringList& entries);

// Replaces a list box's entries by a file's; when the file cannot be read the
// box keeps its entries and the error is thrown.
void LoadListBox(QListWidget* list, const QString& path);
QStringList ListBoxEntries(const QListWidget* list);
// The selected entry's text. Throws the list-index error when none is selected.
QString SelectedEntry(const QListWidget* list);

// The shipped default lists, List 1 and List 2.
QString DefaultList1Path();
QString DefaultList2Path();
// Where a new user list of that name is saved: the "qcode" folder + name +
// ".qvu". Throws "Cannot create file %s" naming that path when the name is not
// a plain file name.
QString UserListPath(const QString& name);

}  // namespace quickcode
