#include "problems_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include "error_guard.h"
#include "page_checker.h"

QIcon SeverityIcon(check::TSeverity severity) {
  const QStyle::StandardPixmap pixmap =
      severity == check::TSeverity::Error     ? QStyle::SP_MessageBoxCritical
      : severity == check::TSeverity::Warning ? QStyle::SP_MessageBoxWarning
                                              : QStyle::SP_MessageBoxInformation;
  return QApplication::style()->standardIcon(pixmap);
}

QString SeverityText(check::TSeverity severity) {
  return severity == check::TSeverity::Error     ? QObject::tr("Error")
         : severity == check::TSeverity::Warning ? QObject::tr("Warning")
                                                 : QObject::tr("Note");
}

class TProblemsModel : public QAbstractTableModel {
 public:
  enum { kSeverity, kLine, kColumn, kMessage, kColumns };

  explicit TProblemsModel(TPageChecker& checker, QObject* parent)
      : QAbstractTableModel(parent), Checker_(checker) {}

  void Reset() {
    beginResetModel();
    endResetModel();
  }
  void PlacesMoved() {
    if (rowCount() > 0) emit dataChanged(index(0, kLine), index(rowCount() - 1, kColumn));
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(Checker_.Problems().size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : kColumns;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= Checker_.Problems().size()) return {};
    const check::TProblem& p = Checker_.Problems()[row];
    if (role == Qt::DecorationRole && index.column() == kSeverity) return SeverityIcon(p.Severity);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
      case kSeverity:
        return SeverityText(p.Severity);
      case kLine:
        return Checker_.PlaceNow(row).first;
      case kColumn:
        return Checker_.PlaceNow(row).second;
      default:
        return QString::fromStdString(p.Message);
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const char* const names[] = {"Severity", "Line", "Column", "Message"};
    return section >= 0 && section < kColumns ? tr(names[section]) : QVariant();
  }

 private:
  TPageChecker& Checker_;
};

TProblemsWindow::TProblemsWindow(TPageChecker& checker, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), Checker_(checker), MainWindow_(mainWindow) {
  setObjectName(QStringLiteral("ProblemsWindow1"));
  setWindowTitle(tr("Problems"));
  problemsnote = new QLabel(this);
  problemsnote->setObjectName(QStringLiteral("problemsnote"));
  problemsnote->setWordWrap(true);
  Model_ = new TProblemsModel(checker, this);
  problemslist = new QTreeView(this);
  problemslist->setObjectName(QStringLiteral("problemslist"));
  problemslist->setModel(Model_);
  problemslist->setRootIsDecorated(false);
  problemslist->setUniformRowHeights(true);
  problemslist->setAllColumnsShowFocus(true);
  problemslist->header()->setStretchLastSection(true);
  problemslist->setColumnWidth(TProblemsModel::kSeverity, 90);
  problemslist->setColumnWidth(TProblemsModel::kLine, 50);
  problemslist->setColumnWidth(TProblemsModel::kColumn, 55);
  problemsagain = new QPushButton(tr("Check &Again"), this);
  problemsagain->setObjectName(QStringLiteral("problemsagain"));
  problemsclose = new QPushButton(tr("Close"), this);
  problemsclose->setObjectName(QStringLiteral("problemsclose"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(problemsnote, 1);
  buttons->addWidget(problemsagain);
  buttons->addWidget(problemsclose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(problemslist, 1);
  resize(640, 240);

  // Enter and a double-click both activate a row.
  connect(problemslist, &QTreeView::activated, this, Guard([this](const QModelIndex& index) {
            Checker_.GoTo(static_cast<std::size_t>(index.row()));
          }));
  connect(problemsagain, &QPushButton::clicked, this, Guard([this] { Checker_.CheckNow(); }));
  connect(problemsclose, &QPushButton::clicked, this, &QWidget::hide);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::hide);
  connect(&checker, &TPageChecker::Started, this, [this] {
    problemsnote->setText(
        tr("Checking %1...")
            .arg(Checker_.Subject().isEmpty() ? tr("the page") : Checker_.Subject()));
  });
  connect(&checker, &TPageChecker::Finished, this, &TProblemsWindow::Refresh);
  connect(&checker, &TPageChecker::Moved, Model_, &TProblemsModel::PlacesMoved);
  Refresh();
}

void TProblemsWindow::Refresh() {
  Model_->Reset();
  problemsnote->setText(Checker_.Note());
  const QString subject = Checker_.Subject();
  setWindowTitle(subject.isEmpty() ? tr("Problems") : tr("Problems - %1").arg(subject));
  if (Model_->rowCount() > 0 && problemslist->hasFocus()) {
    problemslist->setCurrentIndex(Model_->index(0, 0));
  }
}

void TProblemsWindow::Place() {
  if (Placed_) return;
  Placed_ = true;
  // Below the main window where the screen has room, else at its foot.
  const QRect main = MainWindow_->frameGeometry();
  const QScreen* screen = MainWindow_->screen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  QRect r(main.left(), main.bottom() + 1, std::min(width(), area.width()), height());
  if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
  if (r.right() > area.right()) r.moveRight(area.right());
  if (r.left() < area.left()) r.moveLeft(area.left());
  move(r.topLeft());
}

void TProblemsWindow::ShowAndFocus() {
  Place();
  show();
  raise();
  activateWindow();
  problemslist->setFocus(Qt::OtherFocusReason);
  if (Model_->rowCount() > 0 && !problemslist->currentIndex().isValid()) {
    problemslist->setCurrentIndex(Model_->index(0, 0));
  }
}
