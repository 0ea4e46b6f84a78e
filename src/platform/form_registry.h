// Every window exists once for the whole run and is reached by its form name
// ("Form1", "frmmanager", ...), which is also its objectName. Other windows
// ask a window for what they need through a small interface it implements
// (As<>), never through its controls.
#pragma once

#include <QString>
#include <QWidget>

namespace forms {

// Registers a window under its objectName; a later window of the same name replaces it.
void Register(QWidget* form);
void Unregister(QWidget* form);
QWidget* Find(const QString& name);

// The window of that name as its own class, or nullptr.
template <typename T>
T* Get(const QString& name) {
  return qobject_cast<T*>(Find(name));
}

// The window of that name as one of the interfaces it offers, or nullptr.
template <typename Interface>
Interface* As(const QString& name) {
  return dynamic_cast<Interface*>(Find(name));
}

// Shows a window by form name: brought to the front and made active.
void Show(const QString& name);
// Shows a dialog by form name modally; returns when it is closed.
void ShowModal(const QString& name);

}  // namespace forms
