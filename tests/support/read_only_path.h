// A file or folder made read-only for one test, also for the superuser, whom
// permissions do not bind: an ordinary user loses the write permission; root
// gets a read-only bind mount of the path in a mount namespace of the test's
// own thread, so nothing outside the test sees it.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

class TReadOnlyPath {
 public:
  explicit TReadOnlyPath(std::string path) : Path_(std::move(path)) {
    struct stat st {};
    if (::stat(Path_.c_str(), &st) != 0) {
      Error_ = Failed("stat");
      return;
    }
    if (::geteuid() != 0) {
      Mode_ = st.st_mode & 07777;
      if (::chmod(Path_.c_str(), Mode_ & ~0222) != 0) Error_ = Failed("chmod");
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
    } else if (::mount(Path_.c_str(), Path_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      Error_ = Failed("mount --bind");
    } else {
      Mounted_ = true;
      if (::mount(nullptr, Path_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) !=
          0) {
        Error_ = Failed("mount -o remount,ro");
      }
    }
  }

  ~TReadOnlyPath() {
    if (Mounted_) {
      ::umount2(Path_.c_str(), MNT_DETACH);
    } else if (Mode_ != 0) {
      ::chmod(Path_.c_str(), Mode_);
    }
  }

  TReadOnlyPath(const TReadOnlyPath&) = delete;
  TReadOnlyPath& operator=(const TReadOnlyPath&) = delete;

  // Empty when the path is read-only now; otherwise what failed.
  const std::string& Error() const { return Error_; }

 private:
  static std::string Failed(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
  }

  std::string Path_;
  std::string Error_;
  mode_t Mode_ = 0;
  bool Mounted_ = false;
};
