// Every window exists once for the whole run and is reached by its form name
// ("Form1", "frmmanager", ...), which is also its objectName.
#pragma once

#include <QString>
#include <QWidget>

namespace forms {

// Registers a window under its objectName; a later window of the same name replaces it.
void Register(QWidget* form);
void Unregister(QWidget* form);
QWidget* Find(const QString& name);

template <typename T>
T* Get(const QString& name) {
  return qobject_cast<T*>(Find(name));
}

}  // namespace forms
