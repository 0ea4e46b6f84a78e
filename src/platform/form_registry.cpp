#include "form_registry.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

namespace forms {
namespace {

QHash<QString, QPointer<QWidget>>& Table() {
  static QHash<QString, QPointer<QWidget>> table;
  return table;
}

}  // namespace

void Register(QWidget* form) { Table().insert(form->objectName(), form); }

void Unregister(QWidget* form) {
  auto it = Table().find(form->objectName());
  if (it != Table().end() && it.value() == form) Table().erase(it);
}

QWidget* Find(const QString& name) { return Table().value(name); }

void Show(const QString& name) {
  if (QWidget* w = Find(name)) {
    w->show();
    w->raise();
    w->activateWindow();
  }
}

void ShowModal(const QString& name) {
  if (auto* d = qobject_cast<QDialog*>(Find(name))) d->exec();
}

}  // namespace forms
