#include "text_source.h"

#include <algorithm>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool TStringSource::ReadStyles(std::size_t from, std::size_t count, std::uint8_t* out) const {
  if (Styles_.size() != Text_.size()) return false;
  std::copy_n(Styles_.begin() + static_cast<std::ptrdiff_t>(from), count, out);
  return true;
}

void TTextReader::Load(std::size_t i) {
  Used_ = 1 - Used_;
  if (i - Start_[Used_] < Size_[Used_]) return;
  Start_[Used_] = i - i % kBlock;
  Size_[Used_] = std::min(kBlock, Length_ - Start_[Used_]);
  Source_.Read(Start_[Used_], Size_[Used_], Block_[Used_]);
}

std::size_t TTextReader::FindBack2(std::size_t before, std::size_t floor, char a, char b) {
  std::size_t i = std::min(before, Length_);
  while (i > floor) {
    const std::size_t last = i - 1;
    if (last - Start_[Used_] >= Size_[Used_]) Load(last);
    const std::size_t start = Start_[Used_];
    const char* block = Block_[Used_];
    const std::size_t stop = std::max(floor, start);
    for (std::size_t k = i - start; k > stop - start;) {
      --k;
      if (block[k] == a || block[k] == b) return start + k;
    }
    i = stop;
  }
  return static_cast<std::size_t>(-1);
}

bool TTextReader::HasStyles() {
  if (Styled_ < 0) {
    std::uint8_t probe = 0;
    Styled_ = Length_ > 0 && Source_.ReadStyles(0, 1, &probe) ? 1 : 0;
  }
  return Styled_ == 1;
}

std::uint8_t TTextReader::StyleAt(std::size_t i) {
  if (i >= Length_ || !HasStyles()) return 0;
  if (i - StyleStart_ >= StyleSize_) {
    StyleStart_ = i - i % kBlock;
    StyleSize_ = std::min(kBlock, Length_ - StyleStart_);
    Source_.ReadStyles(StyleStart_, StyleSize_, Styles_);
  }
  return Styles_[i - StyleStart_];
}

bool TTextReader::Matches(std::size_t at, std::string_view word, bool ignoreCase) {
  if (at + word.size() > Length_) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    const char c = At(at + k);
    if (ignoreCase ? Lower(c) != Lower(word[k]) : c != word[k]) return false;
  }
  return true;
}

std::string TTextReader::Copy(std::size_t from, std::size_t to) {
  std::string out;
  to = std::min(to, Length_);
  if (from >= to) return out;
  out.resize(to - from);
  for (std::size_t i = from; i < to; ++i) out[i - from] = At(i);
  return out;
}
