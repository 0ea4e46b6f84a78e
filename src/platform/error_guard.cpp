#include "error_guard.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void ShowErrorBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

ErrorReporter& Current() {
  static ErrorReporter reporter;
  return reporter;
}

}  // namespace

void ReportErrorAside(const QString& message) {
  if (Current()) {
    Current()(message);
    return;
  }
  auto* box = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), message,
                              QMessageBox::Ok, QApplication::activeWindow());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setAttribute(Qt::WA_ShowWithoutActivating);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

ErrorReporter SetErrorReporter(ErrorReporter reporter) {
  ErrorReporter previous = std::move(Current());
  Current() = std::move(reporter);
  return previous;
}

void ReportError(const QString& message) {
  if (Current()) {
    Current()(message);
  } else {
    ShowErrorBox(message);
  }
}
