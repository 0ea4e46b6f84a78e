// Helpers of the unit tests that put what a real machine holds in place of a
// file: FIFOs, links owned by someone else, and folders that cannot be
// written, also for the superuser.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace special_files {

// A user and group id that no file of the test has.
constexpr uid_t kOtherUser = 54321;
constexpr gid_t kOtherGroup = 54321;

inline bool IsSuperuser() { return ::geteuid() == 0; }

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline struct stat LinkInfo(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) info.st_mode = 0;
  return info;
}

// Whether anybody holds the FIFO open for reading (or waits in an open for
// reading): only then can a writer open it without blocking.
inline bool FifoHasReader(const std::string& fifo) {
  const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// While alive, frees any reader that blocks on the FIFO after a few seconds
// (by opening and closing its other end), so a read that wrongly waits on it
// comes back and fails its test instead of hanging the suite.
class FifoWatchdog {
 public:
  explicit FifoWatchdog(std::string fifo) : fifo_(std::move(fifo)), thread_([this] { Run(); }) {}
  ~FifoWatchdog() {
    done_ = true;
    thread_.join();
  }
  bool Fired() const { return fired_; }

 private:
  void Run() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done_ && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    while (!done_) {
      const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        fired_ = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::string fifo_;
  std::atomic<bool> done_{false};
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

// Runs fn in a child process that sees `folder` read-only, the files in
// `writable` excepted, and returns what fn returned (false when the view could
// not be made). Permissions do not bind the superuser, who gets a private
// read-only mount instead: the rest of the machine never sees it.
inline bool InReadOnlyFolder(const std::string& folder, const std::vector<std::string>& writable,
                             const std::function<bool()>& fn) {
  std::vector<std::pair<std::string, mode_t>> protectedFiles;
  if (!IsSuperuser()) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return false;
    while (const dirent* e = ::readdir(dir)) {
      const std::string path = folder + "/" + e->d_name;
      const struct stat info = LinkInfo(path);
      if (!S_ISREG(info.st_mode)) continue;
      bool keep = false;
      for (const std::string& w : writable) keep = keep || w == path;
      if (!keep) protectedFiles.emplace_back(path, info.st_mode & 07777);
    }
    ::closedir(dir);
  }
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    if (IsSuperuser()) {
      if (::unshare(CLONE_NEWNS) != 0 ||
          ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        ::_exit(2);
      }
      for (const std::string& w : writable) {
        if (::mount(w.c_str(), w.c_str(), nullptr, MS_BIND, nullptr) != 0) ::_exit(2);
      }
      if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0 ||
          ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
              0) {
        ::_exit(2);
      }
    } else {
      for (const auto& [path, mode] : protectedFiles) ::chmod(path.c_str(), mode & ~0222);
      ::chmod(folder.c_str(), 0555);
    }
    ::_exit(fn() ? 0 : 1);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!IsSuperuser()) {
    ::chmod(folder.c_str(), 0755);
    for (const auto& [path, mode] : protectedFiles) ::chmod(path.c_str(), mode);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace special_files
