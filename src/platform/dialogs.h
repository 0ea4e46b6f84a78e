// Message boxes and standard dialogs go through these wrappers, so tests can
// answer them without a box ever blocking a headless run.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace dialogs {

// A message box with one OK button. Tests install a hook that records
// (caption, text) instead of showing the box.
using MessageHook = std::function<void(const QString& caption, const QString& text)>;
MessageHook SetMessageHook(MessageHook hook);
void Warning(QWidget* parent, const QString& caption, const QString& text);
void Information(QWidget* parent, const QString& caption, const QString& text);

}  // namespace dialogs
