#include "user_list_picker.h"

#include "form_registry.h"
#include "list_hosts.h"

Tfrmoecodlist::Tfrmoecodlist(QWidget* parent)
    : TListPicker(QStringLiteral("frmoecodlist"), QStringLiteral("Open User list"),
                  QStringLiteral("*.qvu"), parent) {}

void Tfrmoecodlist::TakePath(const QString& path) {
  if (auto* editor = forms::As<TListSource>(QStringLiteral("frmnewedit"))) {
    editor->OpenUserList(path);
  }
}
