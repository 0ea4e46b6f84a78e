// Addresses and content types of the local files the browser shows, and what
// may go out while it works offline.
#include <gtest/gtest.h>

#include "web_browser.h"

namespace {

TEST(WebAddress, LocalFileRoundTripsEveryCharacterOfItsPath) {
  for (const QString& path : {QStringLiteral("/srv/site/temp.vwe"),
                             QStringLiteral("/home/u/my site #1 100%/a?b.htm"),
                             QString::fromUtf8("/home/u/caf\u00e9/index.htm")}) {
    const QUrl url = web::LocalFileUrl(path);
    EXPECT_EQ(url.scheme(), QString::fromLatin1(web::kLocalScheme));
    EXPECT_EQ(url.path(QUrl::FullyDecoded), path) << path.toStdString();
    EXPECT_FALSE(url.hasQuery());
    EXPECT_FALSE(url.hasFragment());
  }
}

TEST(WebAddress, RelativeReferencesResolveInTheFilesFolder) {
  const QUrl page = web::LocalFileUrl(QStringLiteral("/srv/my site/temp.vwe"));
  EXPECT_EQ(page.resolved(QUrl(QStringLiteral("images/x.jpg"))).path(),
            QStringLiteral("/srv/my site/images/x.jpg"));
}

TEST(WebAddress, PreviewPagesAreHtmlWhateverTheirExtension) {
  EXPECT_EQ(web::ContentTypeFor(QStringLiteral("/a/temp.vwe")), QByteArray("text/html"));
  EXPECT_EQ(web::ContentTypeFor(QStringLiteral("/a/page.htm")), QByteArray("text/html"));
  EXPECT_EQ(web::ContentTypeFor(QStringLiteral("/a/images/x.jpg")), QByteArray("image/jpeg"));
  EXPECT_EQ(web::ContentTypeFor(QStringLiteral("/a/style.css")), QByteArray("text/css"));
  // The extension is compared exactly, as everywhere else in the editor.
  EXPECT_NE(web::ContentTypeFor(QStringLiteral("/a/temp.VWE")), QByteArray("text/html"));
}

TEST(WebAddress, OfflineLetsOnlyLocalContentThrough) {
  EXPECT_TRUE(web::AllowedOffline(QUrl(QStringLiteral("file:///srv/a.htm"))));
  EXPECT_TRUE(web::AllowedOffline(QUrl(QStringLiteral("data:text/html,<p>x</p>"))));
  EXPECT_TRUE(web::AllowedOffline(web::LocalFileUrl(QStringLiteral("/srv/a.htm"))));
  EXPECT_FALSE(web::AllowedOffline(QUrl(QStringLiteral("http://127.0.0.1/"))));
  EXPECT_FALSE(web::AllowedOffline(QUrl(QStringLiteral("https://example.com/x.png"))));
  EXPECT_FALSE(web::AllowedOffline(QUrl(QStringLiteral("ws://example.com/"))));
}

}  // namespace
