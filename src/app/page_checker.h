// Check Page in the editor: the document's text is copied once and checked on
// a thread of its own, so typing never waits; the problems come back placed
// in the text as it stands by then (edits made meanwhile are followed), are
// marked in the editor a slice at a time, and stay in step with later edits.
// With "Check Automatically" the page is checked again a second after the
// last change, as the automatic preview follows it.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "check_problem.h"
#include "edit_log.h"
#include "page_check.h"

struct TTextModification;

class QThread;
class QTimer;
class TCheckMarks;
class TMainForm;

class TPageChecker : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDelayMs = 1000;
  // More problems than this are not listed or marked; the note says so.
  static constexpr std::size_t kMaxProblems = 10000;

  TPageChecker(TMainForm& form, QObject* parent);
  ~TPageChecker() override;

  bool Automatic() const { return Automatic_; }
  void SetAutomatic(bool on);
  QTimer* DelayTimer() const { return Delay_; }

  // Checks the document as it is now. False, with the note saying why, when
  // its syntax is nothing Check Page reads.
  bool CheckNow();
  bool Busy() const { return Job_ != nullptr; }

  // Shows problems found in the document as it is now (Tidy Page's refusal).
  void ShowProblems(std::vector<check::TProblem> problems, const QString& note);
  void Clear();

  const std::vector<check::TProblem>& Problems() const { return Problems_; }
  // Where a problem stands in the editor's text now.
  std::size_t PositionNow(std::size_t row) const;
  // The line (from 0) and column (characters, from 0) it stands at now.
  std::pair<int, int> PlaceNow(std::size_t row) const;
  QString Subject() const { return Subject_; }  // the file name of the checked document
  QString Note() const { return Note_; }        // what the list shows above the problems
  // Puts the caret on a problem and gives the editor the keyboard.
  void GoTo(std::size_t row);

 signals:
  void Started();
  void Finished();  // the problems are listed and every mark is made
  void Moved();     // the text changed: problems may stand elsewhere now

 private:
  struct TJob;
  check::TPageKind Kind() const;
  void CheckAutomatically();
  void Delivered(const std::shared_ptr<TJob>& job);
  void MarkSlice();
  void Modified(const TTextModification& change);
  void ContentChanged();

  TMainForm& Form_;
  QTimer* Delay_ = nullptr;
  QTimer* MovedPause_ = nullptr;
  TCheckMarks* Marks_ = nullptr;
  bool Automatic_ = false;
  bool Replaced_ = false;
  // The length of the text as the modifications heard so far leave it.
  std::size_t Length_ = 0;
  std::shared_ptr<TJob> Job_;
  std::vector<QThread*> Threads_;
  std::vector<check::TProblem> Problems_;
  std::size_t Marked_ = 0;
  check::TEditLog ShownLog_;  // since the copy the shown problems were found in
  check::TEditLog JobLog_;    // since the copy the running check reads
  QString Subject_;
  QString Note_;
};
