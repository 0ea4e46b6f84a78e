#include "recovery_dialog.h"

#include <QLocale>

#include "dialogs.h"

namespace recovery {

TAnswer AskRecover(QWidget* parent, const QString& fileName, const QDateTime& savedAt) {
  const QString text =
      QStringLiteral(
          "The editor did not close normally. Unsaved changes to %1 were kept at %2.\n\n"
          "Restore them?")
          .arg(fileName, QLocale::system().toString(savedAt.toLocalTime(), QLocale::LongFormat));
  const int answer = dialogs::Ask(parent, QStringLiteral("Recover unsaved work"), text,
                                  {QStringLiteral("Restore"), QStringLiteral("Discard")}, 0);
  if (answer == 0) return TAnswer::Restore;
  if (answer == 1) return TAnswer::Discard;
  return TAnswer::Later;
}

}  // namespace recovery
