#include "splash_window.h"

#include <QTimer>

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Vexa Web Editor"));
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  const int ms = SplashMilliseconds();
  if (ms > 0) {
    // The timer keeps running: later ticks close an already hidden window.
    Timer1->setInterval(ms);
    connect(Timer1, &QTimer::timeout, this, &TForm3::Timer1Timer);
    Timer1->start();
  }
}

int TForm3::SplashMilliseconds() {
  bool ok = false;
  const int ms = qEnvironmentVariableIntValue("VEXA_SPLASH_MS", &ok);
  return ok ? ms : 6000;
}

int TForm3::exec() {
  // Without a splash time there is nothing to show.
  if (SplashMilliseconds() <= 0) return QDialog::Rejected;
  return QDialog::exec();
}

void TForm3::Timer1Timer() { close(); }
