#include "splash_window.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "paths.h"
#include "window_look.h"

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font(QStringLiteral("Liberation Sans"), 14);
  font.setStyleHint(QFont::SansSerif);
  label->setFont(font);
  label->adjustSize();
  label->move(left, top);
  return label;
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Vexa Web Editor"));
  // No title-bar buttons: the splash goes away by itself. Window managers
  // give a splash window none, where a titled dialog always gets some.
  setWindowFlags(Qt::SplashScreen);
  setFixedSize(330, 135);
  look::SetColors(this, QColor(0, 0, 128), Qt::white);
  Image1 =
      look::AddPicture(this, paths::ProgramDir() + "pictures/splash.jpg", QRect(8, 8, 89, 121));
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Vexa Web Editor Pro"), 120, 48);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("3.0 "), 192, 80);

  look::CentreOnScreen(this);

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
