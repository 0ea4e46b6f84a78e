#include "web_browser.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <atomic>

#include <unistd.h>

#include "file_io.h"
#include "paths.h"
#include "text_encoding.h"

namespace web {
namespace {

bool IsNetworkScheme(const QString& scheme) {
  static const QStringList network = {"http", "https", "ftp", "ws", "wss"};
  return network.contains(scheme, Qt::CaseInsensitive);
}

}  // namespace

void PrepareEngine() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (!QWebEngineUrlScheme::schemeByName(kLocalScheme).name().isEmpty()) return;
  QWebEngineUrlScheme scheme(kLocalScheme);
  // Path syntax, like file: relative references resolve against the folder.
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  // A local scheme: pages from the network can neither load nor open these
  // files, while local pages may use each other and plain local files. No
  // cross-origin reads: a page reads local files no further than file: allows.
  scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl LocalFileUrl(const QString& path) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kLocalScheme));
  // Decoded mode: "%", "#" and "?" in a file name are part of the name.
  url.setPath(QFileInfo(path).absoluteFilePath(), QUrl::DecodedMode);
  return url;
}

QByteArray ContentTypeFor(const QString& path) {
  if (paths::Extension(path) == QLatin1String(".vwe")) return QByteArrayLiteral("text/html");
  static const QMimeDatabase database;
  return database.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toLatin1();
}

QByteArray HtmlContentType(std::string_view page) {
  if (encoding::Detect(page) == TTextEncoding::Utf8 && !encoding::DeclaresCharset(page)) {
    return QByteArrayLiteral("text/html;charset=utf-8");
  }
  return QByteArrayLiteral("text/html");
}

bool AllowedOffline(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return scheme == QLatin1String("file") || scheme == QLatin1String("data") ||
         scheme == QLatin1String(kLocalScheme);
}

QString MissingFilePage(const QString& path) {
  const QString name = path.toHtmlEscaped();
  return QStringLiteral(
             "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Missing file</title>"
             "</head><body style=\"font-family:sans-serif\"><h3>Missing file</h3>"
             "<p>The file <b>%1</b> does not exist or cannot be read.</p></body></html>")
      .arg(name);
}

}  // namespace web

// Blocks what may not go out while the browser works offline. The engine asks
// on the user-interface thread; the flag is atomic all the same, as the engine
// gives no promise about that.
class TWebBrowser::OfflineInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    if (Offline.load() && !web::AllowedOffline(info.requestUrl())) info.block(true);
  }

  std::atomic<bool> Offline{false};
};

// Serves local files under our scheme, with the content type of their name
// (".vwe" as HTML), so a page written beside its document finds its pictures.
class TWebBrowser::LocalFileHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

  void requestStarted(QWebEngineUrlRequestJob* job) override {
    // Reading only, and never for a page that came from the network.
    if (job->requestMethod() != "GET" || web::IsNetworkScheme(job->initiator().scheme())) {
      job->fail(QWebEngineUrlRequestJob::RequestDenied);
      return;
    }
    const QString path = job->requestUrl().path(QUrl::FullyDecoded);
    // Only a regular file is served: a FIFO or a device in its place would
    // hold the page, and the whole program, until it ended.
    fileio::ReadResult opened;
    const int fd = fileio::OpenRegularFile(QFile::encodeName(path).toStdString(), opened);
    auto* file = new QFile(job);
    if (fd < 0 || !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
      if (fd >= 0) ::close(fd);
      delete file;
      job->fail(QWebEngineUrlRequestJob::UrlNotFound);
      return;
    }
    QByteArray type = web::ContentTypeFor(path);
    if (type == "text/html") {
      // A page is read as the editor reads it: UTF-8 when its bytes are, unless
      // it names its own character set; code page 1252 otherwise.
      const QByteArray page = file->readAll();
      file->seek(0);
      type = web::HtmlContentType(std::string_view(page.constData(), page.size()));
    }
    job->reply(type, file);
  }
};

TWebBrowser::TWebBrowser(QWidget* parent) : QWebEngineView(parent) {
  // A profile of our own, off the record: nothing the preview shows is kept
  // on disk, and the engine's default profile stays untouched.
  Profile_ = new QWebEngineProfile(this);
  // Documents are single-byte text; pages that declare no encoding are read so.
  Profile_->settings()->setDefaultTextEncoding(QStringLiteral("windows-1252"));
  // A local page may use what it names on the web: hosted stylesheets,
  // pictures, fonts and scripts load while the browser is online; offline the
  // interceptor blocks them.
  Profile_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  Interceptor_ = new OfflineInterceptor(Profile_);
  Profile_->setUrlRequestInterceptor(Interceptor_);
  Profile_->installUrlSchemeHandler(web::kLocalScheme, new LocalFileHandler(Profile_));

  auto* page = new QWebEnginePage(Profile_, this);
  // Links that ask for a new window open here, in the same view.
  connect(page, &QWebEnginePage::newWindowRequested, this,
          [this](QWebEngineNewWindowRequest& request) { load(request.requestedUrl()); });
  setPage(page);
}

TWebBrowser::~TWebBrowser() {
  // The page goes first: a profile must outlive every page that uses it.
  delete page();
}

void TWebBrowser::Navigate(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile() || !file.isReadable()) {
    setHtml(web::MissingFilePage(path), web::LocalFileUrl(path));
    return;
  }
  load(web::LocalFileUrl(path));
}
void TWebBrowser::GoBack() { back(); }
void TWebBrowser::GoForward() { forward(); }
void TWebBrowser::SetOffline(bool offline) { Interceptor_->Offline.store(offline); }
bool TWebBrowser::Offline() const { return Interceptor_->Offline.load(); }
