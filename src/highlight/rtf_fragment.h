// The pieces the conversion loop writes a token's fragment with: the frame
// around the token, the test for bytes that need escaping, and a writer that
// fills a string's bytes without a library call per piece.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// What a token's fragment writes before and after the escaped token. The
// texts are held in place, padded with zeros, so the loop can copy each as
// one piece of fixed size and step on by its length.
struct TFragmentFrame {
  char Head[16] = {};
  char Tail[8] = {};
  std::uint8_t HeadSize = 0;
  std::uint8_t TailSize = 0;

  // The frame of two string literals, checked to fit when it is compiled.
  template <std::size_t HeadLength, std::size_t TailLength>
  static constexpr TFragmentFrame Of(const char (&head)[HeadLength],
                                     const char (&tail)[TailLength]) {
    static_assert(HeadLength - 1 <= sizeof(TFragmentFrame::Head), "head too long");
    static_assert(TailLength - 1 <= sizeof(TFragmentFrame::Tail), "tail too long");
    TFragmentFrame f;
    for (std::size_t i = 0; i + 1 < HeadLength; ++i) f.Head[i] = head[i];
    for (std::size_t i = 0; i + 1 < TailLength; ++i) f.Tail[i] = tail[i];
    f.HeadSize = static_cast<std::uint8_t>(HeadLength - 1);
    f.TailSize = static_cast<std::uint8_t>(TailLength - 1);
    return f;
  }
  std::string_view HeadText() const { return std::string_view(Head, HeadSize); }
  std::string_view TailText() const { return std::string_view(Tail, TailSize); }
};

namespace rtf_detail {

struct SpecialBytes {
  unsigned char Is[256];
};

constexpr SpecialBytes MakeSpecialBytes() {
  SpecialBytes t{};
  t.Is[static_cast<unsigned char>('\\')] = 1;
  t.Is[static_cast<unsigned char>('{')] = 1;
  t.Is[static_cast<unsigned char>('}')] = 1;
  return t;
}

inline constexpr SpecialBytes kSpecial = MakeSpecialBytes();

// 1 for "\", "{" and "}", else 0; several are tested without a branch each.
inline unsigned SpecialFlag(char c) { return kSpecial.Is[static_cast<unsigned char>(c)]; }

inline bool IsRtfSpecial(char c) { return SpecialFlag(c) != 0; }

// Bytes of an 8- or 4-byte word that are "\", "{" or "}" (nonzero if any is):
// the word is tested at once, with no branch per byte to guess wrong.
template <class Word>
constexpr Word SpecialBytesOf(Word w) {
  constexpr Word kOnes = static_cast<Word>(~Word(0)) / 0xFF;
  constexpr Word kHighs = kOnes * 0x80;
  const auto zeroBytes = [](Word v) { return static_cast<Word>((v - kOnes) & ~v & kHighs); };
  return zeroBytes(w ^ (kOnes * '\\')) | zeroBytes(w ^ (kOnes * '{')) |
         zeroBytes(w ^ (kOnes * '}'));
}

template <class Word>
inline Word LoadWord(const char* p) {
  Word w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Whether the token needs escaping. Words are read within the token only; the
// last one overlaps the one before where the length is not a multiple.
inline bool HoldsRtfSpecial(std::string_view token) {
  const char* p = token.data();
  const std::size_t n = token.size();
  if (n < 4) {
    return n > 0 && (SpecialFlag(p[0]) | SpecialFlag(p[n / 2]) | SpecialFlag(p[n - 1])) != 0;
  }
  if (n <= 8) {
    return (SpecialBytesOf(LoadWord<std::uint32_t>(p)) |
            SpecialBytesOf(LoadWord<std::uint32_t>(p + n - 4))) != 0;
  }
  std::uint64_t found = SpecialBytesOf(LoadWord<std::uint64_t>(p + n - 8));
  for (std::size_t i = 0; i + 8 < n; i += 8) {
    found |= SpecialBytesOf(LoadWord<std::uint64_t>(p + i));
  }
  return found != 0;
}

// Copies the token and tells whether it holds a byte that needs escaping.
// Most tokens are a few bytes long, where a call into the C library would cost
// more than the copy: short ones are copied in words of a fixed size (the last
// overlapping the first where the length is not a multiple) and tested in the
// same words.
inline bool CopyFindingSpecial(char* to, const char* from, std::size_t n) {
  if (n < 4) {
    if (n == 0) return false;
    to[0] = from[0];
    to[n / 2] = from[n / 2];
    to[n - 1] = from[n - 1];
    return (SpecialFlag(from[0]) | SpecialFlag(from[n / 2]) | SpecialFlag(from[n - 1])) != 0;
  }
  if (n <= 8) {
    const auto a = LoadWord<std::uint32_t>(from);
    const auto b = LoadWord<std::uint32_t>(from + n - 4);
    std::memcpy(to, &a, 4);
    std::memcpy(to + n - 4, &b, 4);
    return (SpecialBytesOf(a) | SpecialBytesOf(b)) != 0;
  }
  if (n <= 16) {
    const auto a = LoadWord<std::uint64_t>(from);
    const auto b = LoadWord<std::uint64_t>(from + n - 8);
    std::memcpy(to, &a, 8);
    std::memcpy(to + n - 8, &b, 8);
    return (SpecialBytesOf(a) | SpecialBytesOf(b)) != 0;
  }
  std::memcpy(to, from, n);
  return HoldsRtfSpecial(std::string_view(from, n));
}

// How many bytes of the token need a "\\" before them.
inline std::size_t CountRtfSpecial(std::string_view token) {
  std::size_t count = 0;
  for (char c : token) count += SpecialFlag(c);
  return count;
}

// A fragment adds at most this much to its escaped token, with room left for
// the "\par " before it, for the padding of its frame and for the "\par }"
// that closes the document.
inline constexpr std::size_t kFragmentRoom = 64;

// Writes into a string's own bytes, past its text: the string is lengthened
// ahead by a stretch of room (zeros, overwritten as the fragments come), so
// no write is a call into the library, and cut back to the text at the end.
// The writer keeps its own pointers: a byte written through the string could
// be the string's own fields as far as the compiler knows, and every write
// would read them again.
class TRawAppender {
 public:
  explicit TRawAppender(std::string& out) : Out_(out) { Point(out.size()); }
  ~TRawAppender() { Out_.resize(Size()); }
  TRawAppender(const TRawAppender&) = delete;
  TRawAppender& operator=(const TRawAppender&) = delete;

  const char* Data() const { return Begin_; }
  std::size_t Size() const { return static_cast<std::size_t>(At_ - Begin_); }
  std::size_t Room() const { return static_cast<std::size_t>(End_ - At_); }
  // Lengthens the string ahead of the text by what its capacity allows, by
  // a stretch at a time; the capacity must hold `need` bytes past the text.
  void Expose(std::size_t need) {
    const std::size_t size = Size();
    Out_.resize(std::min(Out_.capacity(), size + std::max(need, kStretch)));
    Point(size);
  }
  // The string cut back to its text, for the library to work on; Expose
  // must follow before the next write.
  std::string& Text() {
    const std::size_t size = Size();
    Out_.resize(size);
    Point(size);
    return Out_;
  }
  // Drops what was written after the first `size` bytes.
  void Cut(std::size_t size) { At_ = Begin_ + size; }

  // Writes a token that needs no escaping and returns true; a token that
  // does is not kept.
  bool PutUnlessSpecial(std::string_view s) {
    if (CopyFindingSpecial(At_, s.data(), s.size())) return false;
    At_ += s.size();
    return true;
  }
  void Put(std::string_view s) {
    std::memcpy(At_, s.data(), s.size());
    At_ += s.size();
  }
  // Writes s with a "\\" before each "\\", "{" and "}"; Room must hold s and
  // a byte more for each of those.
  void PutEscaped(std::string_view s) {
    const char* from = s.data();
    const char* const end = from + s.size();
    for (;;) {
      const char* special = from;
      while (special != end && !IsRtfSpecial(*special)) ++special;
      Put(std::string_view(from, static_cast<std::size_t>(special - from)));
      if (special == end) return;
      *At_++ = '\\';
      *At_++ = *special;
      from = special + 1;
    }
  }
  // The frame's padding is written too; Room must hold it.
  void PutHead(const TFragmentFrame& f) {
    std::memcpy(At_, f.Head, sizeof f.Head);
    At_ += f.HeadSize;
  }
  void PutTail(const TFragmentFrame& f) {
    std::memcpy(At_, f.Tail, sizeof f.Tail);
    At_ += f.TailSize;
  }

 private:
  void Point(std::size_t size) {
    Begin_ = Out_.data();
    At_ = Begin_ + size;
    End_ = Begin_ + Out_.size();
  }

  // Zeros written ahead at a time: little enough to stay in the cache for the
  // fragments that overwrite them.
  static constexpr std::size_t kStretch = 1u << 16;
  std::string& Out_;
  char* Begin_;
  char* At_;
  char* End_;
};

}  // namespace rtf_detail
