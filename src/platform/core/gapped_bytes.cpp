#include "gapped_bytes.h"

#include <algorithm>
#include <cstring>

void TGappedBytes::MoveGap(std::size_t at) {
  at = std::min(at, Size());
  if (GapLength_ == 0) {
    GapStart_ = at;
    return;
  }
  std::uint8_t* data = Bytes_.data();
  if (at < GapStart_) {
    // The bytes at..GapStart_ go behind the gap.
    std::memmove(data + at + GapLength_, data + at, GapStart_ - at);
  } else if (at > GapStart_) {
    // The bytes behind the gap, up to the new place, come before it.
    std::memmove(data + GapStart_, data + GapStart_ + GapLength_, at - GapStart_);
  }
  GapStart_ = at;
}

void TGappedBytes::DropGap() {
  // The gap is at the end once closed: the vector gets shorter, its room stays.
  Bytes_.resize(Bytes_.size() - GapLength_);
  GapLength_ = 0;
  GapStart_ = Bytes_.size();
}

void TGappedBytes::Insert(std::size_t at, std::size_t n, std::uint8_t value) {
  if (n == 0) return;
  MoveGap(at);
  if (GapLength_ < n) {
    // A new, larger gap: the bytes behind it move once.
    const std::size_t grown = n + std::max(kMinGap, Size() / kGapShare);
    // Room for exactly that, where a vector's own growth would double it.
    if (Bytes_.size() + grown - GapLength_ > Bytes_.capacity()) {
      Bytes_.reserve(Bytes_.size() + grown - GapLength_);
    }
    Bytes_.insert(Bytes_.begin() + static_cast<std::ptrdiff_t>(GapStart_ + GapLength_),
                  grown - GapLength_, 0);
    GapLength_ = grown;
  }
  std::memset(Bytes_.data() + GapStart_, value, n);
  GapStart_ += n;
  GapLength_ -= n;
}

void TGappedBytes::Erase(std::size_t at, std::size_t n) {
  n = std::min(n, Size() - std::min(at, Size()));
  if (n == 0) return;
  MoveGap(at);
  // The bytes behind the gap join it.
  GapLength_ += n;
}
