// Quick-code list files on disk: reading, writing back, and the user-list path.
#include "list_files.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "file_test_helpers.h"
#include "special_files.h"
#include "vexa_error.h"

namespace {

using test_files::ErrorOf;
using test_files::Read;
using test_files::Write;

class ListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    qputenv("VEXA_PROGRAM_DIR", root_.path().toLocal8Bit());
    QDir().mkpath(Qcode());
  }
  QString Qcode() const { return root_.path() + "/qcode/"; }

  QTemporaryDir root_;
};

TEST_F(ListFiles, ReadsEntriesAndWritesThemBackWithCrLf) {
  const QString path = Qcode() + "mixed.qvu";
  Write(path, QByteArray("<b></b>\r\n\r\n<i>\ttab</i>\r<u>\nlast without break"));
  const QStringList entries = quickcode::ReadListFile(path);
  EXPECT_EQ(entries, (QStringList{"<b></b>", "", "<i>\ttab</i>", "<u>", "last without break"}));

  quickcode::WriteListFile(path, entries);
  EXPECT_EQ(Read(path), QByteArray("<b></b>\r\n\r\n<i>\ttab</i>\r\n<u>\r\nlast without break\r\n"));
}

TEST_F(ListFiles, EveryByteOfTheCodePageSurvivesReadAndWrite) {
  QByteArray line;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') line += static_cast<char>(b);
  }
  const QString path = Qcode() + "bytes.qvw";
  Write(path, line + "\r\n");
  const QStringList entries = quickcode::ReadListFile(path);
  ASSERT_EQ(entries.size(), 1);
  EXPECT_EQ(entries[0][0x80 - 1 - 2], QChar(0x20AC));  // 0x80 is the euro sign
  quickcode::WriteListFile(path, entries);
  EXPECT_EQ(Read(path), line + "\r\n");
}

TEST_F(ListFiles, ReadingStopsAtNul) {
  const QString path = Qcode() + "nul.qvw";
  Write(path, QByteArray("<p>\r\n<br>\0<hr>\r\n", 16));
  EXPECT_EQ(quickcode::ReadListFile(path), (QStringList{"<p>", "<br>"}));
}

TEST_F(ListFiles, FailuresNameThePath) {
  EXPECT_EQ(ErrorOf([&] { quickcode::ReadListFile(Qcode() + "none.qvw"); }),
            "Cannot open file " + Qcode() + "none.qvw");
  EXPECT_EQ(ErrorOf([&] { quickcode::ReadListFile(QString()); }), "Cannot open file ");

  const QString missingFolder = root_.path() + "/gone/list.qvu";
  EXPECT_EQ(ErrorOf([&] { quickcode::WriteListFile(missingFolder, {"a"}); }),
            "Cannot create file " + missingFolder);
}

TEST_F(ListFiles, UserListsGoIntoTheQuickCodeFolderUnderPlainNamesOnly) {
  EXPECT_EQ(quickcode::UserListPath("mine"), Qcode() + "mine.qvu");
  EXPECT_EQ(quickcode::UserListPath("my list.v2"), Qcode() + "my list.v2.qvu");
  EXPECT_EQ(quickcode::DefaultList1Path(), Qcode() + "html1.qvw");
  EXPECT_EQ(quickcode::DefaultList2Path(), Qcode() + "html2.qvw");
  const QString refused[] = {"../mine", "a/b", ".", "..", QString("x") + QChar(0)};
  for (const QString& name : refused) {
    EXPECT_EQ(ErrorOf([&] { quickcode::UserListPath(name); }),
              "Cannot create file " + Qcode() + name + ".qvu")
        << name.toStdString();
  }
}

TEST_F(ListFiles, PlantedLinksAndFifosAreNeitherFollowedNorWaitedFor) {
  Write(root_.path() + "/victim.txt", "precious");
  const QString linked = Qcode() + "mine.qvu";
  ASSERT_TRUE(QFile::link(root_.path() + "/victim.txt", linked));
  EXPECT_EQ(ErrorOf([&] { quickcode::WriteListFile(linked, {"<b>"}); }),
            "Cannot create file " + linked);
  EXPECT_EQ(Read(root_.path() + "/victim.txt"), QByteArray("precious"));
  EXPECT_TRUE(QFileInfo(linked).isSymLink());

  const QString fifo = Qcode() + "html1.qvw";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  special_files::FifoWatchdog watchdog(QFile::encodeName(fifo).toStdString());
  EXPECT_EQ(ErrorOf([&] { quickcode::ReadListFile(fifo); }), "Cannot open file " + fifo);
  EXPECT_FALSE(watchdog.Fired());
}

}  // namespace
