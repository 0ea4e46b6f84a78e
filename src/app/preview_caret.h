// The preview follows the caret: while the preview shows the document's
// scratch copy, the element that holds the editor's caret is outlined in the
// page, and a Ctrl+click on an element of the page puts the caret at its start
// tag. The outline and the clicks are a script of ours, run in a script world
// of its own beside the page's scripts; the page's text is never touched.
#pragma once

#include <QJsonArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

#include "page_tree.h"

class IniFile;
class QWebChannel;
class TWebBrowser;

namespace previewcaret {

// The script world the outline's script runs in.
constexpr unsigned kScriptWorld = 11;
// The pause in caret moves after which the outline follows (so at most a few
// updates a second), and the longer one after a change of the text.
constexpr int kCaretPauseMs = 200;
constexpr int kChangePauseMs = 400;

// The switch, in its own section of the settings file: on when the key is
// missing, otherwise only "1" is on.
bool ReadOutlineSwitch(const IniFile& ini);
void WriteOutlineSwitch(IniFile& ini, bool on);

// The path as the script takes and gives it: [[index, "name"], ...].
QJsonArray PathToJson(const pagetree::TPath& path);
pagetree::TPath PathFromJson(const QJsonArray& json);

// The script itself (the page's side).
QString OutlineScript();

}  // namespace previewcaret

// What the page's script calls: a Ctrl+click on an element.
class TPreviewCaretBridge : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  Q_INVOKABLE void clicked(const QJsonArray& path) { emit Clicked(path); }

 signals:
  void Clicked(const QJsonArray& path);
};

class TPreviewCaret : public QObject {
  Q_OBJECT

 public:
  explicit TPreviewCaret(TWebBrowser* browser);
  ~TPreviewCaret() override;

  // The browser is sent to the scratch copy at this path, or to another page.
  void WillShow(const QString& path, bool scratch);

  // The editor's caret moved, or its text changed.
  void Follow(bool textChanged);
  // Outlines at once (the preview was shown, or a page finished loading).
  void UpdateNow();

  void SetOutline(bool on);
  bool Outline() const { return Outline_; }

  // Whether the browser shows the document's scratch copy.
  bool ShowsScratch() const;

 signals:
  // What the status bar says about the page: the outlined element, or why
  // a click found nothing.
  void Described(const QString& text);
  // A page finished loading: whether it is the document's copy.
  void ScratchShown(bool scratch);

 private:
  void LoadFinished(bool ok);
  void Clicked(const QJsonArray& path);
  const pagetree::TPageTree& Tree();
  void RunInPage(const QString& script, const std::function<void(const QVariant&)>& done = {});

  TWebBrowser* Browser_;
  QWebChannel* Channel_ = nullptr;
  TPreviewCaretBridge* Bridge_ = nullptr;
  QTimer Pause_;
  bool Outline_ = true;
  QUrl Scratch_;
  QString Outlined_;  // the path outlined last
  // The tree of the editor's text, until the text changes.
  std::unique_ptr<pagetree::TPageTree> Tree_;
  int TreeLength_ = 0;
};
