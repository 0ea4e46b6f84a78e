#include "page_checker.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <utility>

#include "check_marks.h"
#include "editor_control.h"
#include "error_guard.h"
#include "main_form.h"
#include "page_check.h"
#include "paths.h"

namespace {

// A slice of marking leaves the rest of a frame to the user's keys.
constexpr qint64 kSliceMs = 8;

QString FileNameOf(const QString& path) {
  const int slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? path : path.mid(slash + 1);
}

}  // namespace

struct TPageChecker::TJob {
  QByteArray Text;
  check::TPageKind Kind = check::TPageKind::Html;
  bool Utf8 = false;
  std::atomic<bool> Cancel{false};
  bool Done = false;
  std::vector<check::TProblem> Problems;
};

TPageChecker::TPageChecker(TMainForm& form, QObject* parent) : QObject(parent), Form_(form) {
  setObjectName(QStringLiteral("PageChecker"));
  Marks_ = new TCheckMarks(form.Editor());
  Delay_ = new QTimer(this);
  Delay_->setObjectName(QStringLiteral("CheckDelay"));
  Delay_->setSingleShot(true);
  Delay_->setInterval(kDelayMs);
  connect(Delay_, &QTimer::timeout, this, Guard([this] { CheckAutomatically(); }));
  // The list follows edits at a pause, not at every key.
  MovedPause_ = new QTimer(this);
  MovedPause_->setSingleShot(true);
  MovedPause_->setInterval(200);
  connect(MovedPause_, &QTimer::timeout, this, &TPageChecker::Moved);
  TEditorControl* editor = form.Editor();
  Length_ = static_cast<std::size_t>(editor->Length());
  connect(editor, &TEditorControl::TextModified, this, &TPageChecker::Modified);
  connect(editor, &TEditorControl::Changed, this, &TPageChecker::ContentChanged);
}

TPageChecker::~TPageChecker() {
  if (Job_) Job_->Cancel = true;
  // A cancelled check ends at its next read: waiting for it takes no time.
  // Its report of the end would come to this object, which goes now.
  for (QThread* t : Threads_) {
    t->wait();
    delete t;
  }
  delete Marks_;
}

void TPageChecker::SetAutomatic(bool on) {
  Automatic_ = on;
  if (!on) Delay_->stop();
}

void TPageChecker::Modified(const TTextModification& change) {
  const bool insert = change.Kind == TTextModification::TKind::Insert;
  const auto at = static_cast<std::size_t>(change.Position);
  const auto count = static_cast<std::size_t>(change.Length);
  // The whole content went (a load, New, a tidy-up): the next change report
  // clears what was found.
  if (!insert && at == 0 && count == Length_) Replaced_ = true;
  Length_ = insert ? Length_ + count : Length_ - std::min(count, Length_);
  if (!Problems_.empty()) {
    insert ? ShownLog_.Inserted(at, count) : ShownLog_.Deleted(at, count);
    if (ShownLog_.Size() > 4096) {
      // A long log is folded into the places, so following it stays cheap.
      for (check::TProblem& p : Problems_) p.Offset = ShownLog_.Map(p.Offset);
      ShownLog_.Clear();
    }
    MovedPause_->start();
  }
  if (Job_) insert ? JobLog_.Inserted(at, count) : JobLog_.Deleted(at, count);
}

void TPageChecker::ContentChanged() {
  // Another document, or the content replaced: what was found no longer applies.
  const bool replaced = std::exchange(Replaced_, false);
  Length_ = static_cast<std::size_t>(Form_.Editor()->Length());
  if ((!Problems_.empty() || !Note_.isEmpty()) && (replaced || Form_.CurFileName() != Subject_)) {
    Clear();
  }
  if (Automatic_) Delay_->start();
}

check::TPageKind TPageChecker::Kind() const {
  return check::KindForSyntax(Form_.SyntaxName().toStdString(), Form_.CurFileName().toStdString());
}

void TPageChecker::CheckAutomatically() {
  // A script or style sheet is not a page: nothing to say about it at every pause.
  if (Kind() == check::TPageKind::None) {
    if (!Problems_.empty()) Clear();
    return;
  }
  CheckNow();
}

bool TPageChecker::CheckNow() {
  Delay_->stop();
  const check::TPageKind kind = Kind();
  if (Job_) Job_->Cancel = true;
  Job_.reset();
  if (kind == check::TPageKind::None) {
    Clear();
    Subject_ = Form_.CurFileName();
    Note_ = tr("Check Page reads HTML, PHP and ASP pages and XML documents; "
               "the syntax \"%1\" is none of them.")
                .arg(Form_.SyntaxName());
    emit Finished();
    return false;
  }
  auto job = std::make_shared<TJob>();
  TEditorControl* editor = Form_.Editor();
  job->Text = editor->GetText();  // the one copy, taken now
  job->Kind = kind;
  job->Utf8 = editor->Encoding() == TTextEncoding::Utf8;
  Job_ = job;
  JobLog_.Clear();
  QThread* thread = QThread::create([job] {
    check::TPageCheckInput input;
    input.Bytes =
        std::string_view(job->Text.constData(), static_cast<std::size_t>(job->Text.size()));
    input.Text = input.Bytes;
    input.Utf8 = job->Utf8;
    input.Kind = job->Kind;
    job->Done = check::CheckPage(input, job->Problems, &job->Cancel);
  });
  Threads_.push_back(thread);
  connect(thread, &QThread::finished, this, [this, thread, job] {
    Threads_.erase(std::remove(Threads_.begin(), Threads_.end(), thread), Threads_.end());
    thread->deleteLater();
    if (job == Job_ && job->Done) RunGuarded([&] { Delivered(job); });
  });
  thread->start(QThread::LowPriority);
  emit Started();
  return true;
}

void TPageChecker::Delivered(const std::shared_ptr<TJob>& job) {
  Job_.reset();
  Marks_->Clear();
  Problems_ = std::move(job->Problems);
  ShownLog_ = JobLog_;
  JobLog_.Clear();
  Subject_ = Form_.CurFileName();
  const std::size_t found = Problems_.size();
  if (found > kMaxProblems) Problems_.resize(kMaxProblems);
  if (found == 0) {
    Note_ = tr("No problems found in %1.").arg(FileNameOf(Subject_));
  } else if (found > kMaxProblems) {
    Note_ = tr("%1 problems in %2; the first %3 are listed.")
                .arg(found)
                .arg(FileNameOf(Subject_))
                .arg(kMaxProblems);
  } else {
    Note_ = found == 1 ? tr("1 problem in %1.").arg(FileNameOf(Subject_))
                       : tr("%1 problems in %2.").arg(found).arg(FileNameOf(Subject_));
  }
  Marked_ = 0;
  MarkSlice();
}

void TPageChecker::MarkSlice() {
  QElapsedTimer slice;
  slice.start();
  while (Marked_ < Problems_.size()) {
    const check::TProblem& p = Problems_[Marked_++];
    Marks_->Add(p.Severity, ShownLog_.Map(p.Offset), p.Length);
    if ((Marked_ & 63) == 0 && slice.elapsed() >= kSliceMs) {
      QTimer::singleShot(0, this, [this] { MarkSlice(); });
      return;
    }
  }
  emit Finished();
}

void TPageChecker::ShowProblems(std::vector<check::TProblem> problems, const QString& note) {
  if (Job_) Job_->Cancel = true;
  Job_.reset();
  Marks_->Clear();
  Problems_ = std::move(problems);
  if (Problems_.size() > kMaxProblems) Problems_.resize(kMaxProblems);
  ShownLog_.Clear();
  Subject_ = Form_.CurFileName();
  Note_ = note;
  Marked_ = 0;
  MarkSlice();
}

void TPageChecker::Clear() {
  Marks_->Clear();
  Problems_.clear();
  ShownLog_.Clear();
  Marked_ = 0;
  Note_.clear();
  emit Finished();
}

std::size_t TPageChecker::PositionNow(std::size_t row) const {
  if (row >= Problems_.size()) return 0;
  const auto length = static_cast<std::size_t>(Form_.Editor()->Length());
  return std::min(ShownLog_.Map(Problems_[row].Offset), length);
}

std::pair<int, int> TPageChecker::PlaceNow(std::size_t row) const {
  TEditorControl* editor = Form_.Editor();
  const auto position = static_cast<unsigned long>(PositionNow(row));
  const long line = editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position);
  const long start = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                           static_cast<unsigned long>(line));
  const long column =
      editor->SendScintilla(QsciScintillaBase::SCI_COUNTCHARACTERS,
                            static_cast<unsigned long>(start), static_cast<long>(position));
  return {static_cast<int>(line), static_cast<int>(column)};
}

void TPageChecker::GoTo(std::size_t row) {
  if (row >= Problems_.size()) return;
  TEditorControl* editor = Form_.Editor();
  editor->SetCaretPosition(static_cast<int>(PositionNow(row)));
  editor->ScrollCaretIntoView();
  Form_.FocusDocument();
}
