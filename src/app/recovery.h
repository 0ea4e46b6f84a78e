// Unsaved work survives a run that ends without closing: while the document
// is modified, a copy of it (its text, file name and syntax) is kept in the
// shared folder's "vexapro/recovery/", written a short while after a change;
// the next start offers a copy that a run which did not close left behind.
//
// The user-interface thread only copies the text into memory that a worker
// thread made ready (one pass over the bytes, without moving the editor's
// gap); the worker writes that snapshot and makes it safe on disk, so typing
// never waits for the disk. The snapshot is whole, so the copy on disk is
// always a text the document really held. A journal of the edits since the
// last whole copy would spare even that pass, but needs every insert and
// delete reported to it as it happens, and a reader that replays them.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <future>
#include <memory>

class QLockFile;
class QTimer;
class TMainForm;

class TRecovery : public QObject {
  Q_OBJECT

 public:
  TRecovery(TMainForm& form, QObject* parent);
  ~TRecovery() override;  // waits for a copy being written

  // The modified flag was written: a modified document gets its copy within
  // kDelayMs, however fast the user types; any other state needs none.
  void FlagChanged();
  // The timer's work: has the worker make memory ready for the modified
  // document, copies the text into it and has the worker write it. A copy
  // asked for while one is under way is taken when that one is done. False
  // when no copy was needed or possible.
  bool StartCopy();
  // Writes the copy of the modified document now and waits for it. True when
  // the copy was written.
  bool WriteCopy();
  // Waits until the copy under way, if any, is written or failed.
  void WaitForCopy();
  bool CopyPending() const;
  // A normal close: no copy of this run stays behind.
  void EndNormally();
  // After start-up: offers the newest copy of a run that ended without
  // closing; "Restore" makes it the document, "Discard" removes it.
  void OfferEarlierWork();

  QString CopyPath() const;  // this run's copy
  static constexpr int kDelayMs = 2000;

 signals:
  // The copy's text is taken; the worker writes it now.
  void SnapshotTaken();
  // A copy has been written (or failed); its failure is in the status bar.
  void CopyFinished(bool written);

 private:
  // Memory for one copy, made ready on the worker: its pages are touched
  // there, so the user-interface thread's pass over them meets no page faults.
  struct TBuffer {
    std::unique_ptr<char[]> Bytes;
    std::size_t Capacity = 0;
    std::size_t Size = 0;
  };
  struct TOutcome {
    bool Written = false;
    QString Reason;
  };

  // The folder and this run's lock: false, with the failure noted, when the
  // copy cannot be kept.
  bool PrepareFolder();
  void Prepare(std::size_t capacity);
  // On the user-interface thread, once the worker made the memory ready: the
  // snapshot, and its write on the worker.
  void Continue();
  void Finish();  // on the user-interface thread, once a write is done
  // Runs `step` on the user-interface thread when the worker's current task
  // has ended (a notice of an older task is stale and dropped).
  void Notify(quint64 generation, void (TRecovery::*step)());
  void RemoveCopy();
  // A copy that cannot be removed is never offered again: emptied where it
  // lies or, where it cannot be written either, marked as dealt with.
  void Remove(const QString& copyPath);
  // A failure is shown in the status bar once in a run, with its reason.
  void Note(const QString& note);

  TMainForm& Form_;
  QTimer* Delay_ = nullptr;
  // Held while this run has a copy, so another running editor never takes
  // this run's copy for one left behind.
  std::unique_ptr<QLockFile> Lock_;
  QString Id_;
  QSet<QString> Noted_;
  std::future<TBuffer> Preparing_;
  std::future<TOutcome> Writing_;
  quint64 Generation_ = 0;  // of the worker's current task: older notices are stale
  bool LastWritten_ = false;
  bool Again_ = false;   // a copy was asked for while one was being written
  bool Marked_ = false;  // this run's copy is marked as dealt with (kept from offers)
  bool Ended_ = false;
};
