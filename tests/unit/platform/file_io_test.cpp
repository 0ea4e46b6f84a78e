#include "file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "special_files.h"

namespace fs = std::filesystem;
using namespace special_files;
using fileio::CopyStatus;
using fileio::LinkRule;
using fileio::ReadStatus;
using fileio::WriteStatus;

namespace {

class FileIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vexa_io_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0755);
    fs::remove_all(dir_);
  }

  std::string At(const std::string& name) const { return dir_ + "/" + name; }
  std::string Fifo(const std::string& name) const {
    const std::string path = At(name);
    EXPECT_EQ(::mkfifo(path.c_str(), 0666), 0);
    return path;
  }
  std::size_t Entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  std::string dir_;
};

// ------------------------------------------------------------------ reading

TEST_F(FileIoTest, ReadsRegularFilesAndLinksToThemWhole) {
  const std::string bytes("a\0b\r\n\xff", 6);
  Put(At("page.htm"), bytes);
  ASSERT_EQ(::symlink("page.htm", At("link.htm").c_str()), 0);
  for (const char* name : {"page.htm", "link.htm"}) {
    std::string got;
    const fileio::ReadResult r = fileio::ReadRegularFile(At(name), got);
    EXPECT_EQ(r.Status, ReadStatus::Ok) << name;
    EXPECT_EQ(got, bytes) << name;
  }
  std::string got = "left over";
  EXPECT_EQ(fileio::ReadRegularFile(At("missing.htm"), got).Status, ReadStatus::Missing);
  EXPECT_EQ(fileio::ReadRegularFile(At("page.htm/x"), got).Status, ReadStatus::Missing);
  EXPECT_EQ(got, "");
}

TEST_F(FileIoTest, FifosDevicesAndFoldersAreNeverReadNorWaitedFor) {
  const std::string fifo = Fifo("page.htm");
  ASSERT_EQ(::symlink("page.htm", At("link.htm").c_str()), 0);
  FifoWatchdog watchdog(fifo);
  std::string got;
  for (const std::string& path :
       {fifo, At("link.htm"), std::string("/dev/zero"), std::string("/dev/null"), dir_}) {
    const fileio::ReadResult r = fileio::ReadRegularFile(path, got);
    EXPECT_EQ(r.Status, ReadStatus::NotRegular) << path;
    EXPECT_EQ(r.Error, path == dir_ ? EISDIR : EINVAL) << path;
  }
  EXPECT_EQ(fileio::ReadFirstLine(fifo, got).Status, ReadStatus::NotRegular);
  EXPECT_FALSE(watchdog.Fired()) << "a read waited on the FIFO";
}

TEST_F(FileIoTest, FilesBeyondTheLimitAreRefusedWithoutBeingRead) {
  // A sparse file of 2 GiB takes no room on disk and would take 2 GiB of memory.
  const std::string big = At("big.pas");
  { std::ofstream(big, std::ios::binary); }
  ASSERT_EQ(::truncate(big.c_str(), std::int64_t{1} << 31), 0);
  std::string got;
  fileio::ReadResult r = fileio::ReadRegularFile(big, got);
  EXPECT_EQ(r.Status, ReadStatus::TooLarge);
  EXPECT_EQ(r.Error, EFBIG);
  EXPECT_EQ(r.Size, std::uint64_t{1} << 31);
  EXPECT_TRUE(r.SizeKnown);
  EXPECT_EQ(fileio::kMaxTextBytes, 2147483647u);

  Put(At("five"), "12345");
  EXPECT_EQ(fileio::ReadRegularFile(At("five"), got, 4).Status, ReadStatus::TooLarge);
  EXPECT_EQ(fileio::ReadRegularFile(At("five"), got, 5).Status, ReadStatus::Ok);
  EXPECT_EQ(got, "12345");
}

TEST_F(FileIoTest, EndlessStreamsEndAtTheLimit) {
  const int zero = ::open("/dev/zero", O_RDONLY);
  ASSERT_GE(zero, 0);
  std::string got;
  fileio::ReadResult r = fileio::ReadDescriptor(zero, got, 1 << 20);
  ::close(zero);
  EXPECT_EQ(r.Status, ReadStatus::TooLarge);
  EXPECT_GT(r.Size, std::uint64_t{1} << 20);
  EXPECT_FALSE(r.SizeKnown);
  EXPECT_TRUE(got.empty());

  // A pipe is read to its end, in as many pieces as it comes.
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  std::thread writer([&] {
    const std::string piece(100000, 'x');
    for (int i = 0; i < 5; ++i) EXPECT_EQ(::write(pipeFds[1], piece.data(), piece.size()), 100000);
    ::close(pipeFds[1]);
  });
  r = fileio::ReadDescriptor(pipeFds[0], got);
  writer.join();
  ::close(pipeFds[0]);
  EXPECT_EQ(r.Status, ReadStatus::Ok);
  EXPECT_EQ(got, std::string(500000, 'x'));
}

TEST_F(FileIoTest, FirstLineEndsAtAnyLineEnd) {
  std::string line;
  for (const char* content :
       {"/opt/tool/\r\nrest", "/opt/tool/\nrest", "/opt/tool/\rrest", "/opt/tool/"}) {
    Put(At("marker.tcb"), content);
    EXPECT_EQ(fileio::ReadFirstLine(At("marker.tcb"), line).Status, ReadStatus::Ok);
    EXPECT_EQ(line, "/opt/tool/") << content;
  }
  Put(At("long.tcb"), std::string(10000, 'a') + "\n");
  EXPECT_EQ(fileio::ReadFirstLine(At("long.tcb"), line).Status, ReadStatus::Ok);
  EXPECT_EQ(line.size(), 10000u);
  EXPECT_EQ(fileio::ReadFirstLine(At("long.tcb"), line, 9999).Status, ReadStatus::TooLarge);
  const fileio::ReadResult missing = fileio::ReadFirstLine(At("none.tcb"), line);
  EXPECT_EQ(missing.Status, ReadStatus::Missing);
  EXPECT_EQ(missing.Error, ENOENT);
}

// ------------------------------------------- writing under the program's names

TEST_F(FileIoTest, OwnFilesAreNeverWrittenThroughALinkOrOntoSomethingElse) {
  Put(At("victim.txt"), "precious");
  // What another user may plant in a shared folder under the scratch name.
  ASSERT_EQ(::symlink("victim.txt", At("temp.vwe").c_str()), 0);
  ASSERT_EQ(::symlink("created.txt", At("dangling.vwe").c_str()), 0);
  const std::string fifo = Fifo("fifo.vwe");
  fs::create_directory(At("folder.vwe"));
  for (const char* name : {"temp.vwe", "dangling.vwe", "fifo.vwe", "folder.vwe"}) {
    EXPECT_EQ(fileio::WriteOwnFile(At(name), "page text").Status, WriteStatus::Refused) << name;
  }
  EXPECT_EQ(Slurp(At("victim.txt")), "precious");
  EXPECT_FALSE(fs::exists(At("created.txt")));
  EXPECT_TRUE(fs::is_symlink(At("temp.vwe")));
  EXPECT_TRUE(S_ISFIFO(LinkInfo(fifo).st_mode));
  EXPECT_FALSE(FifoHasReader(fifo));
  EXPECT_EQ(Entries(), 5u) << "a temporary file was left behind";

  // A link is refused even when the user made it, unless the rule follows it.
  EXPECT_EQ(fileio::WriteOwnFile(At("temp.vwe"), "x", LinkRule::Never).Status,
            WriteStatus::Refused);
}

TEST_F(FileIoTest, AnotherUsersFileOrLinkIsRefused) {
  if (!IsSuperuser()) GTEST_SKIP() << "only the superuser can give a file away";
  Put(At("temp.vwe"), "theirs");
  ASSERT_EQ(::chown(At("temp.vwe").c_str(), kOtherUser, kOtherGroup), 0);
  EXPECT_EQ(fileio::WriteOwnFile(At("temp.vwe"), "mine").Status, WriteStatus::Refused);
  EXPECT_EQ(Slurp(At("temp.vwe")), "theirs");

  Put(At("target.ini"), "old");
  ASSERT_EQ(::symlink("target.ini", At("vexapro.ini").c_str()), 0);
  ASSERT_EQ(::lchown(At("vexapro.ini").c_str(), kOtherUser, kOtherGroup), 0);
  EXPECT_EQ(fileio::WriteOwnFile(At("vexapro.ini"), "new", LinkRule::UsersOwn).Status,
            WriteStatus::Refused);
  EXPECT_EQ(Slurp(At("target.ini")), "old");
}

TEST_F(FileIoTest, OwnFilesAreReplacedWholeKeepingTheirMode) {
  Put(At("list.qvu"), "old");
  ::chmod(At("list.qvu").c_str(), 0640);
  ASSERT_EQ(::link(At("list.qvu").c_str(), At("other name").c_str()), 0);
  ASSERT_EQ(fileio::WriteOwnFile(At("list.qvu"), "new").Status, WriteStatus::Ok);
  EXPECT_EQ(Slurp(At("list.qvu")), "new");
  EXPECT_EQ(LinkInfo(At("list.qvu")).st_mode & 0777, 0640u);
  // The new file takes the name: whatever else shared the old one keeps it.
  EXPECT_EQ(Slurp(At("other name")), "old");
  ASSERT_EQ(fileio::WriteOwnFile(At("new.vexa"), "folder\r\n").Status, WriteStatus::Ok);
  EXPECT_EQ(Slurp(At("new.vexa")), "folder\r\n");
  EXPECT_EQ(Entries(), 3u);
  EXPECT_EQ(fileio::WriteOwnFile(At("no such folder/x.vexa"), "x").Status, WriteStatus::Failed);
}

TEST_F(FileIoTest, TheUsersOwnLinkIsWrittenThroughInOneStepAtItsTarget) {
  fs::create_directory(At("elsewhere"));
  Put(At("elsewhere/settings.ini"), "old");
  ASSERT_EQ(::symlink("elsewhere/settings.ini", At("vexapro.ini").c_str()), 0);
  const ino_t before = LinkInfo(At("elsewhere/settings.ini")).st_ino;
  ASSERT_EQ(fileio::WriteOwnFile(At("vexapro.ini"), "new", LinkRule::UsersOwn).Status,
            WriteStatus::Ok);
  EXPECT_TRUE(fs::is_symlink(At("vexapro.ini")));
  EXPECT_EQ(Slurp(At("elsewhere/settings.ini")), "new");
  EXPECT_NE(LinkInfo(At("elsewhere/settings.ini")).st_ino, before) << "not replaced whole";
  EXPECT_EQ(std::distance(fs::directory_iterator(At("elsewhere")), fs::directory_iterator()), 1);
}

// --------------------------------------------------- writing the user's files

TEST_F(FileIoTest, SaveGoesThroughTheUsersLinkButNeverOntoAFifoOrDevice) {
  Put(At("real.htm"), "old");
  ASSERT_EQ(::symlink("real.htm", At("page.htm").c_str()), 0);
  ASSERT_EQ(fileio::WriteUserFile(At("page.htm"), "new").Status, WriteStatus::Ok);
  EXPECT_TRUE(fs::is_symlink(At("page.htm")));
  EXPECT_EQ(Slurp(At("real.htm")), "new");

  const std::string fifo = Fifo("pipe.htm");
  ASSERT_EQ(::symlink("pipe.htm", At("to pipe.htm").c_str()), 0);
  std::vector<std::string> refused = {fifo, At("to pipe.htm"), dir_};
  if (IsSuperuser()) {
    // A device node of our own: a mistake here must not cost the system its /dev/null.
    ASSERT_EQ(::mknod(At("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    refused.push_back(At("null"));
  }
  for (const std::string& path : refused) {
    EXPECT_EQ(fileio::WriteUserFile(path, "text").Status, WriteStatus::Refused) << path;
  }
  EXPECT_TRUE(S_ISFIFO(LinkInfo(fifo).st_mode));
  if (IsSuperuser()) {
    EXPECT_TRUE(S_ISCHR(LinkInfo(At("null")).st_mode));
  }
}

TEST_F(FileIoTest, SaveReplacesTheUsersOwnSingleFileAndKeepsItsModeGroupAndAttributes) {
  Put(At("page.htm"), "old");
  ::chmod(At("page.htm").c_str(), 0604);
  const bool otherGroup = IsSuperuser();
  if (otherGroup) {
    ASSERT_EQ(::chown(At("page.htm").c_str(), -1, kOtherGroup), 0);
  }
  const bool attributes = ::setxattr(At("page.htm").c_str(), "user.origin", "site", 4, 0) == 0;
  const ino_t before = LinkInfo(At("page.htm")).st_ino;

  const fileio::WriteResult r = fileio::WriteUserFile(At("page.htm"), "new text");
  ASSERT_EQ(r.Status, WriteStatus::Ok);
  EXPECT_FALSE(r.InPlace);
  const struct stat after = LinkInfo(At("page.htm"));
  EXPECT_NE(after.st_ino, before);
  EXPECT_EQ(Slurp(At("page.htm")), "new text");
  EXPECT_EQ(after.st_mode & 07777, 0604u);
  if (otherGroup) {
    EXPECT_EQ(after.st_gid, kOtherGroup);
  }
  if (attributes) {
    char value[8] = {};
    EXPECT_EQ(::getxattr(At("page.htm").c_str(), "user.origin", value, sizeof value), 4);
    EXPECT_STREQ(value, "site");
  }
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileIoTest, SaveWritesInPlaceWhereARenameWouldChangeTheFile) {
  // A file with two names: both see the saved text.
  Put(At("page.htm"), "old old old");
  ASSERT_EQ(::link(At("page.htm").c_str(), At("copy.htm").c_str()), 0);
  const ino_t before = LinkInfo(At("page.htm")).st_ino;
  fileio::WriteResult r = fileio::WriteUserFile(At("page.htm"), "new");
  ASSERT_EQ(r.Status, WriteStatus::Ok);
  EXPECT_TRUE(r.InPlace);
  EXPECT_EQ(LinkInfo(At("page.htm")).st_ino, before);
  EXPECT_EQ(Slurp(At("copy.htm")), "new");

  if (IsSuperuser()) {
    // The superuser saving someone else's file leaves it theirs.
    Put(At("theirs.htm"), "old");
    ASSERT_EQ(::chown(At("theirs.htm").c_str(), kOtherUser, kOtherGroup), 0);
    r = fileio::WriteUserFile(At("theirs.htm"), "new and longer");
    ASSERT_EQ(r.Status, WriteStatus::Ok);
    EXPECT_TRUE(r.InPlace);
    EXPECT_EQ(LinkInfo(At("theirs.htm")).st_uid, kOtherUser);
    EXPECT_EQ(LinkInfo(At("theirs.htm")).st_gid, kOtherGroup);
    EXPECT_EQ(Slurp(At("theirs.htm")), "new and longer");
  }
}

TEST_F(FileIoTest, SaveInAFolderThatCannotBeWrittenGoesIntoTheFileOrFailsLeavingIt) {
  Put(At("page.htm"), "old text");
  Put(At("locked.htm"), "locked text");
  const std::string page = At("page.htm");
  const std::string locked = At("locked.htm");
  EXPECT_TRUE(InReadOnlyFolder(dir_, {page}, [&] {
    const fileio::WriteResult r = fileio::WriteUserFile(page, "new");
    return r.Status == WriteStatus::Ok && r.InPlace;
  }));
  EXPECT_EQ(Slurp(page), "new");
  EXPECT_TRUE(InReadOnlyFolder(dir_, {page}, [&] {
    return fileio::WriteUserFile(locked, "x").Status == WriteStatus::Failed &&
           fileio::WriteUserFile(At("new.htm"), "x").Status == WriteStatus::Failed;
  }));
  EXPECT_EQ(Slurp(locked), "locked text");
  EXPECT_FALSE(fs::exists(At("new.htm")));
}

TEST_F(FileIoTest, ATextWithoutRoomIsReportedAndTheOldFileStays) {
  // Writes beyond a few bytes fail, for the superuser too, as on a full disk.
  Put(At("page.htm"), "old");
  Put(At("shared.htm"), "old");
  ASSERT_EQ(::link(At("shared.htm").c_str(), At("shared copy.htm").c_str()), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8, 8};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const bool ok =
        fileio::WriteUserFile(At("page.htm"), "much longer text").Status == WriteStatus::Failed &&
        fileio::WriteUserFile(At("shared.htm"), "much longer text").Status == WriteStatus::Failed &&
        fileio::WriteOwnFile(At("page.htm"), "much longer text").Status == WriteStatus::Failed;
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Slurp(At("page.htm")), "old");
  EXPECT_EQ(Slurp(At("shared.htm")), "old");
  EXPECT_EQ(Entries(), 3u);
}

// ------------------------------------------------------------------- copies

TEST_F(FileIoTest, CopiesGoOnlyToAFreeName) {
  Put(At("picture.png"), std::string("\x89PNG\0data", 9));
  ::chmod(At("picture.png").c_str(), 0644);
  EXPECT_EQ(fileio::CopyToNewFile(At("picture.png"), At("copy.png")), CopyStatus::Copied);
  EXPECT_EQ(Slurp(At("copy.png")), Slurp(At("picture.png")));
  EXPECT_EQ(LinkInfo(At("copy.png")).st_mode & 0777, 0644u);

  Put(At("index.htm"), "the user's page");
  ASSERT_EQ(::symlink("victim.htm", At("planted.htm").c_str()), 0);
  EXPECT_EQ(fileio::CopyToNewFile(At("picture.png"), At("index.htm")), CopyStatus::Taken);
  EXPECT_EQ(fileio::CopyToNewFile(At("picture.png"), At("planted.htm")), CopyStatus::Taken);
  EXPECT_EQ(Slurp(At("index.htm")), "the user's page");
  EXPECT_FALSE(fs::exists(At("victim.htm")));

  const std::string fifo = Fifo("pipe.png");
  FifoWatchdog watchdog(fifo);
  EXPECT_EQ(fileio::CopyToNewFile(fifo, At("from pipe.png")), CopyStatus::SourceUnreadable);
  EXPECT_EQ(fileio::CopyToNewFile(At("none.png"), At("from none.png")),
            CopyStatus::SourceUnreadable);
  EXPECT_EQ(fileio::CopyToNewFile(At("picture.png"), At("no folder/x.png")), CopyStatus::Failed);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_EQ(Entries(), 5u);
}

// ------------------------------------------------------------------- reasons

// What the system calls a folder that cannot be written: the superuser's
// read-only folder is a read-only mount.
int ReadOnlyFolderError() { return IsSuperuser() ? EROFS : EACCES; }

TEST_F(FileIoTest, EveryFailedWriteSaysWhatStoodInTheWay) {
  Put(At("victim.txt"), "precious");
  ASSERT_EQ(::symlink("victim.txt", At("link.vwe").c_str()), 0);
  Fifo("fifo.htm");
  fs::create_directory(At("folder.htm"));
  struct Case {
    std::string Path;
    bool Own;  // a name the program chose, else one the user named
    std::string Reason;
  };
  std::vector<Case> cases = {
      {At("link.vwe"), true, "A symbolic link is in the way"},
      {At("fifo.htm"), true, "A FIFO (named pipe) is in the way"},
      {At("fifo.htm"), false, "A FIFO (named pipe) is in the way"},
      {At("folder.htm"), true, "A folder is in the way"},
      {At("folder.htm"), false, "A folder is in the way"},
      {At("no folder/page.htm"), false, std::strerror(ENOENT)},
      {At("no folder/temp.vwe"), true, std::strerror(ENOENT)},
  };
  if (IsSuperuser()) {
    ASSERT_EQ(::mknod(At("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    Put(At("theirs.vwe"), "theirs");
    ASSERT_EQ(::chown(At("theirs.vwe").c_str(), kOtherUser, kOtherGroup), 0);
    cases.push_back({At("null"), false, "A device is in the way"});
    cases.push_back({At("theirs.vwe"), true, "The file belongs to another user"});
  }
  for (const Case& c : cases) {
    const fileio::WriteResult r =
        c.Own ? fileio::WriteOwnFile(c.Path, "text") : fileio::WriteUserFile(c.Path, "text");
    EXPECT_NE(r.Status, WriteStatus::Ok) << c.Path;
    EXPECT_EQ(fileio::FailureReason(r), c.Reason) << c.Path << (c.Own ? " (own)" : " (user's)");
  }
  EXPECT_EQ(Slurp(At("victim.txt")), "precious");

  std::string reason;
  EXPECT_TRUE(InReadOnlyFolder(dir_, {}, [&] {
    reason = fileio::FailureReason(fileio::WriteOwnFile(At("new.vwe"), "x"));
    return true;
  }));
  EXPECT_EQ(reason, std::strerror(ReadOnlyFolderError()));
  EXPECT_EQ(fileio::FailureReason(fileio::WriteOwnFile(At("fine.vwe"), "x")), "");
}

TEST_F(FileIoTest, EveryFailedReadSaysWhy) {
  Fifo("fifo.htm");
  fs::create_directory(At("folder.htm"));
  Put(At("big.htm"), "0123456789");
  struct Case {
    std::string Name;
    std::uint64_t Limit;
    std::string Reason;
  };
  const Case cases[] = {
      {"none.htm", fileio::kMaxTextBytes, std::strerror(ENOENT)},
      {"folder.htm", fileio::kMaxTextBytes, std::strerror(EISDIR)},
      {"fifo.htm", fileio::kMaxTextBytes, "Not a regular file"},
      {"big.htm", 9, "Larger than the editor can hold"},
      {"big.htm", 10, ""},
  };
  for (const Case& c : cases) {
    std::string bytes;
    EXPECT_EQ(fileio::FailureReason(fileio::ReadRegularFile(At(c.Name), bytes, c.Limit)), c.Reason)
        << c.Name;
  }
}

TEST_F(FileIoTest, AFileThatStaysCanBeEmptiedButNeverThroughALink) {
  Put(At("copy.vwr"), "the unsaved work");
  Put(At("victim.txt"), "precious");
  ASSERT_EQ(::symlink("victim.txt", At("link.vwr").c_str()), 0);
  const std::string fifo = Fifo("fifo.vwr");
  fs::create_directory(At("folder.vwr"));
  // In a folder that cannot be written, the file itself still can be.
  int emptied = -1;
  EXPECT_TRUE(InReadOnlyFolder(dir_, {At("copy.vwr")}, [&] {
    emptied = fileio::EmptyFile(At("copy.vwr"));
    return true;
  }));
  EXPECT_EQ(emptied, 0);
  EXPECT_EQ(Slurp(At("copy.vwr")), "");
  EXPECT_EQ(fileio::EmptyFile(At("link.vwr")), ELOOP);
  EXPECT_NE(fileio::EmptyFile(fifo), 0);
  EXPECT_NE(fileio::EmptyFile(At("folder.vwr")), 0);
  EXPECT_EQ(fileio::EmptyFile(At("none.vwr")), ENOENT);
  EXPECT_EQ(Slurp(At("victim.txt")), "precious");
  EXPECT_FALSE(FifoHasReader(fifo));
}

}  // namespace
