#include "dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QQueue>
#include <algorithm>

namespace dialogs {
namespace {

MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  if (Hook()) {
    Hook()(caption, text);
    return;
  }
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

struct FileDialogAnswers {
  QQueue<QString> Answers;
  QList<FileDialogRequest> Requests;
};

FileDialogAnswers& Answers() {
  static FileDialogAnswers answers;
  return answers;
}

std::string NameBytes(const QString& name) { return QFile::encodeName(name).toStdString(); }

// The file dialog filters file names itself by patterns it reads out of the
// description; here the filter model does that with our own patterns, so the
// file system model is told to let every name through.
void ShowEveryName(TNameMaskFilterModel* filter) {
  if (auto* files = qobject_cast<QFileSystemModel*>(filter->sourceModel())) {
    files->setNameFilters({});
  }
}

// The open dialog adds the default extension only to a name that does not
// exist as typed, so a file without an extension ("README") can be opened.
class TOpenFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QString suffix = defaultSuffix();
    setDefaultSuffix(QString());
    const QStringList asTyped = selectedFiles();
    const bool exist =
        !asTyped.isEmpty() && std::all_of(asTyped.begin(), asTyped.end(),
                                          [](const QString& f) { return QFileInfo::exists(f); });
    if (!exist) setDefaultSuffix(suffix);
    QFileDialog::accept();
    // Refused (no such file): the next name typed gets the extension again.
    if (result() != QDialog::Accepted) setDefaultSuffix(suffix);
  }
};

// Icons and type names by the entry's kind and name alone. The stock provider
// reads a file whose name says nothing to learn its type, which never ends on
// a FIFO or on a file such as /proc/kmsg, and then holds the dialog, and the
// whole program with it, for good.
class TNameOnlyIconProvider : public QFileIconProvider {
 public:
  TNameOnlyIconProvider() { setOptions(DontUseCustomDirectoryIcons); }

  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override {
    if (info.isRoot()) return icon(Drive);
    return icon(info.isDir() ? Folder : File);
  }

  QString type(const QFileInfo& info) const override {
    if (info.isRoot()) return QStringLiteral("Drive");
    if (info.isDir()) return QStringLiteral("Folder");
    const QMimeType mime = Mimes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
  }

 private:
  QMimeDatabase Mimes_;
};

// Keeps a dialog's provider alive as long as the dialog: made after the
// dialog's own file model, it is destroyed after it too.
class TIconProviderHolder : public QObject {
 public:
  using QObject::QObject;
  TNameOnlyIconProvider Provider;
};

}  // namespace

MessageHook SetMessageHook(MessageHook hook) {
  MessageHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

void Warning(QWidget* parent, const QString& caption, const QString& text) {
  Show(parent, QMessageBox::Warning, caption, text);
}

void Information(QWidget* parent, const QString& caption, const QString& text) {
  Show(parent, QMessageBox::Information, caption, text);
}

int Ask(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
        int defaultButton) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
  QList<QAbstractButton*> added;
  for (const QString& label : buttons) {
    QPushButton* button = box.addButton(label, QMessageBox::ActionRole);
    button->setObjectName(label);
    added.append(button);
  }
  if (defaultButton >= 0 && defaultButton < added.size()) {
    box.setDefaultButton(qobject_cast<QPushButton*>(added[defaultButton]));
  }
  box.exec();
  return static_cast<int>(added.indexOf(box.clickedButton()));
}

QList<FileFilterEntry> ParseFilter(const QString& filter) {
  QList<FileFilterEntry> entries;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries.append({parts[i], parts[i + 1]});
  return entries;
}

void TNameMaskFilterModel::SetMask(const QString& patterns) {
  Mask_ = NameMask(NameBytes(patterns));
  invalidateFilter();
}

bool TNameMaskFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
  if (auto* files = qobject_cast<QFileSystemModel*>(sourceModel())) {
    return files->isDir(index) || Mask_.Matches(NameBytes(files->fileName(index)));
  }
  return sourceModel()->hasChildren(index) || Mask_.Matches(NameBytes(index.data().toString()));
}

std::unique_ptr<QFileDialog> CreateFileDialog(QWidget* parent, const FileDialogRequest& request) {
  std::unique_ptr<QFileDialog> dialog = request.Save ? std::make_unique<QFileDialog>(parent)
                                                     : std::make_unique<TOpenFileDialog>(parent);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::DontUseCustomDirectoryIcons);
  auto* icons = new TIconProviderHolder(dialog.get());
  dialog->setIconProvider(&icons->Provider);
  if (request.Save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  }
  dialog->setDirectory(request.InitialFolder);
  const QString firstDefault = request.DefaultExt.section(QLatin1Char(';'), 0, 0);
  const qsizetype dot = firstDefault.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0 && !firstDefault.contains(QLatin1Char('?'))) {
    dialog->setDefaultSuffix(firstDefault.mid(dot + 1));
  }

  const QList<FileFilterEntry> entries = ParseFilter(request.Filter);
  QStringList descriptions;
  for (const FileFilterEntry& e : entries) descriptions << e.Description;
  auto* filter = new TNameMaskFilterModel(dialog.get());
  dialog->setProxyModel(filter);
  if (!entries.isEmpty()) {
    dialog->setNameFilters(descriptions);
    dialog->selectNameFilter(descriptions.first());
    filter->SetMask(entries.first().Patterns);
  }
  ShowEveryName(filter);
  QObject::connect(dialog.get(), &QFileDialog::filterSelected, filter,
                   [filter, entries, descriptions](const QString& chosen) {
                     const qsizetype i = descriptions.indexOf(chosen);
                     if (i >= 0) filter->SetMask(entries[i].Patterns);
                     ShowEveryName(filter);
                   });
  return dialog;
}

QString AskFileName(QWidget* parent, const FileDialogRequest& request) {
  FileDialogAnswers& answers = Answers();
  if (!answers.Answers.isEmpty()) {
    answers.Requests.append(request);
    return answers.Answers.dequeue();
  }
  std::unique_ptr<QFileDialog> dialog = CreateFileDialog(parent, request);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return QString();
  return dialog->selectedFiles().first();
}

void QueueFileDialogAnswer(const QString& path) { Answers().Answers.enqueue(path); }

QList<FileDialogRequest> TakeFileDialogRequests() {
  QList<FileDialogRequest> requests;
  requests.swap(Answers().Requests);
  return requests;
}

void ClearFileDialogAnswers() {
  Answers().Answers.clear();
  Answers().Requests.clear();
}

}  // namespace dialogs
