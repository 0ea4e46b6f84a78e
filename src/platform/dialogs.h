// Message boxes and standard dialogs go through these wrappers, so tests can
// answer them without a box ever blocking a headless run.
#pragma once

#include <QList>
#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "name_mask.h"

class QFileDialog;
class QWidget;

namespace dialogs {

// A message box with one OK button. Tests install a hook that records
// (caption, text) instead of showing the box.
using MessageHook = std::function<void(const QString& caption, const QString& text)>;
MessageHook SetMessageHook(MessageHook hook);
void Warning(QWidget* parent, const QString& caption, const QString& text);
void Information(QWidget* parent, const QString& caption, const QString& text);

// A question answered by one of its own buttons (each named after its caption,
// so tests find it), the default one taking Return. The index of the button
// chosen, or -1 when the box was closed without an answer.
int Ask(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
        int defaultButton);

// A file-open or file-save dialog as the document actions ask for it.
struct FileDialogRequest {
  bool Save = false;
  // "description|pattern;pattern|description|..."; the first entry is selected.
  QString Filter;
  QString InitialFolder;
  // Patterns such as "*.htm;*.html": a name typed without an extension gets
  // the first one's.
  QString DefaultExt;
};

struct FileFilterEntry {
  QString Description;  // shown as given
  QString Patterns;     // "*.php;*.php?", matched by NameMask
};
QList<FileFilterEntry> ParseFilter(const QString& filter);

// The chosen path, or an empty string when the user cancelled. The save
// dialog never asks before overwriting a file.
QString AskFileName(QWidget* parent, const FileDialogRequest& request);

// The dialog AskFileName shows (not yet shown). The platform's native dialogs
// cannot filter with our patterns, so this is Qt's own dialog with a filter
// model in front of its file list.
std::unique_ptr<QFileDialog> CreateFileDialog(QWidget* parent, const FileDialogRequest& request);

// Shows the files whose names match a mask, and every folder.
class TNameMaskFilterModel : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;
  void SetMask(const QString& patterns);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  NameMask Mask_{"*"};
};

// Tests answer the next file dialogs without one being shown: each queued
// answer is a path, or an empty string for Cancel. The requests that were
// answered are kept for the test to inspect.
void QueueFileDialogAnswer(const QString& path);
QList<FileDialogRequest> TakeFileDialogRequests();
void ClearFileDialogAnswers();

}  // namespace dialogs
