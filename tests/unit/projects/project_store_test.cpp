// The project file and the site layout, on real files in temporary folders.
#include "project_store.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "file_test_helpers.h"
#include "paths.h"
#include "special_files.h"
#include "vexa_error.h"

namespace {

using test_files::ErrorOf;
using test_files::Read;
using test_files::Write;

class ProjectStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    qputenv("VEXA_PROGRAM_DIR", (root_.path() + "/program").toLocal8Bit());
    qputenv("VEXA_SHARED_DIR", (root_.path() + "/shared").toLocal8Bit());
    QDir().mkpath(root_.path() + "/program");
    QDir().mkpath(Store());
  }
  QString Store() const { return root_.path() + "/shared/vexapro/projects/"; }
  QString Dir(const QString& name) const { return root_.path() + "/" + name; }
  QStringList StoreFiles() const { return QDir(Store()).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir root_;
};

TEST_F(ProjectStore, WritesOneLineEndedByCrLfAndOverwritesTheSameTitle) {
  const QString path = projects::WriteProjectFile("My Site", "/home/me/site");
  EXPECT_EQ(path, Store() + "My Site.vexa");
  EXPECT_EQ(projects::ProjectFilePath("My Site"), path);
  EXPECT_EQ(Read(path), QByteArray("/home/me/site\r\n"));

  projects::WriteProjectFile("My Site", "/srv/other");
  EXPECT_EQ(Read(path), QByteArray("/srv/other\r\n"));
  EXPECT_EQ(StoreFiles(), QStringList{"My Site.vexa"});
}

TEST_F(ProjectStore, ReadsTheFirstLineOnlyWhateverItsEnd) {
  Write(Store() + "a.vexa", "/a/site\r\nignored\r\n");
  Write(Store() + "b.vexa", "/b/site\nignored");
  Write(Store() + "c.vexa", "/c/site\rignored");
  Write(Store() + "d.vexa", "/d/site");
  Write(Store() + "e.vexa", "\r\n/e/site\r\n");
  EXPECT_EQ(projects::ReadProjectFolder(Store() + "a.vexa"), "/a/site");
  EXPECT_EQ(projects::ReadProjectFolder(Store() + "b.vexa"), "/b/site");
  EXPECT_EQ(projects::ReadProjectFolder(Store() + "c.vexa"), "/c/site");
  EXPECT_EQ(projects::ReadProjectFolder(Store() + "d.vexa"), "/d/site");
  EXPECT_EQ(projects::ReadProjectFolder(Store() + "e.vexa"), "");
}

TEST_F(ProjectStore, FolderNamesOutsideTheLatinPageSurviveTheRoundTrip) {
  const QString folder = QString::fromUtf8("/home/me/Сайт ünd €");
  projects::WriteProjectFile("intl", folder);
  EXPECT_EQ(projects::ReadProjectFolder(Store() + "intl.vexa"), folder);
}

TEST_F(ProjectStore, TitlesThatWouldLeaveTheStoreAreRefusedBeforeAnythingIsWritten) {
  const QString titles[] = {"../escape", "sub/name", "/abs",
                            ".",         "..",       QString("nul") + QChar(0) + "tail"};
  for (const QString& title : titles) {
    EXPECT_EQ(ErrorOf([&] { projects::WriteProjectFile(title, "/x"); }),
              "Cannot create file " + Store() + title + ".vexa")
        << title.toStdString();
  }
  EXPECT_TRUE(StoreFiles().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(root_.path() + "/shared/vexapro/escape.vexa"));
  // Dots inside a title are an ordinary name.
  EXPECT_NO_THROW(projects::WriteProjectFile("v1.2 .. beta", "/x"));
}

TEST_F(ProjectStore, FailuresCarryTheirMessages) {
  QDir(Store()).removeRecursively();
  EXPECT_EQ(ErrorOf([] { projects::WriteProjectFile("site", "/x"); }),
            "Cannot create file " + Store() + "site.vexa");
  EXPECT_EQ(ErrorOf([&] { projects::ReadProjectFolder(Store() + "gone.vexa"); }), "File not found");
}

TEST_F(ProjectStore, LayoutKeepsAnExistingStartPageAndFolders) {
  EXPECT_EQ(projects::StartPage("/srv/site"), "/srv/site/index.htm");
  Write(root_.path() + "/program/index.htm", "<html>shipped</html>\r\n");
  const QString fresh = Dir("fresh");
  QDir().mkpath(fresh);
  projects::LayOutSite(fresh);
  EXPECT_EQ(Read(fresh + "/index.htm"), QByteArray("<html>shipped</html>\r\n"));
  for (const char* sub : {"images", "private", "files"}) {
    EXPECT_TRUE(QFileInfo(fresh + "/" + sub).isDir()) << sub;
  }

  const QString used = Dir("used");
  Write(used + "/index.htm", "my own page");
  Write(used + "/images/logo.gif", "GIF89a");
  projects::LayOutSite(used);
  EXPECT_EQ(Read(used + "/index.htm"), QByteArray("my own page"));
  EXPECT_EQ(Read(used + "/images/logo.gif"), QByteArray("GIF89a"));
  EXPECT_TRUE(QFileInfo(used + "/private").isDir());
  EXPECT_TRUE(QFileInfo(used + "/files").isDir());
}

TEST_F(ProjectStore, LayoutOfAMissingFolderCreatesNothing) {
  Write(root_.path() + "/program/index.htm", "page");
  const QString missing = Dir("no/such/folder");
  EXPECT_NO_THROW(projects::LayOutSite(missing));
  EXPECT_FALSE(QFileInfo::exists(missing));
  EXPECT_FALSE(QFileInfo::exists(Dir("no")));
}

TEST_F(ProjectStore, PlantedLinksAndFifosAreNeitherFollowedNorWaitedFor) {
  // Someone who may write into a shared site folder plants the start page as
  // a link to a file of the user's, and the project store holds a FIFO.
  Write(root_.path() + "/program/index.htm", "shipped page");
  Write(Dir("victim.txt"), "precious");
  const QString site = Dir("site");
  QDir().mkpath(site);
  ASSERT_TRUE(QFile::link(Dir("victim.txt"), site + "/index.htm"));
  ASSERT_TRUE(QFile::link(Dir("created.txt"), Store() + "Linked.vexa"));
  projects::LayOutSite(site);
  EXPECT_EQ(Read(Dir("victim.txt")), QByteArray("precious"));
  EXPECT_EQ(ErrorOf([&] { projects::WriteProjectFile("Linked", site); }),
            "Cannot create file " + Store() + "Linked.vexa");
  EXPECT_FALSE(QFileInfo::exists(Dir("created.txt")));

  const QString fifo = Store() + "Waiting.vexa";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  special_files::FifoWatchdog watchdog(QFile::encodeName(fifo).toStdString());
  EXPECT_EQ(ErrorOf([&] { projects::ReadProjectFolder(fifo); }), "Cannot open file " + fifo);
  EXPECT_EQ(ErrorOf([&] { projects::WriteProjectFile("Waiting", site); }),
            "Cannot create file " + fifo);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_TRUE(S_ISFIFO(special_files::LinkInfo(QFile::encodeName(fifo).toStdString()).st_mode));
}

}  // namespace
