// Unsaved work survives a run that ends without closing: while the document
// is modified, a copy of it (its text, file name and syntax) is kept in the
// shared folder's "vexapro/recovery/", written a short while after a change;
// the next start offers a copy that a run which did not close left behind.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QTimer;
class TMainForm;

class TRecovery : public QObject {
  Q_OBJECT

 public:
  TRecovery(TMainForm& form, QObject* parent);
  ~TRecovery() override;

  // The modified flag was written: a modified document gets its copy within
  // kDelayMs, however fast the user types; any other state needs none.
  void FlagChanged();
  // Writes the copy of the modified document now (the timer's work). A copy
  // that cannot be written never stops the user: the status bar says why,
  // once in a run. True when the copy was written.
  bool WriteCopy();
  // A normal close: no copy of this run stays behind.
  void EndNormally();
  // After start-up: offers the newest copy of a run that ended without
  // closing; "Restore" makes it the document, "Discard" removes it.
  void OfferEarlierWork();

  QString CopyPath() const;  // this run's copy
  static constexpr int kDelayMs = 2000;

 private:
  void RemoveCopy();

  TMainForm& Form_;
  QTimer* Delay_ = nullptr;
  // Held while this run has a copy, so another running editor never takes
  // this run's copy for one left behind.
  std::unique_ptr<QLockFile> Lock_;
  QString Id_;
  bool FailureShown_ = false;
  bool Ended_ = false;
};
