#include "startup.h"

#include <utility>
#include <vector>

#include "application.h"
#include "error_guard.h"
#include "main_window.h"
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

void FormShow(TForm1& form) {
  form.SetCurFileName(QStringLiteral("new.htm"));
  app::ShowFormModal(QStringLiteral("Form3"));
  settings::ReadAndApply(form);
  tools::Detect(form);
  form.Timer1->stop();
  form.ShowPreviewStartPage();
  form.SetCaretLineDisplay(false);
  form.SetModifiedFlag(QString());
  const std::vector<std::function<void()>> tasks = std::exchange(PendingTasks(), {});
  for (const auto& task : tasks) RunGuarded(task);
}

bool FormClose(TForm1& form) {
  if (!form.SavePrompt()) return false;
  // A settings file that cannot be written is reported, and the program still
  // ends: keeping the window open would trap the user in it.
  RunGuarded([&form] { settings::Write(form); });
  return true;
}

}  // namespace startup
