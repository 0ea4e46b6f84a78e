#include "dialogs.h"

#include <QMessageBox>

namespace dialogs {
namespace {

MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  if (Hook()) {
    Hook()(caption, text);
    return;
  }
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

MessageHook SetMessageHook(MessageHook hook) {
  MessageHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

void Warning(QWidget* parent, const QString& caption, const QString& text) {
  Show(parent, QMessageBox::Warning, caption, text);
}

void Information(QWidget* parent, const QString& caption, const QString& text) {
  Show(parent, QMessageBox::Information, caption, text);
}

}  // namespace dialogs
