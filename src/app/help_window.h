// The "Help Vexa Web Editor" window (frmhelp1): the program's own help pages in
// a browser that starts again on the index page every time the window shows.
#pragma once

#include <QDialog>

class TWebBrowser;

class Tfrmhelp1 : public QDialog {
  Q_OBJECT

 public:
  explicit Tfrmhelp1(QWidget* parent = nullptr);

  // The help index below the program folder.
  static QString IndexPath();

  void FormShow();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TWebBrowser* WebBrowser1 = nullptr;
};
