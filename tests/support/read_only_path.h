// A file or folder made read-only for one test, also for the superuser, whom
// permissions do not bind, with chosen files in the folder left writable. An
// ordinary user loses the write permission on the path (and, for a folder,
// on the regular files in it); root gets a read-only bind mount of the path in
// a mount namespace of the test's own thread, so nothing outside the test
// sees it, with each file left writable bound onto itself first.
#pragma once

#include <dirent.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TReadOnlyPath {
 public:
  explicit TReadOnlyPath(std::string path, std::vector<std::string> writable = {})
      : Path_(std::move(path)) {
    struct stat st {};
    if (::stat(Path_.c_str(), &st) != 0) {
      Error_ = Failed("stat");
      return;
    }
    if (::geteuid() != 0) {
      LockForUser(st, writable);
      return;
    }
    // The namespace is made once per thread; its mounts do not reach the
    // rest of the system.
    static thread_local const std::string own = [] {
      if (::unshare(CLONE_NEWNS) != 0) return Failed("unshare");
      if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return Failed("mount --make-rprivate /");
      }
      return std::string();
    }();
    if (!own.empty()) {
      Error_ = own;
      return;
    }
    // A file bound onto itself keeps its own, writable mount when the folder
    // around it is remounted read-only.
    for (const std::string& w : writable) {
      if (::mount(w.c_str(), w.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        Error_ = Failed("mount --bind (a file left writable)");
        return;
      }
      Bound_.push_back(w);
    }
    if (::mount(Path_.c_str(), Path_.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0) {
      Error_ = Failed("mount --rbind");
    } else {
      Mounted_ = true;
      if (::mount(nullptr, Path_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) !=
          0) {
        Error_ = Failed("mount -o remount,ro");
      }
    }
  }

  ~TReadOnlyPath() {
    if (Mounted_) ::umount2(Path_.c_str(), MNT_DETACH);
    for (const std::string& w : Bound_) ::umount2(w.c_str(), MNT_DETACH);
    for (const auto& [path, mode] : Modes_) ::chmod(path.c_str(), mode);
  }

  TReadOnlyPath(const TReadOnlyPath&) = delete;
  TReadOnlyPath& operator=(const TReadOnlyPath&) = delete;

  // Empty when the path is read-only now; otherwise what failed.
  const std::string& Error() const { return Error_; }

 private:
  static std::string Failed(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
  }

  void LockForUser(const struct stat& st, const std::vector<std::string>& writable) {
    if (S_ISDIR(st.st_mode)) {
      if (DIR* dir = ::opendir(Path_.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
          const std::string file = Path_ + "/" + e->d_name;
          struct stat info {};
          if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
          if (std::find(writable.begin(), writable.end(), file) != writable.end()) continue;
          Lock(file, info.st_mode);
        }
        ::closedir(dir);
      }
    }
    Lock(Path_, st.st_mode);
  }

  void Lock(const std::string& path, mode_t mode) {
    if (::chmod(path.c_str(), (mode & 07777) & ~0222) != 0) {
      Error_ = Failed("chmod");
      return;
    }
    Modes_.emplace_back(path, mode & 07777);
  }

  std::string Path_;
  std::string Error_;
  std::vector<std::pair<std::string, mode_t>> Modes_;
  std::vector<std::string> Bound_;
  bool Mounted_ = false;
};

// Runs fn while `folder` is read-only, the files in `writable` excepted, and
// returns what fn returned (false when the folder could not be made so).
inline bool InReadOnlyFolder(const std::string& folder, std::vector<std::string> writable,
                             const std::function<bool()>& fn) {
  const TReadOnlyPath locked(folder, std::move(writable));
  return locked.Error().empty() && fn();
}
