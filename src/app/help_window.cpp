#include "help_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "error_guard.h"
#include "paths.h"
#include "web_browser.h"
#include "window_look.h"

Tfrmhelp1::Tfrmhelp1(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmhelp1"));
  setWindowTitle(QStringLiteral("Help Vexa Web Editor"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);

  WebBrowser1 = new TWebBrowser(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(WebBrowser1);

  look::SetOuterSize(this, QSize(707, 496));
  look::CentreOnScreen(this);
}

QString Tfrmhelp1::IndexPath() { return paths::ProgramDir() + "help/index.htm"; }

void Tfrmhelp1::FormShow() { WebBrowser1->Navigate(IndexPath()); }

void Tfrmhelp1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Shown by the program, not restored from the task bar: start on the index.
  if (!event->spontaneous()) RunGuarded([this] { FormShow(); });
}
