#include "recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <vector>

#include "disk_watch.h"
#include "document_files.h"
#include "editor_control.h"
#include "error_guard.h"
#include "main_form.h"
#include "paths.h"
#include "recovery_copy.h"
#include "recovery_dialog.h"
#include "text_file.h"

namespace {

const QString kCopySuffix = QStringLiteral(".vwr");
const QString kLockSuffix = QStringLiteral(".lock");

std::unique_ptr<QLockFile> MakeLock(const QString& path) {
  auto lock = std::make_unique<QLockFile>(path);
  // Only a lock whose process is gone is stale: a long-running editor keeps
  // its lock however old the file is.
  lock->setStaleLockTime(0);
  return lock;
}

// A copy that a run which is no longer running left behind, with its lock
// held by this run until it is dealt with.
struct TEarlierCopy {
  QString Path;
  RecoveryCopy Copy;
  std::unique_ptr<QLockFile> Lock;
};

std::optional<TEarlierCopy> ReadEarlierCopy(const QString& path) {
  auto lock = MakeLock(path.chopped(kCopySuffix.size()) + kLockSuffix);
  if (!lock->tryLock(0)) return {};  // its editor is still running
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
}

}  // namespace

TRecovery::TRecovery(TMainForm& form, QObject* parent)
    : QObject(parent),
      Form_(form),
      Id_(QStringLiteral("%1-%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QDateTime::currentMSecsSinceEpoch())) {
  setObjectName(QStringLiteral("Recovery"));
  Delay_ = new QTimer(this);
  Delay_->setObjectName(QStringLiteral("RecoveryDelay"));
  Delay_->setSingleShot(true);
  Delay_->setInterval(kDelayMs);
  connect(Delay_, &QTimer::timeout, this, Guard([this] { WriteCopy(); }));
}

TRecovery::~TRecovery() = default;

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

bool TRecovery::WriteCopy() {
  if (Ended_ || Form_.ModifiedFlag() != QLatin1String("1")) return false;
  const QString path = CopyPath();
  QDir().mkpath(paths::RecoveryDir());
  if (!Lock_) {
    auto lock = MakeLock(paths::RecoveryDir() + Id_ + kLockSuffix);
    if (lock->tryLock(0)) Lock_ = std::move(lock);
  }
  RecoveryCopy copy;
  copy.FileName = QFile::encodeName(Form_.CurFileName()).toStdString();
  copy.Syntax = Form_.SyntaxName().toStdString();
  copy.SavedAt = QDateTime::currentSecsSinceEpoch();
  copy.DiskState = Form_.DiskWatch().State().toStdString();
  copy.Text = Form_.Editor()->GetText().toStdString();
  const std::string bytes = FormatRecoveryCopy(copy);
  if (Lock_ && textfile::TryWriteOwnFile(
                   path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())))) {
    return true;
  }
  if (!FailureShown_) {
    FailureShown_ = true;
    Form_.ShowStatusNote(QStringLiteral("Unsaved work cannot be kept for recovery: ") +
                         CannotCreateFile(path).Message);
  }
  return false;
}

void TRecovery::RemoveCopy() {
  if (Lock_) QFile::remove(CopyPath());
}

void TRecovery::EndNormally() {
  Delay_->stop();
  RemoveCopy();
  Lock_.reset();
  Ended_ = true;
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
  QFile::remove(newest->Path);
}
