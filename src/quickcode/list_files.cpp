#include "list_files.h"

#include "code_page.h"
#include "paths.h"
#include "quick_code_list.h"
#include "text_file.h"
#include "vexa_error.h"

namespace quickcode {

QStringList ReadListFile(const QString& path) {
  const QByteArray bytes = textfile::ReadBytes(path);
  QStringList entries;
  for (const std::string& entry : ParseList(std::string_view(bytes.constData(), bytes.size()))) {
    entries << codepage::ToUnicode(entry);
  }
  return entries;
}

void WriteListFile(const QString& path, const QStringList& entries) {
  std::vector<std::string> bytes;
  bytes.reserve(static_cast<size_t>(entries.size()));
  for (const QString& entry : entries) bytes.push_back(codepage::FromUnicode(entry));
  const std::string content = FormatList(bytes);
  textfile::WriteOwnFile(path, QByteArray(content.data(), static_cast<qsizetype>(content.size())));
}

void LoadListBox(QListWidget* list, const QString& path) {
  const QStringList entries = ReadListFile(path);
  list->clear();
  list->addItems(entries);
}

QStringList ListBoxEntries(const QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

QString SelectedEntry(const QListWidget* list) {
  const QList<QListWidgetItem*> items = list->selectedItems();
  if (items.isEmpty()) throw VexaError(QStringLiteral("List index out of bounds (-1)"));
  return items.first()->text();
}

QString DefaultList1Path() { return paths::QuickCodeDir() + QStringLiteral("html1.qvw"); }
QString DefaultList2Path() { return paths::QuickCodeDir() + QStringLiteral("html2.qvw"); }

QString UserListPath(const QString& name) {
  const QString path = paths::QuickCodeDir() + name + QStringLiteral(".qvu");
  if (!paths::IsPlainName(name)) throw CannotCreateFile(path);
  return path;
}

}  // namespace quickcode
