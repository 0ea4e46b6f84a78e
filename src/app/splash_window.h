// The splash window (Form3), shown modally at start; it closes itself at the
// first tick of its timer, which starts when the window is created.
#pragma once

#include <QDialog>

class QLabel;
class QTimer;

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);
  int exec() override;

  // The splash time: VEXA_SPLASH_MS, 6000 ms when unset; 0 means no splash.
  static int SplashMilliseconds();

  void Timer1Timer();

 private:
  QTimer* Timer1 = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;  // "Vexa Web Editor Pro"
  QLabel* Label2 = nullptr;  // "3.0 "
};
