// The embedded web browser of the preview and the help window: a browser view
// in a private profile of our own that shows local files through our own URL
// scheme, can work offline, and keeps every link inside the view.
#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineView>
#include <string_view>

class QWebEngineProfile;

namespace web {

// The scheme under which local files are served: "vexa-file:" + absolute path.
inline constexpr char kLocalScheme[] = "vexa-file";

// Registers our scheme and prepares the browser engine. Must run before the
// QApplication is created, in the program and in every test executable alike.
void PrepareEngine();

// The address of a local file in our scheme; relative references in the page
// resolve against the file's folder.
QUrl LocalFileUrl(const QString& path);

// The content type a local file is served with: the pages of the preview
// (".vwe") are HTML whatever their extension says; other files by their name.
QByteArray ContentTypeFor(const QString& path);

// The content type a page is served with: UTF-8 named for a page whose bytes
// are UTF-8 and that names no character set of its own, so it shows as the
// editor shows it; pages that name none otherwise read as code page 1252.
QByteArray HtmlContentType(std::string_view page);

// Whether a request may go out while the browser works offline: local files,
// data and our own scheme only.
bool AllowedOffline(const QUrl& url);

// The page shown in place of a local file that is not there: it names the file.
QString MissingFilePage(const QString& path);

}  // namespace web

class TWebBrowser : public QWebEngineView {
  Q_OBJECT

 public:
  explicit TWebBrowser(QWidget* parent = nullptr);
  ~TWebBrowser() override;

  // Shows a local file, given as a plain path; a file that is not there is
  // named on a small page of our own.
  void Navigate(const QString& path);
  void GoBack();
  void GoForward();

  // Offline: every request other than local files, data and our scheme is
  // blocked, and the page shows the engine's error for it.
  void SetOffline(bool offline);
  bool Offline() const;

  QWebEngineProfile* Profile() const { return Profile_; }

 private:
  class OfflineInterceptor;
  class LocalFileHandler;

  QWebEngineProfile* Profile_ = nullptr;
  OfflineInterceptor* Interceptor_ = nullptr;
};
