#include "error_guard.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

namespace {

// The platform's error box: the message, and the reason on a line of its own.
QMessageBox* MakeErrorBox(const QString& message, const QString& reason) {
  auto* box = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), message,
                              QMessageBox::Ok, QApplication::activeWindow());
  if (!reason.isEmpty()) box->setInformativeText(reason);
  return box;
}

ErrorReporter& Current() {
  static ErrorReporter reporter;
  return reporter;
}

}  // namespace

void ReportErrorAside(const QString& message, const QString& reason) {
  if (Current()) {
    Current()(message, reason);
    return;
  }
  QMessageBox* box = MakeErrorBox(message, reason);
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

QString WithReason(const QString& message, const QString& reason) {
  return reason.isEmpty() ? message : message + QStringLiteral(" (") + reason + QStringLiteral(")");
}

void ReportError(const QString& message, const QString& reason) {
  if (Current()) {
    Current()(message, reason);
  } else {
    std::unique_ptr<QMessageBox> box(MakeErrorBox(message, reason));
    box->exec();
  }
}
