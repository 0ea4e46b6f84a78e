// Bytes with a gap where the last change was made, as editors keep their text:
// a change next to the last one moves only the bytes between the two, so
// typing into a document of any size moves next to nothing. The editor keeps
// its record of looks (one value per byte of the document) this way. The
// vector is the caller's; closed, it holds exactly the bytes and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TGappedBytes {
 public:
  explicit TGappedBytes(std::vector<std::uint8_t>& bytes) : Bytes_(bytes) {}
  TGappedBytes(const TGappedBytes&) = delete;
  TGappedBytes& operator=(const TGappedBytes&) = delete;

  // The number of bytes, the gap not counted.
  std::size_t Size() const { return Bytes_.size() - GapLength_; }
  std::uint8_t At(std::size_t i) const { return Bytes_[i < GapStart_ ? i : i + GapLength_]; }

  // Inserts n bytes of the value before byte `at`.
  void Insert(std::size_t at, std::size_t n, std::uint8_t value);
  // Removes bytes at..at+n.
  void Erase(std::size_t at, std::size_t n);
  // Moves the gap in front of byte `at`, moving the bytes between.
  void MoveGap(std::size_t at);
  // Removes the gap: the vector holds the bytes alone again. The caller closes
  // it before it reads or resizes the vector as a whole.
  void Close() {
    MoveGap(Size());
    DropGap();
  }

  // The bytes from the gap on, addressed as in the whole: p[i] is byte i for
  // every i at or after the gap's place (Start()).
  std::uint8_t* FromGap() { return Bytes_.data() + GapLength_; }
  std::size_t Start() const { return GapStart_; }

  // A new gap holds this many bytes beyond what the insert needs, and at
  // least this share of the bytes, so the gap is seldom made anew.
  static constexpr std::size_t kMinGap = 64 * 1024;
  static constexpr std::size_t kGapShare = 64;

 private:
  void DropGap();

  std::vector<std::uint8_t>& Bytes_;
  std::size_t GapStart_ = 0;
  std::size_t GapLength_ = 0;
};
