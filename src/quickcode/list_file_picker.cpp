#include "list_file_picker.h"

#include <QLineEdit>

#include "form_registry.h"
#include "list_chooser.h"

Tfrmopenlist1list2::Tfrmopenlist1list2(QWidget* parent)
    : TListPicker(QStringLiteral("frmopenlist1list2"), QStringLiteral("Open "),
                  QStringLiteral("*.qvw;*.qvu"), parent) {}

void Tfrmopenlist1list2::TakePath(const QString& path) {
  // Only the chooser's field changes; its "Ok" loads the list.
  auto* chooser = forms::Get<Tfrmopenlists>(QStringLiteral("frmopenlists"));
  if (!chooser) return;
  if (windowTitle() == QLatin1String("Open List1")) chooser->Edit1->setText(path);
  if (windowTitle() == QLatin1String("Open List2")) chooser->Edit2->setText(path);
}
