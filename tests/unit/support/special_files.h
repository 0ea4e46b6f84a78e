// Helpers of the unit tests that put what a real machine holds in place of a
// file: FIFOs, links owned by someone else, and folders that cannot be
// written, also for the superuser (read_only_path.h).
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "read_only_path.h"

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

using ::InReadOnlyFolder;

}  // namespace special_files
