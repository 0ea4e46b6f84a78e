#include "existing_list_picker.h"

#include "form_registry.h"
#include "list_box.h"
#include "list_editor.h"
#include "list_files.h"

Tfrmexcodlist1::Tfrmexcodlist1(QWidget* parent)
    : TListPicker(QStringLiteral("frmexcodlist1"), QStringLiteral("Open existing code list"),
                  QStringLiteral("*.qvw;*.qvu"), parent) {
  // Left only through "Ok" or "Cancel": the title bar has no close box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void Tfrmexcodlist1::TakePath(const QString& path) {
  if (auto* editor = forms::Get<Tfrmnewedit>(QStringLiteral("frmnewedit"))) {
    quickcode::LoadListBox(editor->ListBox1, path);
  }
}
