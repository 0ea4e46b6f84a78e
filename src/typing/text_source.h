// Read access to a document's bytes (and, where the document has them, the
// styles its colouring gave them) for the typing decisions. A decision reads
// only the bytes around the caret it looks at, through a small cache, so its
// cost does not grow with the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TTextSource {
 public:
  virtual ~TTextSource() = default;
  virtual std::size_t Length() const = 0;
  // Copies the bytes [from, from + count), which lie within Length(), to out.
  virtual void Read(std::size_t from, std::size_t count, char* out) const = 0;
  // The same for the bytes' styles; false where the source has none.
  virtual bool ReadStyles(std::size_t from, std::size_t count, std::uint8_t* out) const {
    static_cast<void>(from);
    static_cast<void>(count);
    static_cast<void>(out);
    return false;
  }
};

// A text held in memory, with styles when they are given (one per byte).
class TStringSource : public TTextSource {
 public:
  explicit TStringSource(std::string_view text, std::vector<std::uint8_t> styles = {})
      : Text_(text), Styles_(std::move(styles)) {}
  std::size_t Length() const override { return Text_.size(); }
  void Read(std::size_t from, std::size_t count, char* out) const override {
    Text_.copy(out, count, from);
  }
  bool ReadStyles(std::size_t from, std::size_t count, std::uint8_t* out) const override;

 private:
  std::string_view Text_;
  std::vector<std::uint8_t> Styles_;
};

// Byte access by position through two cached blocks, so that reading on both
// sides of a block's border does not read the blocks again and again.
class TTextReader {
 public:
  static constexpr std::size_t kBlock = 4096;

  explicit TTextReader(const TTextSource& source) : Source_(source), Length_(source.Length()) {}

  std::size_t Length() const { return Length_; }
  // The byte at i, or NUL at and beyond the end.
  char At(std::size_t i) {
    if (i >= Length_) return '\0';
    if (i - Start_[Used_] >= Size_[Used_]) Load(i);
    return Block_[Used_][i - Start_[Used_]];
  }
  // The style at i; HasStyles() false when the source keeps none.
  std::uint8_t StyleAt(std::size_t i);
  bool HasStyles();

  // The last position in [floor, before) holding `a` or `b`; npos when none.
  // Reads the cached blocks directly: the searches back from the caret spend
  // most of their time here.
  std::size_t FindBack2(std::size_t before, std::size_t floor, char a, char b);

  // Whether the bytes at `at` are `word` (ASCII letters compared without
  // regard to case when ignoreCase).
  bool Matches(std::size_t at, std::string_view word, bool ignoreCase = false);
  std::string Copy(std::size_t from, std::size_t to);

 private:
  // Makes the block holding i the one in use, reading it unless it is the other.
  void Load(std::size_t i);

  const TTextSource& Source_;
  std::size_t Length_;
  int Used_ = 0;
  std::size_t Start_[2] = {0, 0};
  std::size_t Size_[2] = {0, 0};
  char Block_[2][kBlock];
  // Styles, read on demand in blocks of their own.
  int Styled_ = -1;  // unknown, 0 none, 1 some
  std::size_t StyleStart_ = 0;
  std::size_t StyleSize_ = 0;
  std::uint8_t Styles_[kBlock];
};
