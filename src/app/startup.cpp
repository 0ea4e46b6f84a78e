#include "startup.h"

#include <utility>
#include <vector>

#include "error_guard.h"
#include "form_registry.h"
#include "main_form.h"
#include "paths.h"
#include "recovery.h"
#include "settings.h"
#include "tools.h"

namespace startup {
namespace {

std::vector<std::function<void()>>& PendingTasks() {
  static std::vector<std::function<void()>> tasks;
  return tasks;
}

}  // namespace

void WhenStarted(std::function<void()> task) { PendingTasks().push_back(std::move(task)); }

void FormShow(TMainForm& form) {
  form.SetCurFileName(QStringLiteral("new.htm"));
  forms::ShowModal(QStringLiteral("Form3"));
  // Without the shared folder neither an untitled page's preview nor a
  // project can be kept: say so once, with the reason, before either is used.
  const QString sharedFolder = paths::EnsureSharedFolders();
  if (!sharedFolder.isEmpty()) ReportError(sharedFolder);
  settings::ReadAndApply(form);
  tools::Detect(form);
  form.StopPreviewTimer();
  form.ShowPreviewStartPage();
  form.SetCaretLineDisplay(false);
  form.SetModifiedFlag(QString());
  // Lost work comes back first; a file handed over then meets the save prompt.
  RunGuarded([&form] { OfferRecovery(form); });
  const std::vector<std::function<void()>> tasks = std::exchange(PendingTasks(), {});
  for (const auto& task : tasks) RunGuarded(task);
}

void OfferRecovery(TMainForm& form) { form.Recovery().OfferEarlierWork(); }

bool FormClose(TMainForm& form) {
  if (!form.SavePrompt()) return false;
  // A settings file that cannot be written is reported, and the program still
  // ends: keeping the window open would trap the user in it.
  RunGuarded([&form] { settings::Write(form); });
  form.Recovery().EndNormally();
  return true;
}

}  // namespace startup
