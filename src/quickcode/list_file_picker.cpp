#include "list_file_picker.h"

#include <QLineEdit>

#include "form_registry.h"
#include "list_hosts.h"

Tfrmopenlist1list2::Tfrmopenlist1list2(QWidget* parent)
    : TListPicker(QStringLiteral("frmopenlist1list2"), QStringLiteral("Open "),
                  QStringLiteral("*.qvw;*.qvu"), parent) {}

void Tfrmopenlist1list2::PickFor(int list) {
  List_ = list;
  setWindowTitle(QStringLiteral("Open List%1").arg(list));
  exec();
}

void Tfrmopenlist1list2::TakePath(const QString& path) {
  // Only the chooser's record changes; its "Ok" loads the list.
  if (auto* chooser = forms::As<TListChoice>(QStringLiteral("frmopenlists"))) {
    chooser->SetListPath(List_, path);
  }
}
