// The "Preview" window (Form4): the page being edited, rendered by the browser
// WebBrowser1, with a menu row to go back to the code, open the code generator
// and move through the browser's history, and the switch of the caret's
// outline; the status bar below names the outlined element.
#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QStatusBar;
class QToolBar;
class TPreviewCaret;
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
  // Shows the document's scratch copy: the page whose elements follow the caret.
  void ShowScratch(const QString& path);
  // The editor's caret moved or its text changed.
  void FollowCaret(bool textChanged);
  // "Outline Caret": whether the caret's element is outlined in the page.
  void SetOutlineCaret(bool on);
  bool OutlineCaret() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The menu row: entries with icons, so a tool bar drawn as a menu bar.
  QToolBar* MainMenu1 = nullptr;
  QAction* ShowCodeWindow1 = nullptr;
  QAction* CodeGenerator1 = nullptr;
  QAction* Back1 = nullptr;
  QAction* Forward1 = nullptr;
  QAction* OutlineCaret1 = nullptr;
  TWebBrowser* WebBrowser1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* CaretHint1 = nullptr;
  TPreviewCaret* Caret_ = nullptr;
};
