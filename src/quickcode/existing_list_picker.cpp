#include "existing_list_picker.h"

#include "form_registry.h"
#include "list_hosts.h"

Tfrmexcodlist1::Tfrmexcodlist1(QWidget* parent)
    : TListPicker(QStringLiteral("frmexcodlist1"), QStringLiteral("Open existing code list"),
                  QStringLiteral("*.qvw;*.qvu"), parent) {
  // Left only through "Ok" or "Cancel": the title bar has no close box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void Tfrmexcodlist1::TakePath(const QString& path) {
  if (auto* editor = forms::As<TListSource>(QStringLiteral("frmnewedit"))) {
    editor->LoadSourceList(path);
  }
}
