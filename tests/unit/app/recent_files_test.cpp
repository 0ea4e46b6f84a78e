#include "recent_files.h"

#include <gtest/gtest.h>

#include "ini_file.h"

namespace {

QStringList Paths(std::initializer_list<const char*> names) {
  QStringList list;
  for (const char* name : names) list << QString::fromUtf8(name);
  return list;
}

IniFile EmptyIni() { return IniFile("/nonexistent-folder/vexapro.ini"); }

}  // namespace

TEST(RecentFiles, NewestFirstEachOnceAtMostEight) {
  TRecentFiles recent;
  for (int i = 1; i <= 9; ++i) recent.Add(QStringLiteral("/site/p%1.htm").arg(i));
  EXPECT_EQ(recent.Paths(),
            Paths({"/site/p9.htm", "/site/p8.htm", "/site/p7.htm", "/site/p6.htm", "/site/p5.htm",
                   "/site/p4.htm", "/site/p3.htm", "/site/p2.htm"}));
  // Opening one again moves it up; nothing drops off.
  recent.Add(QStringLiteral("/site/p4.htm"));
  EXPECT_EQ(recent.Paths().size(), 8);
  EXPECT_EQ(recent.Paths().front(), QStringLiteral("/site/p4.htm"));
  EXPECT_EQ(recent.Paths().count(QStringLiteral("/site/p4.htm")), 1);
  EXPECT_EQ(recent.Paths().back(), QStringLiteral("/site/p2.htm"));
  // Names are compared exactly, as the file system does.
  recent.Add(QStringLiteral("/site/P4.htm"));
  EXPECT_EQ(recent.Paths().mid(0, 2), Paths({"/site/P4.htm", "/site/p4.htm"}));
  recent.Remove(QStringLiteral("/site/p4.htm"));
  EXPECT_FALSE(recent.Paths().contains(QStringLiteral("/site/p4.htm")));
  recent.Add(QString());
  EXPECT_FALSE(recent.Paths().contains(QString()));
}

TEST(RecentFiles, KeptInASectionOfItsOwnAfterTheOthers) {
  IniFile ini = EmptyIni();
  ini.WriteString("Vexa options", "Automatic Preview", "1");
  TRecentFiles recent;
  recent.Add(QStringLiteral("/a/b.htm"));
  recent.Add(QString::fromUtf8("/sites/caf\xc3\xa9 & co/index.htm"));
  recent.Write(ini);
  EXPECT_EQ(ini.Text(),
            "[Vexa options]\r\nAutomatic Preview=1\r\n"
            "[Vexa Recent]\r\nFile1=/sites/caf\xc3\xa9 & co/index.htm\r\nFile2=/a/b.htm\r\n"
            "File3=\r\nFile4=\r\nFile5=\r\nFile6=\r\nFile7=\r\nFile8=\r\n");

  TRecentFiles again;
  again.Read(ini);
  EXPECT_EQ(again.Paths(), recent.Paths());

  // A shorter list written over a longer one leaves no old entry behind.
  recent.Remove(QStringLiteral("/a/b.htm"));
  recent.Write(ini);
  again.Read(ini);
  EXPECT_EQ(again.Paths(), recent.Paths());
}

TEST(RecentFiles, AHandEditedSectionReadsSafely) {
  IniFile ini = EmptyIni();
  ini.WriteString("vexa recent", "file2", "/x.htm");
  ini.WriteString("vexa recent", "File3", "/x.htm");
  ini.WriteString("vexa recent", "File9", "/ignored.htm");
  TRecentFiles recent;
  recent.Add(QStringLiteral("/before.htm"));
  recent.Read(ini);
  EXPECT_EQ(recent.Paths(), Paths({"/x.htm"}));
  recent.Read(EmptyIni());
  EXPECT_TRUE(recent.Paths().isEmpty());
}
