// The "Preview" window (Form4): the page being edited, rendered by the browser
// WebBrowser1, with a menu row to go back to the code, open the code generator
// and move through the browser's history.
#pragma once

#include <QDialog>

class QAction;
class QToolBar;
class TWebBrowser;

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm4(QWidget* parent = nullptr);

  void ShowCodeWindow1Click();
  void CodeGenerator1Click();
  void Back1Click();
  void Forward1Click();

  // Shows a local file or page; the browser's offline switch.
  void Navigate(const QString& path);
  void SetOffline(bool offline);

 private:
  // The menu row: entries with icons, so a tool bar drawn as a menu bar.
  QToolBar* MainMenu1 = nullptr;
  QAction* ShowCodeWindow1 = nullptr;
  QAction* CodeGenerator1 = nullptr;
  QAction* Back1 = nullptr;
  QAction* Forward1 = nullptr;
  TWebBrowser* WebBrowser1 = nullptr;
};
