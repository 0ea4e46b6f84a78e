// Check Site's report: the site folder checked on a thread of its own with a
// progress bar and a Cancel that stops at once, then one row per problem
// (page, line and column counted as the editor counts them, problem, target),
// the files of images/ and files/ no page references, and a summary line.
// Enter or a double-click on a row opens the page as File > Open does, after
// the save prompt, and puts the caret on the place.
#pragma once

#include <QWidget>
#include <memory>

#include "site_check.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;
class QTreeView;
class TMainShell;
class TSiteReportModel;

class TSiteCheckWindow : public QWidget {
  Q_OBJECT

 public:
  TSiteCheckWindow(TMainShell& shell, QWidget* mainWindow);
  ~TSiteCheckWindow() override;

  // Checks the site under `folder` (a running check is cancelled first).
  void Start(const QString& folder);
  void Cancel();
  bool Running() const { return Job_ != nullptr; }
  QString Folder() const { return Folder_; }
  const check::TSiteReport& Report() const { return Report_; }
  // Opens a row's page and puts the caret on its place.
  void OpenRow(int row);

 signals:
  void Finished();  // the report is shown, or the check was cancelled

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct TJob;
  void Poll();
  void Show(check::TSiteReport report);

  TMainShell& Shell_;
  std::shared_ptr<TJob> Job_;
  std::vector<QThread*> Threads_;
  QTimer* Poll_ = nullptr;
  QString Folder_;
  check::TSiteReport Report_;
  TSiteReportModel* Model_ = nullptr;
  QLabel* sitefolder = nullptr;
  QProgressBar* siteprogress = nullptr;
  QPushButton* sitecancel = nullptr;
  QPushButton* siteagain = nullptr;
  QPushButton* siteclose = nullptr;
  QTreeView* sitelist = nullptr;
  QLabel* siteunreferencedlabel = nullptr;
  QListWidget* siteunreferenced = nullptr;
  QLabel* sitesummary = nullptr;
};
