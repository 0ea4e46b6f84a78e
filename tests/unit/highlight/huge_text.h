// A text of up to gigabytes held in a few megabytes: a prefix, one byte
// repeated `count` times, a suffix and the closing NUL. Every block of the
// repeated byte is the same shared block of memory mapped again, so a token of
// 2^31 - 2 bytes costs one block, not two gigabytes.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

class THugeText {
 public:
  THugeText(std::string_view prefix, char fill, std::size_t count, std::string_view suffix)
      : Size_(prefix.size() + count + suffix.size()) {
    const int fd = memfd_create("huge-text", 0);
    Valid_ = fd >= 0 && Map(fd, prefix, fill, count, suffix);
    if (fd >= 0) close(fd);
  }
  ~THugeText() {
    if (Base_ != nullptr) munmap(Base_, Mapped_);
  }
  THugeText(const THugeText&) = delete;
  THugeText& operator=(const THugeText&) = delete;

  // False when the machine would not map it; the text is then not there.
  bool Valid() const { return Valid_; }
  const char* Data() const { return Base_; }
  std::size_t Size() const { return Size_; }

 private:
  bool Map(int fd, std::string_view prefix, char fill, std::size_t count, std::string_view suffix) {
    const std::size_t total = Size_ + 1;
    Mapped_ = (total + kBlock - 1) / kBlock * kBlock;
    void* base =
        mmap(nullptr, Mapped_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return false;
    Base_ = static_cast<char*>(base);
    if (ftruncate(fd, kBlock) != 0) return false;
    void* block = mmap(nullptr, kBlock, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (block == MAP_FAILED) return false;
    std::memset(block, fill, kBlock);
    munmap(block, kBlock);
    const std::size_t fillFrom = prefix.size();
    const std::size_t fillTo = fillFrom + count;
    for (std::size_t at = 0; at < Mapped_; at += kBlock) {
      char* where = Base_ + at;
      if (at >= fillFrom && at + kBlock <= fillTo) {
        if (mmap(where, kBlock, PROT_READ, MAP_SHARED | MAP_FIXED, fd, 0) == MAP_FAILED)
          return false;
        continue;
      }
      if (mmap(where, kBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
               0) == MAP_FAILED)
        return false;
      for (std::size_t i = 0; i < kBlock && at + i < total; ++i) {
        const std::size_t pos = at + i;
        char c = '\0';
        if (pos < fillFrom) {
          c = prefix[pos];
        } else if (pos < fillTo) {
          c = fill;
        } else if (pos < Size_) {
          c = suffix[pos - fillTo];
        }
        where[i] = c;
      }
    }
    return true;
  }

  static constexpr std::size_t kBlock = 1u << 20;
  std::size_t Size_;
  std::size_t Mapped_ = 0;
  char* Base_ = nullptr;
  bool Valid_ = false;
};
