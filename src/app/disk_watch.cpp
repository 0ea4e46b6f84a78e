#include "disk_watch.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <algorithm>

#include "dialogs.h"
#include "editor_control.h"
#include "error_guard.h"
#include "main_form.h"
#include "paths.h"

namespace {

constexpr int kPauseMs = 300;

QString ChangedQuestion(const QString& path) {
  return QStringLiteral(
             "The file %1 was changed by another program. Reload it and lose your changes?")
      .arg(path);
}

}  // namespace

TDiskState TDiskState::Of(const QString& path, bool withHash) {
  TDiskState state;
  const QFileInfo info(path);
  if (!info.isFile()) return state;
  state.Exists = true;
  state.Size = info.size();
  state.ModifiedMs = info.lastModified().toMSecsSinceEpoch();
  if (withHash) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    // A file that cannot be read has no hash and so never equals a known one.
    if (file.open(QIODevice::ReadOnly) && hash.addData(&file)) state.Hash = hash.result().toHex();
  }
  return state;
}

QString TDiskState::ToText() const {
  if (!Exists) return QString();
  return QStringLiteral("%1 %2 %3").arg(Size).arg(ModifiedMs).arg(QString::fromLatin1(Hash));
}

TDiskState TDiskState::FromText(const QString& text) {
  TDiskState state;
  const QStringList parts = text.split(QLatin1Char(' '));
  bool sizeOk = false, timeOk = false;
  if (parts.size() != 3) return state;
  state.Size = parts[0].toLongLong(&sizeOk);
  state.ModifiedMs = parts[1].toLongLong(&timeOk);
  state.Hash = parts[2].toLatin1();
  state.Exists = sizeOk && timeOk && !state.Hash.isEmpty();
  return state.Exists ? state : TDiskState();
}

TDiskWatch::TDiskWatch(TMainForm& form, QObject* parent) : QObject(parent), Form_(form) {
  setObjectName(QStringLiteral("DiskWatch"));
  Watcher_ = new QFileSystemWatcher(this);
  Pause_ = new QTimer(this);
  Pause_->setObjectName(QStringLiteral("DiskWatchPause"));
  Pause_->setSingleShot(true);
  Pause_->setInterval(kPauseMs);
  connect(Pause_, &QTimer::timeout, this, Guard([this] { Check(); }));
  // Editors replace a file by writing a new one and renaming it over the old:
  // the file's own watch then ends, and the folder's notice brings it back.
  connect(Watcher_, &QFileSystemWatcher::fileChanged, this, [this] { Pause_->start(); });
  connect(Watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Pause_->start(); });
}

void TDiskWatch::Follow(const QString& path) {
  const QString file = path == QLatin1String("new.htm") ? QString() : path;
  if (file != Path_) {
    if (!Watcher_->files().isEmpty()) Watcher_->removePaths(Watcher_->files());
    if (!Watcher_->directories().isEmpty()) Watcher_->removePaths(Watcher_->directories());
    Path_ = file;
  }
  Known_ = Path_.isEmpty() ? TDiskState() : TDiskState::Of(Path_, true);
  Arm();
}

void TDiskWatch::Adopt(const QString& state) { Known_ = TDiskState::FromText(state); }

void TDiskWatch::Arm() {
  if (Path_.isEmpty()) return;
  const QString folder = paths::FolderPart(Path_);
  if (!folder.isEmpty() && !Watcher_->directories().contains(folder.chopped(1)) &&
      !Watcher_->directories().contains(folder)) {
    Watcher_->addPath(folder);
  }
  if (QFileInfo(Path_).isFile() && !Watcher_->files().contains(Path_)) Watcher_->addPath(Path_);
}

void TDiskWatch::Check() {
  if (Path_.isEmpty()) return;
  Arm();
  // A question or another dialog is open: the document is not changed under it.
  if (Busy_ || QApplication::activeModalWidget() != nullptr) {
    Pause_->start();
    return;
  }
  const TDiskState quick = TDiskState::Of(Path_, false);
  if (quick.SameStamp(Known_)) return;
  const TDiskState now = TDiskState::Of(Path_, true);
  if (now.SameBytes(Known_)) {
    // Touched, or written with the same bytes: nothing the user must hear of.
    Known_ = now;
    return;
  }
  Changed(now);
}

void TDiskWatch::Changed(const TDiskState& now) {
  const QString path = Path_;
  // Taken as known at once: a reload that fails is reported once, not at
  // every later notice, and keeping means the next save writes the editor's
  // text without asking again.
  Known_ = now;
  if (!now.Exists) {
    Form_.SetModifiedFlag(QStringLiteral("1"));
    Form_.ShowStatusNote(
        QStringLiteral("%1 was deleted by another program; the text is kept as unsaved changes")
            .arg(path));
    return;
  }
  if (Form_.ModifiedFlag() != QLatin1String("1")) {
    Reload();
    Form_.ShowStatusNote(
        QStringLiteral("%1 was changed by another program and has been reloaded").arg(path));
    return;
  }
  if (AskReload()) Reload();
}

bool TDiskWatch::AskReload() {
  Busy_ = true;
  const int answer =
      dialogs::Ask(Form_.Window(), QApplication::applicationName(), ChangedQuestion(Path_),
                   {QStringLiteral("Reload"), QStringLiteral("Keep mine")}, 1);
  Busy_ = false;
  return answer == 0;
}

void TDiskWatch::Reload() {
  // Opening the file again, with the user's syntax and caret line kept as far
  // as the new text allows.
  TEditorControl& editor = *Form_.Editor();
  const int line = editor.CaretLine();
  const QString syntax = Form_.SyntaxName();
  Form_.OpenDocument(Path_);
  if (Form_.SyntaxName() != syntax) {
    Form_.SetSyntaxText(syntax);
    Form_.SynlistChange();
    Form_.SetModifiedFlag(QString());
  }
  editor.SetCaretPosition(editor.LineStart(std::min(line, editor.LastLine())));
  editor.ScrollCaretIntoView();
}

bool TDiskWatch::ConfirmSave() {
  if (Path_.isEmpty() || Path_ != Form_.CurFileName()) return true;
  const TDiskState now = TDiskState::Of(Path_, true);
  // A file that is gone, or as the editor left it, is simply written.
  if (!now.Exists || now.SameBytes(Known_)) return true;
  if (!AskReload()) {
    Known_ = now;
    return true;
  }
  Reload();
  return false;
}
