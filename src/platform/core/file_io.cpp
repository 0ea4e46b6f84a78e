#include "file_io.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace fileio {
namespace {

// Links deeper than this are a loop, as the system itself counts them.
constexpr int kMaxLinkHops = 40;
constexpr std::size_t kChunk = 1 << 16;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool ReadLinkTarget(const std::string& link, std::string& target) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (n < 0) return false;
    if (static_cast<std::size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(n));
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  target = !buffer.empty() && buffer[0] == '/' ? buffer : FolderOf(link) + "/" + buffer;
  return true;
}

enum class Follow { None, UsersOwn, All };

// What a name holds once the links that may be followed are followed: `path`
// becomes the last name reached, `exists` tells whether anything holds it and
// `info` is its lstat. False with errno when the system refuses to tell.
bool Resolve(std::string& path, Follow follow, struct stat& info, bool& exists) {
  for (int hop = 0;; ++hop) {
    if (::lstat(path.c_str(), &info) != 0) {
      exists = false;
      return errno == ENOENT;
    }
    exists = true;
    if (!S_ISLNK(info.st_mode) || follow == Follow::None) return true;
    if (follow == Follow::UsersOwn && info.st_uid != ::geteuid()) return true;
    if (hop == kMaxLinkHops) {
      errno = ELOOP;
      return false;
    }
    std::string target;
    if (!ReadLinkTarget(path, target)) return false;
    path = std::move(target);
  }
}

bool CanWrite(const std::string& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A new file beside `target` that nobody else holds, its name unguessable, so
// that a folder shared with others cannot offer us a prepared one.
int CreateTemporaryBeside(const std::string& target, std::string& tempPath) {
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%d.%016llx~", static_cast<int>(::getpid()),
                  static_cast<unsigned long long>(random()));
    tempPath = target + suffix;
    const int fd =
        ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Gives the new file the old one's group and extended attributes (access
// lists among them); false when one of them cannot be carried over.
bool CarryAttributes(int fd, const std::string& old, const struct stat& info) {
  struct stat mine {};
  if (::fstat(fd, &mine) != 0) return false;
  if (mine.st_gid != info.st_gid && ::fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0) {
    return false;
  }
  const ssize_t listSize = ::listxattr(old.c_str(), nullptr, 0);
  if (listSize < 0) return errno == ENOTSUP;
  std::vector<char> names(static_cast<std::size_t>(listSize));
  const ssize_t got = ::listxattr(old.c_str(), names.data(), names.size());
  if (got < 0) return false;
  std::vector<char> value;
  for (ssize_t i = 0; i < got;) {
    const char* name = names.data() + i;
    i += static_cast<ssize_t>(std::char_traits<char>::length(name)) + 1;
    const ssize_t valueSize = ::getxattr(old.c_str(), name, nullptr, 0);
    if (valueSize < 0) return false;
    value.resize(static_cast<std::size_t>(valueSize));
    const ssize_t read = ::getxattr(old.c_str(), name, value.data(), value.size());
    if (read < 0 || ::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(read), 0) != 0) {
      return false;
    }
  }
  return true;
}

enum class Carry { ModeOnly, Everything };

// Writes the bytes to a new file beside `target` and renames it over the
// target. `old` is the file being replaced, or null for a new name. Sets
// `carryFailed` (and writes nothing) when the old file's attributes cannot
// all be kept.
WriteResult ReplaceByRename(const std::string& target, std::string_view bytes,
                            const struct stat* old, Carry carry, bool* carryFailed = nullptr) {
  std::string tempPath;
  const int fd = CreateTemporaryBeside(target, tempPath);
  if (fd < 0) return {WriteStatus::Failed, errno, false};
  auto abandon = [&](int error) {
    ::close(fd);
    ::unlink(tempPath.c_str());
    return WriteResult{WriteStatus::Failed, error, false};
  };
  if (old != nullptr && carry == Carry::Everything && !CarryAttributes(fd, target, *old)) {
    if (carryFailed != nullptr) *carryFailed = true;
    return abandon(errno);
  }
  if (!WriteAll(fd, bytes.data(), bytes.size())) return abandon(errno);
  if (old != nullptr && ::fchmod(fd, old->st_mode & 07777) != 0) return abandon(errno);
  if (::fsync(fd) != 0) return abandon(errno);
  if (::close(fd) != 0 || ::rename(tempPath.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(tempPath.c_str());
    return {WriteStatus::Failed, error, false};
  }
  return {WriteStatus::Ok, 0, false};
}

// Writes the whole text into the existing file. Room for it is asked for
// first, so a full disk is found before the file is touched.
WriteResult WriteInPlace(const std::string& target, std::string_view bytes) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return {WriteStatus::Failed, errno, true};
  auto fail = [fd](int error) {
    ::close(fd);
    return WriteResult{WriteStatus::Failed, error, true};
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) return fail(errno);
  if (!S_ISREG(info.st_mode)) return fail(EINVAL);
  const auto size = static_cast<off_t>(bytes.size());
  rlimit sizeLimit{};
  if (::getrlimit(RLIMIT_FSIZE, &sizeLimit) == 0 && sizeLimit.rlim_cur != RLIM_INFINITY &&
      static_cast<rlim_t>(size) > sizeLimit.rlim_cur) {
    return fail(EFBIG);
  }
  if (size > info.st_size && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
      errno != EOPNOTSUPP && errno != ENOSYS) {
    return fail(errno);
  }
  if (!WriteAll(fd, bytes.data(), bytes.size())) return fail(errno);
  if (::ftruncate(fd, size) != 0 || ::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) return {WriteStatus::Failed, errno, true};
  return {WriteStatus::Ok, 0, true};
}

ReadResult Outcome(ReadStatus status, int error = 0) {
  ReadResult r;
  r.Status = status;
  r.Error = error;
  return r;
}

// Reads what a stream gives, `bytes` growing with it, until its end or until
// more than `limit` bytes are held.
ReadResult ReadStream(int fd, std::string& bytes, std::uint64_t limit) {
  char chunk[kChunk];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        pollfd wait{fd, POLLIN, 0};
        ::poll(&wait, 1, -1);
        continue;
      }
      return Outcome(ReadStatus::Failed, errno);
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<std::uint64_t>(n) > limit) {
      ReadResult r = Outcome(ReadStatus::TooLarge, EFBIG);
      r.Size = bytes.size() + static_cast<std::uint64_t>(n);
      bytes.clear();
      bytes.shrink_to_fit();
      return r;
    }
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  ReadResult r;
  r.Status = ReadStatus::Ok;
  r.Size = bytes.size();
  r.SizeKnown = true;
  return r;
}

Obstacle ObstacleOf(const struct stat& info) {
  if (S_ISLNK(info.st_mode)) return Obstacle::Link;
  if (S_ISDIR(info.st_mode)) return Obstacle::Folder;
  if (S_ISFIFO(info.st_mode)) return Obstacle::Fifo;
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return Obstacle::Device;
  if (S_ISSOCK(info.st_mode)) return Obstacle::Socket;
  return Obstacle::OthersFile;
}

WriteResult Refused(const struct stat& info) {
  WriteResult r{WriteStatus::Refused, 0, false};
  r.InTheWay = ObstacleOf(info);
  return r;
}

}  // namespace

int OpenRegularFile(const std::string& path, ReadResult& result) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) {
    const int error = path.empty() ? ENOENT : errno;
    result = Outcome(error == ENOENT || error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed,
                     error);
    return -1;
  }
  // Opening a device or a FIFO may block or act on the device: the type is
  // checked on the name first, and again on what was opened.
  if (!S_ISREG(info.st_mode)) {
    result = Outcome(ReadStatus::NotRegular, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    result = Outcome(errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed, errno);
    return -1;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    result = Outcome(ReadStatus::NotRegular, EINVAL);
    return -1;
  }
  result = Outcome(ReadStatus::Ok);
  result.Size = static_cast<std::uint64_t>(info.st_size);
  result.SizeKnown = true;
  return fd;
}

ReadResult ReadDescriptor(int fd, std::string& bytes, std::uint64_t limit) {
  bytes.clear();
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Outcome(ReadStatus::Failed, errno);
  if (S_ISREG(info.st_mode)) {
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > limit) {
      ReadResult r = Outcome(ReadStatus::TooLarge, EFBIG);
      r.Size = size;
      r.SizeKnown = true;
      return r;
    }
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t have = 0;
    while (have < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return Outcome(ReadStatus::Failed, errno);
      if (n == 0) break;
      have += static_cast<std::size_t>(n);
    }
    bytes.resize(have);
    // A file that grew while it was read is read on to its new end.
  }
  return ReadStream(fd, bytes, limit);
}

ReadResult ReadRegularFile(const std::string& path, std::string& bytes, std::uint64_t limit) {
  bytes.clear();
  ReadResult result;
  const int fd = OpenRegularFile(path, result);
  if (fd < 0) return result;
  result = ReadDescriptor(fd, bytes, limit);
  ::close(fd);
  return result;
}

ReadResult ReadFirstLine(const std::string& path, std::string& line, std::uint64_t limit) {
  line.clear();
  ReadResult result;
  const int fd = OpenRegularFile(path, result);
  if (fd < 0) return result;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result = Outcome(ReadStatus::Failed, errno);
      break;
    }
    const std::string_view got(chunk, static_cast<std::size_t>(n));
    const std::size_t end = got.find_first_of("\r\n");
    line.append(got.substr(0, end));
    if (line.size() > limit) {
      result = Outcome(ReadStatus::TooLarge, EFBIG);
      break;
    }
    if (n == 0 || end != std::string_view::npos) break;
  }
  ::close(fd);
  if (result.Status != ReadStatus::Ok) line.clear();
  return result;
}

WriteResult WriteOwnFile(const std::string& path, std::string_view bytes, LinkRule links) {
  std::string target = path;
  struct stat info {};
  bool exists = false;
  const Follow follow = links == LinkRule::UsersOwn ? Follow::UsersOwn : Follow::None;
  if (path.empty() || !Resolve(target, follow, info, exists)) {
    return {WriteStatus::Failed, path.empty() ? ENOENT : errno, false};
  }
  if (exists && (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid())) return Refused(info);
  // A write-protected file keeps its protection.
  if (exists && !CanWrite(target)) return {WriteStatus::Failed, EACCES, false};
  return ReplaceByRename(target, bytes, exists ? &info : nullptr, Carry::ModeOnly);
}

WriteResult WriteUserFile(const std::string& path, std::string_view bytes) {
  std::string target = path;
  struct stat info {};
  bool exists = false;
  if (path.empty() || !Resolve(target, Follow::All, info, exists)) {
    return {WriteStatus::Failed, path.empty() ? ENOENT : errno, false};
  }
  if (!exists) return ReplaceByRename(target, bytes, nullptr, Carry::ModeOnly);
  if (!S_ISREG(info.st_mode)) return Refused(info);
  if (!CanWrite(target)) return {WriteStatus::Failed, EACCES, false};

  // A rename would make a new file: it must be the user's, alone under its
  // name, in a folder the user may change.
  const bool renameKeepsFile =
      info.st_nlink == 1 && info.st_uid == ::geteuid() && CanWrite(FolderOf(target));
  if (renameKeepsFile) {
    bool carryFailed = false;
    const WriteResult r = ReplaceByRename(target, bytes, &info, Carry::Everything, &carryFailed);
    // The old file is whole after any failure here. A text the disk, the
    // quota or the size limit has no room for would not fit in place either,
    // and a broken device would leave it half written: those are reported.
    const bool noRoom =
        r.Error == ENOSPC || r.Error == EDQUOT || r.Error == EFBIG || r.Error == EIO;
    if (r.Status == WriteStatus::Ok || (!carryFailed && noRoom)) return r;
  }
  return WriteInPlace(target, bytes);
}

CopyStatus CopyToNewFile(const std::string& source, const std::string& destination) {
  ReadResult opened;
  const int in = OpenRegularFile(source, opened);
  if (in < 0) return CopyStatus::SourceUnreadable;
  struct stat info {};
  if (::lstat(destination.c_str(), &info) == 0) {
    ::close(in);
    return CopyStatus::Taken;
  }
  std::string tempPath;
  const int out = CreateTemporaryBeside(destination, tempPath);
  if (out < 0) {
    ::close(in);
    return CopyStatus::Failed;
  }
  bool ok = ::fstat(in, &info) == 0;
  char chunk[kChunk];
  while (ok) {
    const ssize_t n = ::read(in, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = WriteAll(out, chunk, static_cast<std::size_t>(n));
  }
  ::close(in);
  if (ok) ok = ::fchmod(out, info.st_mode & 0777) == 0 && ::fsync(out) == 0;
  ok = ::close(out) == 0 && ok;
  CopyStatus status = CopyStatus::Failed;
  if (ok) {
    // The name is taken only when free: neither call follows a link there.
    if (::renameat2(AT_FDCWD, tempPath.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) ==
        0) {
      return CopyStatus::Copied;
    }
    if (errno == EINVAL || errno == ENOSYS) {
      if (::link(tempPath.c_str(), destination.c_str()) == 0) status = CopyStatus::Copied;
    }
    if (errno == EEXIST) status = CopyStatus::Taken;
  }
  ::unlink(tempPath.c_str());
  return status;
}

std::string SystemReason(int error) { return error == 0 ? std::string() : std::strerror(error); }

std::string FailureReason(const ReadResult& result) {
  switch (result.Status) {
    case ReadStatus::Ok:
      return std::string();
    case ReadStatus::NotRegular:
      if (result.Error != EISDIR) return "Not a regular file";
      break;
    case ReadStatus::TooLarge:
      return "Larger than the editor can hold";
    case ReadStatus::Missing:
    case ReadStatus::Failed:
      break;
  }
  return SystemReason(result.Error);
}

std::string FailureReason(const WriteResult& result) {
  if (result.Status == WriteStatus::Ok) return std::string();
  if (result.Status == WriteStatus::Refused) {
    switch (result.InTheWay) {
      case Obstacle::Link:
        return "A symbolic link is in the way";
      case Obstacle::Folder:
        return "A folder is in the way";
      case Obstacle::Fifo:
        return "A FIFO (named pipe) is in the way";
      case Obstacle::Device:
        return "A device is in the way";
      case Obstacle::Socket:
        return "A socket is in the way";
      case Obstacle::OthersFile:
        return "The file belongs to another user";
      case Obstacle::None:
        break;
    }
  }
  return SystemReason(result.Error);
}

int RemoveFile(const std::string& path) {
  if (path.empty()) return 0;
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
  return errno;
}

int EmptyFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno;
  struct stat info {};
  int error = 0;
  if (::fstat(fd, &info) != 0) {
    error = errno;
  } else if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
    error = EINVAL;
  } else if (::ftruncate(fd, 0) != 0 || ::fsync(fd) != 0) {
    error = errno;
  }
  ::close(fd);
  return error;
}

}  // namespace fileio
