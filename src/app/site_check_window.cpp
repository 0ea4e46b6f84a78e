#include "site_check_window.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <atomic>

#include "editor_control.h"
#include "error_guard.h"
#include "main_shell.h"
#include "problems_window.h"

namespace {

QString FromLocal(const std::string& bytes) {
  return QFile::decodeName(QByteArray::fromStdString(bytes));
}

}  // namespace

class TSiteReportModel : public QAbstractTableModel {
 public:
  enum { kPage, kLine, kColumn, kProblem, kTarget, kColumns };

  TSiteReportModel(const check::TSiteReport& report, QObject* parent)
      : QAbstractTableModel(parent), Report_(report) {}

  void Reset() {
    beginResetModel();
    endResetModel();
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(Report_.Problems.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : kColumns;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= Report_.Problems.size()) return {};
    const check::TSiteProblem& p = Report_.Problems[row];
    if (index.column() == kProblem && role == Qt::DecorationRole) return SeverityIcon(p.Severity);
    if (index.column() == kProblem && role == Qt::ToolTipRole) return SeverityText(p.Severity);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
      case kPage:
        return FromLocal(p.Page);
      case kLine:
        return p.Placed ? QVariant(p.Line) : QVariant();
      case kColumn:
        return p.Placed ? QVariant(p.Column) : QVariant();
      case kProblem:
        return QString::fromStdString(p.Problem);
      default:
        return QString::fromStdString(p.Target);
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const char* const names[] = {"Page", "Line", "Column", "Problem", "Target"};
    return section >= 0 && section < kColumns ? tr(names[section]) : QVariant();
  }

 private:
  const check::TSiteReport& Report_;
};

struct TSiteCheckWindow::TJob {
  std::string Root;
  std::atomic<bool> Cancel{false};
  check::TSiteProgress Progress;
  check::TSiteReport Report;
};

TSiteCheckWindow::TSiteCheckWindow(TMainShell& shell, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), Shell_(shell) {
  setObjectName(QStringLiteral("SiteCheckWindow1"));
  setWindowTitle(tr("Check Site"));
  sitefolder = new QLabel(this);
  sitefolder->setObjectName(QStringLiteral("sitefolder"));
  siteprogress = new QProgressBar(this);
  siteprogress->setObjectName(QStringLiteral("siteprogress"));
  sitecancel = new QPushButton(tr("Cancel"), this);
  sitecancel->setObjectName(QStringLiteral("sitecancel"));
  siteagain = new QPushButton(tr("Check &Again"), this);
  siteagain->setObjectName(QStringLiteral("siteagain"));
  siteclose = new QPushButton(tr("Close"), this);
  siteclose->setObjectName(QStringLiteral("siteclose"));
  Model_ = new TSiteReportModel(Report_, this);
  sitelist = new QTreeView(this);
  sitelist->setObjectName(QStringLiteral("sitelist"));
  sitelist->setModel(Model_);
  sitelist->setRootIsDecorated(false);
  sitelist->setUniformRowHeights(true);
  sitelist->setAllColumnsShowFocus(true);
  sitelist->header()->setStretchLastSection(true);
  sitelist->setColumnWidth(TSiteReportModel::kPage, 170);
  sitelist->setColumnWidth(TSiteReportModel::kLine, 45);
  sitelist->setColumnWidth(TSiteReportModel::kColumn, 55);
  sitelist->setColumnWidth(TSiteReportModel::kProblem, 260);
  siteunreferencedlabel =
      new QLabel(tr("Files in images/ and files/ that no page references:"), this);
  siteunreferenced = new QListWidget(this);
  siteunreferenced->setObjectName(QStringLiteral("siteunreferenced"));
  sitesummary = new QLabel(this);
  sitesummary->setObjectName(QStringLiteral("sitesummary"));
  sitesummary->setWordWrap(true);

  auto* top = new QHBoxLayout;
  top->addWidget(sitefolder, 1);
  top->addWidget(siteprogress);
  top->addWidget(sitecancel);
  auto* lower = new QWidget(this);
  auto* lowerLayout = new QVBoxLayout(lower);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->addWidget(siteunreferencedlabel);
  lowerLayout->addWidget(siteunreferenced);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(sitelist);
  split->addWidget(lower);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(sitesummary, 1);
  bottom->addWidget(siteagain);
  bottom->addWidget(siteclose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(split, 1);
  layout->addLayout(bottom);
  // Fits a 1024 x 768 screen with its frame.
  resize(760, 480);

  Poll_ = new QTimer(this);
  Poll_->setInterval(50);
  connect(Poll_, &QTimer::timeout, this, &TSiteCheckWindow::Poll);
  connect(sitecancel, &QPushButton::clicked, this, &TSiteCheckWindow::Cancel);
  connect(siteagain, &QPushButton::clicked, this, Guard([this] { Start(Folder_); }));
  connect(siteclose, &QPushButton::clicked, this, &QWidget::close);
  connect(sitelist, &QTreeView::activated, this,
          Guard([this](const QModelIndex& index) { OpenRow(index.row()); }));
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
  sitecancel->setEnabled(false);
  siteagain->setEnabled(false);
}

TSiteCheckWindow::~TSiteCheckWindow() {
  if (Job_) Job_->Cancel = true;
  for (QThread* t : Threads_) {
    t->wait();
    delete t;
  }
}

void TSiteCheckWindow::Start(const QString& folder) {
  if (Job_) Cancel();
  Folder_ = folder;
  setWindowTitle(tr("Check Site - %1").arg(folder));
  sitefolder->setText(folder);
  Report_ = {};
  Model_->Reset();
  siteunreferenced->clear();
  sitesummary->setText(tr("Listing the site..."));
  siteprogress->setRange(0, 0);  // busy until the pages are counted
  sitecancel->setEnabled(true);
  siteagain->setEnabled(false);

  auto job = std::make_shared<TJob>();
  job->Root = QFile::encodeName(folder).toStdString();
  Job_ = job;
  QThread* thread = QThread::create(
      [job] { job->Report = check::CheckSite(job->Root, &job->Cancel, &job->Progress); });
  Threads_.push_back(thread);
  connect(thread, &QThread::finished, this, [this, thread, job] {
    Threads_.erase(std::remove(Threads_.begin(), Threads_.end(), thread), Threads_.end());
    thread->deleteLater();
    if (job != Job_) return;
    Job_.reset();
    Poll_->stop();
    Show(std::move(job->Report));
  });
  thread->start();
  Poll_->start();
  sitelist->setFocus(Qt::OtherFocusReason);
}

void TSiteCheckWindow::closeEvent(QCloseEvent* event) {
  Cancel();
  QWidget::closeEvent(event);
}

void TSiteCheckWindow::Poll() {
  if (!Job_) return;
  const int total = Job_->Progress.Total;
  const int done = Job_->Progress.Done;
  if (total <= 0) return;
  siteprogress->setRange(0, total);
  siteprogress->setValue(done);
  sitesummary->setText(tr("Checking %1 of %2 files...").arg(done).arg(total));
}

void TSiteCheckWindow::Cancel() {
  if (!Job_) return;
  // The thread stops at its next page; its report is never shown.
  Job_->Cancel = true;
  Job_.reset();
  Poll_->stop();
  siteprogress->setRange(0, 1);
  siteprogress->setValue(0);
  sitecancel->setEnabled(false);
  siteagain->setEnabled(true);
  sitesummary->setText(tr("Cancelled."));
  emit Finished();
}

void TSiteCheckWindow::Show(check::TSiteReport report) {
  Report_ = std::move(report);
  Model_->Reset();
  for (const std::string& file : Report_.Unreferenced) siteunreferenced->addItem(FromLocal(file));
  siteprogress->setRange(0, 1);
  siteprogress->setValue(1);
  sitecancel->setEnabled(false);
  siteagain->setEnabled(true);
  sitesummary->setText(QString::fromStdString(check::Summary(Report_)));
  if (Model_->rowCount() > 0) sitelist->setCurrentIndex(Model_->index(0, 0));
  emit Finished();
}

void TSiteCheckWindow::OpenRow(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= Report_.Problems.size()) return;
  const check::TSiteProblem& p = Report_.Problems[static_cast<std::size_t>(row)];
  if (!p.Placed) return;  // a file or folder that was not read
  const QString path = QDir(Folder_).filePath(FromLocal(p.Page));
  if (QDir::cleanPath(Shell_.CurFileName()) != QDir::cleanPath(path)) {
    if (!Shell_.SavePrompt()) return;
    Shell_.OpenDocument(path);
  }
  TEditorControl* editor = Shell_.Editor();
  const int line = std::min(p.Line, editor->LastLine());
  const long start = editor->LineStart(line);
  const long end = editor->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION,
                                         static_cast<unsigned long>(line));
  const long position = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONRELATIVE,
                                              static_cast<unsigned long>(start), p.Column);
  // A place beyond the line (the file changed since the check) goes to its end.
  editor->SetCaretPosition(
      static_cast<int>(position <= 0 && p.Column > 0 ? end : std::min(position, end)));
  editor->ScrollCaretIntoView();
  Shell_.FocusDocument();
}
