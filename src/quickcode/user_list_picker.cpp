#include "user_list_picker.h"

#include "form_registry.h"
#include "list_editor.h"

Tfrmoecodlist::Tfrmoecodlist(QWidget* parent)
    : TListPicker(QStringLiteral("frmoecodlist"), QStringLiteral("Open User list"),
                  QStringLiteral("*.qvu"), parent) {}

void Tfrmoecodlist::TakePath(const QString& path) {
  if (auto* editor = forms::Get<Tfrmnewedit>(QStringLiteral("frmnewedit"))) {
    editor->OpenUserList(path);
  }
}
