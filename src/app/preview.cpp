#include "preview.h"

#include <QTimer>

#include "main_window.h"
#include "paths.h"

namespace preview {

QString ScratchPath(const TForm1& form) {
  const QString name = form.StatusPanelText(0);
  if (name != QLatin1String("new.htm")) return paths::FolderPart(name) + "temp.vwe";
  return paths::SharedScratchFile();
}

void AutomaticUpdate(TForm1& form) { form.Timer1->stop(); }
void ManualUpdate(TForm1& form) { form.Timer1->stop(); }
void ShowStartPage(TForm1& form) { form.Timer1->stop(); }
void SetOffline(bool) {}

}  // namespace preview
