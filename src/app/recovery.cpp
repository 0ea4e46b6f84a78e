#include "recovery.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "disk_watch.h"
#include "document_files.h"
#include "editor_control.h"
#include "error_guard.h"
#include "file_io.h"
#include "main_form.h"
#include "paths.h"
#include "recovery_copy.h"
#include "recovery_dialog.h"
#include "text_file.h"

namespace {

const QString kCopySuffix = QStringLiteral(".vwr");
const QString kLockSuffix = QStringLiteral(".lock");
// Beside a copy that could be neither removed nor emptied: it has been dealt with.
const QString kDoneSuffix = QStringLiteral(".done");

const QString kNotKept = QStringLiteral("Unsaved work cannot be kept for recovery: ");

QString Base(const QString& copyPath) { return copyPath.chopped(kCopySuffix.size()); }

std::unique_ptr<QLockFile> MakeLock(const QString& path) {
  auto lock = std::make_unique<QLockFile>(path);
  // Only a lock whose process is gone is stale: a long-running editor keeps
  // its lock however old the file is.
  lock->setStaleLockTime(0);
  return lock;
}

// Why a lock file could not be made. The lock names no system error: making
// the file once more, as the lock does first, tells which.
QString LockFailure(const QLockFile& lock, const QString& path) {
  if (lock.error() == QLockFile::LockFailedError) {
    return QStringLiteral("Held by another program");
  }
  const QByteArray name = QFile::encodeName(path);
  const int fd =
      ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return QString::fromLocal8Bit(fileio::SystemReason(errno));
  ::close(fd);
  ::unlink(name.constData());
  return QStringLiteral("The lock file could not be written");
}

// A copy that a run which is no longer running left behind, with its lock
// held by this run until it is dealt with.
struct TEarlierCopy {
  QString Path;
  RecoveryCopy Copy;
  std::unique_ptr<QLockFile> Lock;
};

std::optional<TEarlierCopy> ReadEarlierCopy(const QString& path) {
  auto lock = MakeLock(Base(path) + kLockSuffix);
  if (!lock->tryLock(0)) return {};  // its editor is still running
  if (QFile::exists(Base(path) + kDoneSuffix)) {
    // Answered at an earlier start, but it could not be removed then.
    if (textfile::RemoveFile(path).isEmpty()) textfile::RemoveFile(Base(path) + kDoneSuffix);
    return {};
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  std::optional<RecoveryCopy> copy =
      ParseRecoveryCopy(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  if (!copy) return {};
  return TEarlierCopy{path, std::move(*copy), std::move(lock)};
}

// Locks of runs that ended without a copy are swept away; live ones stay.
void SweepStaleLocks(const QDir& dir) {
  for (const QString& name : dir.entryList({QStringLiteral("*") + kLockSuffix}, QDir::Files)) {
    const QString base = dir.filePath(name).chopped(kLockSuffix.size());
    if (QFile::exists(base + kCopySuffix)) continue;
    auto lock = MakeLock(dir.filePath(name));
    if (lock->tryLock(0)) lock->unlock();
  }
  for (const QString& name : dir.entryList({QStringLiteral("*") + kDoneSuffix}, QDir::Files)) {
    const QString base = dir.filePath(name).chopped(kDoneSuffix.size());
    if (!QFile::exists(base + kCopySuffix)) textfile::RemoveFile(dir.filePath(name));
  }
}

// The worker's work waits for the user's: on a machine with few cores it
// never takes one from typing.
void LowerPriority() { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); }

// Room for the header (file name, syntax, time, disk state) and for the text
// to grow by while the memory is made ready.
std::size_t CapacityFor(std::size_t length) { return length + length / 16 + (64 << 10); }

}  // namespace

TRecovery::TRecovery(TMainForm& form, QObject* parent) : QObject(parent), Form_(form) {
  static int instances = 0;
  Id_ = QStringLiteral("%1-%2-%3")
            .arg(QCoreApplication::applicationPid())
            .arg(QDateTime::currentMSecsSinceEpoch())
            .arg(++instances);
  setObjectName(QStringLiteral("Recovery"));
  Delay_ = new QTimer(this);
  Delay_->setObjectName(QStringLiteral("RecoveryDelay"));
  Delay_->setSingleShot(true);
  Delay_->setInterval(kDelayMs);
  connect(Delay_, &QTimer::timeout, this, Guard([this] { StartCopy(); }));
}

TRecovery::~TRecovery() {
  if (Preparing_.valid()) Preparing_.wait();
  if (Writing_.valid()) Writing_.wait();
}

QString TRecovery::CopyPath() const { return paths::RecoveryDir() + Id_ + kCopySuffix; }

void TRecovery::FlagChanged() {
  if (Ended_) return;
  if (Form_.ModifiedFlag() == QLatin1String("1")) {
    // Not restarted by every keystroke: a user who never pauses still gets a copy.
    if (!Delay_->isActive()) Delay_->start();
  } else {
    Delay_->stop();
    RemoveCopy();
  }
}

void TRecovery::Note(const QString& note) {
  if (Noted_.contains(note)) return;
  Noted_.insert(note);
  Form_.ShowStatusNote(note);
}

bool TRecovery::PrepareFolder() {
  const QString folder = paths::RecoveryDir();
  std::error_code error;
  std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
  if (error) {
    Note(kNotKept + WithReason(QStringLiteral("Cannot create folder %1").arg(folder),
                               QString::fromLocal8Bit(error.message().c_str())));
    return false;
  }
  if (!Lock_) {
    const QString path = folder + Id_ + kLockSuffix;
    auto lock = MakeLock(path);
    if (!lock->tryLock(0)) {
      Note(kNotKept +
           WithReason(QStringLiteral("Cannot lock %1").arg(path), LockFailure(*lock, path)));
      return false;
    }
    Lock_ = std::move(lock);
  }
  return true;
}

bool TRecovery::StartCopy() {
  if (Ended_ || Form_.ModifiedFlag() != QLatin1String("1")) return false;
  if (CopyPending()) {
    Again_ = true;
    return true;
  }
  if (!PrepareFolder()) return false;
  LastWritten_ = false;
  Prepare(CapacityFor(static_cast<std::size_t>(Form_.Editor()->Length())));
  return true;
}

void TRecovery::Notify(quint64 generation, void (TRecovery::*step)()) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, step] {
        if (generation == Generation_) (this->*step)();
      },
      Qt::QueuedConnection);
}

void TRecovery::Prepare(std::size_t capacity) {
  const quint64 generation = ++Generation_;
  Preparing_ = std::async(std::launch::async, [this, generation, capacity] {
    LowerPriority();
    TBuffer buffer;
    buffer.Bytes.reset(new char[capacity]);
    buffer.Capacity = capacity;
    std::memset(buffer.Bytes.get(), 0, capacity);
    Notify(generation, &TRecovery::Continue);
    return buffer;
  });
}

void TRecovery::Continue() {
  if (!Preparing_.valid()) return;
  TBuffer buffer = Preparing_.get();
  // Saved, replaced or closed meanwhile: no copy is wanted any more.
  if (Ended_ || Form_.ModifiedFlag() != QLatin1String("1")) {
    Again_ = false;
    return;
  }
  RecoveryCopy fields;
  fields.FileName = QFile::encodeName(Form_.CurFileName()).toStdString();
  fields.Syntax = Form_.SyntaxName().toStdString();
  fields.SavedAt = QDateTime::currentSecsSinceEpoch();
  fields.DiskState = Form_.DiskWatch().State().toStdString();
  TEditorControl* editor = Form_.Editor();
  const long length = editor->Length();
  const std::string head = FormatRecoveryCopyHead(fields, static_cast<std::size_t>(length));
  buffer.Size = head.size() + static_cast<std::size_t>(length) + 1;
  if (buffer.Size > buffer.Capacity) {
    // The text outgrew the memory while it was made ready (a large paste).
    Prepare(CapacityFor(buffer.Size));
    return;
  }
  std::memcpy(buffer.Bytes.get(), head.data(), head.size());
  // Both parts of the editor's buffer as they lie, with a NUL after them: the
  // gap stays where the user types, where a pointer to the whole text would
  // move it away now and back at the next key.
  editor->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, 0L, length,
                        buffer.Bytes.get() + head.size());
  buffer.Bytes[buffer.Size - 1] = '\n';

  const quint64 generation = ++Generation_;
  Writing_ = std::async(std::launch::async, [this, generation, path = CopyPath(),
                                             buffer = std::move(buffer)]() mutable {
    LowerPriority();
    TOutcome outcome;
    outcome.Written = textfile::TryWriteOwnFile(
        path, std::string_view(buffer.Bytes.get(), buffer.Size), &outcome.Reason);
    buffer.Bytes.reset();
    Notify(generation, &TRecovery::Finish);
    return outcome;
  });
  emit SnapshotTaken();
}

void TRecovery::Finish() {
  if (!Writing_.valid()) return;
  const TOutcome outcome = Writing_.get();
  LastWritten_ = outcome.Written;
  if (!outcome.Written) {
    Note(kNotKept + WithReason(CannotCreateFile(CopyPath()).Message, outcome.Reason));
  } else if (std::exchange(Marked_, false)) {
    // This run's earlier copy was marked as dealt with; this one is not.
    textfile::RemoveFile(Base(CopyPath()) + kDoneSuffix);
  }
  emit CopyFinished(outcome.Written);
  if (std::exchange(Again_, false)) StartCopy();
}

void TRecovery::WaitForCopy() {
  for (;;) {
    if (Preparing_.valid()) {
      Continue();
    } else if (Writing_.valid()) {
      Finish();
    } else {
      return;
    }
  }
}

bool TRecovery::CopyPending() const { return Preparing_.valid() || Writing_.valid(); }

bool TRecovery::WriteCopy() {
  WaitForCopy();
  if (!StartCopy()) return false;
  WaitForCopy();
  return LastWritten_;
}

void TRecovery::Remove(const QString& copyPath) {
  const QString reason = textfile::RemoveFile(copyPath);
  if (reason.isEmpty()) return;
  Note(WithReason(QStringLiteral("Cannot remove the recovery copy %1").arg(copyPath), reason));
  // A file that is not a whole copy is never offered; a mark beside it says
  // the same where the file cannot even be emptied.
  if (textfile::EmptyFile(copyPath).isEmpty()) return;
  if (textfile::TryWriteOwnFile(Base(copyPath) + kDoneSuffix, QByteArray()) &&
      copyPath == CopyPath()) {
    Marked_ = true;
  }
}

void TRecovery::RemoveCopy() {
  // A copy still being written would otherwise land after its removal.
  Again_ = false;
  WaitForCopy();
  if (Lock_) Remove(CopyPath());
}

void TRecovery::EndNormally() {
  Ended_ = true;
  Delay_->stop();
  RemoveCopy();
  Lock_.reset();
}

void TRecovery::OfferEarlierWork() {
  const QDir dir(paths::RecoveryDir());
  if (!dir.exists()) return;
  std::vector<TEarlierCopy> copies;
  for (const QString& name : dir.entryList({QStringLiteral("*") + kCopySuffix}, QDir::Files)) {
    if (name == Id_ + kCopySuffix) continue;
    if (auto copy = ReadEarlierCopy(dir.filePath(name))) copies.push_back(std::move(*copy));
  }
  SweepStaleLocks(dir);
  if (copies.empty()) return;
  // One document at a time: the newest is offered, any other waits for the next start.
  auto newest = std::max_element(copies.begin(), copies.end(), [](const auto& a, const auto& b) {
    return a.Copy.SavedAt < b.Copy.SavedAt;
  });
  const QString fileName = QFile::decodeName(QByteArray::fromStdString(newest->Copy.FileName));
  const recovery::TAnswer answer = recovery::AskRecover(
      Form_.Window(), fileName, QDateTime::fromSecsSinceEpoch(newest->Copy.SavedAt));
  if (answer == recovery::TAnswer::Later) return;
  if (answer == recovery::TAnswer::Restore) {
    if (!Form_.SavePrompt()) return;
    documents::Restore(Form_, fileName, QString::fromStdString(newest->Copy.Syntax),
                       QByteArray::fromStdString(newest->Copy.Text),
                       QString::fromStdString(newest->Copy.DiskState));
    // The restored work is this run's now: the old copy goes only once this
    // run's copy of it is written.
    Delay_->stop();
    if (!WriteCopy()) return;
  }
  Remove(newest->Path);
}
