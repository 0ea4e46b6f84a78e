#include "ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "special_files.h"

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vexa_ini_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    path_ = (dir_ / "vexapro.ini").string();
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  void Put(const std::string& content) const { std::ofstream(path_, std::ios::binary) << content; }
  std::string Get() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
  std::string path_;
};

TEST_F(IniFileTest, ReadsNamesWithoutRegardToCaseAndValuesAfterTheFirstEquals) {
  Put("orphan=1\r\n"
      "; a comment\r\n"
      "[Vexa Options]\r\n"
      "automatic preview=1\r\n"
      "Qlist1=/a=b/c.qvw\n"
      "  Word Wrap  =  yes \r"
      "Empty=\r\n"
      "automatic preview=0\r\n"
      "[\xC9t\xC9]\n"
      "K\xC9Y=accent\n"
      "[vexa options]\n"
      "Later=1");
  const IniFile ini(path_);
  EXPECT_EQ(ini.ReadString("Vexa options", "Automatic Preview", "d"), "1");
  EXPECT_EQ(ini.ReadString("VEXA OPTIONS", "qlist1", "d"), "/a=b/c.qvw");
  EXPECT_EQ(ini.ReadString("Vexa options", "Word Wrap", "d"), "yes");
  EXPECT_EQ(ini.ReadString("Vexa options", "Empty", "d"), "");
  EXPECT_EQ(ini.ReadString("\xE9t\xE9", "k\xE9y", "d"), "accent");
  // Only the first section of a name counts; a key before any section is no key.
  EXPECT_EQ(ini.ReadString("Vexa options", "Later", "d"), "d");
  EXPECT_EQ(ini.ReadString("", "orphan", "d"), "d");
  EXPECT_EQ(ini.ReadString("Vexa options", "Missing", "d"), "d");
  EXPECT_EQ(ini.ReadString("Missing", "Empty", "d"), "d");
}

TEST_F(IniFileTest, ReadsIntegersOrTheDefault) {
  Put("[N]\r\n"
      "dec=123\r\nneg=-45\r\nplus=+7\r\nblank= 8 \r\n"
      "hex=0x1F\r\nHEX=0X1f\r\ndollar=$ff\r\nnegdollar=-$10\r\nall=$FFFFFFFF\r\n"
      "min=-2147483648\r\nmax=2147483647\r\n"
      "over=2147483648\r\nhexover=$100000000\r\nbare0x=0x\r\nbaredollar=$\r\n"
      "unit=12px\r\nword=yes\r\nempty=\r\nspaced=1 2\r\n");
  const IniFile ini(path_);
  const std::pair<const char*, int> cases[] = {
      {"dec", 123},     {"neg", -45},    {"plus", 7},        {"blank", 8},    {"hex", 31},
      {"HEX", 31},      {"dollar", 255}, {"negdollar", -16}, {"all", -1},     {"min", INT_MIN},
      {"max", INT_MAX}, {"over", -99},   {"hexover", -99},   {"bare0x", -99}, {"baredollar", -99},
      {"unit", -99},    {"word", -99},   {"empty", -99},     {"spaced", -99}, {"missing", -99}};
  for (const auto& [key, value] : cases) EXPECT_EQ(ini.ReadInteger("N", key, -99), value) << key;
}

TEST_F(IniFileTest, WritesInPlaceAtSectionEndOrInANewSectionAndKeepsTheRest) {
  Put("; settings\n"
      "[Vexa options]\n"
      "Unknown=keep me\n"
      "WORD WRAP=0\n"
      "Automatic Preview=1\n"
      "\n"
      "[Other]\r"
      "x=1\r"
      "\r"
      "\r"
      "[Vexa Interface]\n"
      "Height=10");
  IniFile ini(path_);
  ini.WriteString("vexa options", "Word Wrap", "1");
  ini.WriteString("Vexa options", "Show Project Start", "0");
  ini.WriteString("other", "y", "2");
  ini.WriteInteger("Vexa Interface", "Width", -5);
  ini.WriteString("Vexa Manager options", "Qlist1", " /with blanks/ ");
  ini.Save();
  EXPECT_EQ(Get(),
            "; settings\r\n"
            "[Vexa options]\r\n"
            "Unknown=keep me\r\n"
            "Word Wrap=1\r\n"
            "Automatic Preview=1\r\n"
            "Show Project Start=0\r\n"
            "\r\n"
            "[Other]\r\n"
            "x=1\r\n"
            "y=2\r\n"
            "\r\n"
            "\r\n"
            "[Vexa Interface]\r\n"
            "Height=10\r\n"
            "Width=-5\r\n"
            "[Vexa Manager options]\r\n"
            "Qlist1= /with blanks/ \r\n");
}

TEST_F(IniFileTest, LineBreaksInAValueCannotInjectLines) {
  IniFile ini(path_);
  ini.WriteString("Vexa Manager options", "Qlist1", "/odd\nname\r\n[Vexa Interface]\r\nHeight=1");
  ini.Save();
  const IniFile again(path_);
  EXPECT_EQ(again.ReadString("Vexa Manager options", "Qlist1", "d"), "/odd");
  EXPECT_EQ(again.ReadString("Vexa Interface", "Height", "d"), "d");
  EXPECT_EQ(Get(), "[Vexa Manager options]\r\nQlist1=/odd\r\n");
}

TEST_F(IniFileTest, EachSaveCreatesTheFileOrChangesOneKey) {
  const auto writeOne = [this](const char* section, const char* key, const char* value) {
    IniFile file(path_);
    file.WriteString(section, key, value);
    file.Save();
  };
  writeOne("S", "a", "1");
  writeOne("S", "b", "2");
  writeOne("s", "A", "9");
  writeOne("T", "c", "3");
  EXPECT_EQ(Get(), "[S]\r\nA=9\r\nb=2\r\n[T]\r\nc=3\r\n");
}

TEST_F(IniFileTest, FailedSaveNamesThePathAndLeavesNothingBehind) {
  const std::string inMissingFolder = (dir_ / "no such folder" / "vexapro.ini").string();
  IniFile ini(inMissingFolder);
  ini.WriteString("A", "k", "v");
  try {
    ini.Save();
    FAIL() << "saved into a folder that does not exist";
  } catch (const IniWriteError& e) {
    EXPECT_EQ(e.Path(), inMissingFolder);
  }

  // A folder where the file should be: the temporary file is written, the
  // replacement fails, and the temporary file is removed again.
  fs::create_directory(path_);
  IniFile onFolder(path_);
  onFolder.WriteString("A", "k", "v");
  EXPECT_THROW(onFolder.Save(), IniWriteError);
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(IniFileTest, ProtectedFilesAndFoldersAreNotWritten) {
  Put("[A]\r\nk=old\r\n");
  IniFile ini(path_);
  ini.WriteString("A", "k", "new");
  auto refused = [&] {
    try {
      ini.Save();
    } catch (const IniWriteError&) {
      return true;
    }
    return false;
  };
  // A folder that cannot be written, the file in it writable or not.
  EXPECT_TRUE(special_files::InReadOnlyFolder(dir_.string(), {}, refused));
  EXPECT_TRUE(special_files::InReadOnlyFolder(dir_.string(), {path_}, refused));
  EXPECT_EQ(Get(), "[A]\r\nk=old\r\n");

  if (special_files::IsSuperuser()) return;  // the superuser reads any file
  // A file that exists but cannot be read must not be replaced by a few keys.
  // The superuser reads every file, so this holds for other users only.
  if (::geteuid() == 0) return;
  ::chmod(path_.c_str(), 0200);
  IniFile unreadable(path_);
  EXPECT_EQ(unreadable.ReadString("A", "k", "d"), "d");
  unreadable.WriteString("A", "k", "new");
  EXPECT_THROW(unreadable.Save(), IniWriteError);
  ::chmod(path_.c_str(), 0644);
  EXPECT_EQ(Get(), "[A]\r\nk=old\r\n");
}

TEST_F(IniFileTest, AFifoInPlaceOfTheFileReadsAsEmptyAndIsNeverReplaced) {
  ASSERT_EQ(::mkfifo(path_.c_str(), 0644), 0);
  special_files::FifoWatchdog watchdog(path_);
  IniFile ini(path_);
  EXPECT_FALSE(watchdog.Fired()) << "the read waited for a writer";
  EXPECT_EQ(ini.ReadString("Vexa options", "Word Wrap", "default"), "default");
  ini.WriteString("Vexa options", "Word Wrap", "1");
  EXPECT_THROW(ini.Save(), IniWriteError);
  struct stat st {};
  ASSERT_EQ(::lstat(path_.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(IniFileTest, ASettingsFileKeptElsewhereThroughALinkIsWrittenThere) {
  fs::create_directory(dir_ / "elsewhere");
  const std::string target = (dir_ / "elsewhere" / "my.ini").string();
  special_files::Put(target, "[A]\r\nk=old\r\n[Mine]\r\nx=1\r\n");
  ASSERT_EQ(::symlink(target.c_str(), path_.c_str()), 0);
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "old");
  ini.WriteString("A", "k", "new");
  ini.Save();
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(special_files::Slurp(target), "[A]\r\nk=new\r\n[Mine]\r\nx=1\r\n");
}

TEST_F(IniFileTest, SaveKeepsTheFilesPermissions) {
  Put("[A]\r\nk=old\r\n");
  ::chmod(path_.c_str(), 0640);
  IniFile ini(path_);
  ini.WriteString("A", "k", "new");
  ini.Save();
  struct stat st {};
  ASSERT_EQ(::stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Get(), "[A]\r\nk=new\r\n");
  EXPECT_EQ(FilesInFolder(), 1u);
}

}  // namespace
