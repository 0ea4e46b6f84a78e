// Keyword buckets of a scanner: its keyword list grouped by hash value, built
// once from the words themselves with the scanner's own hash rule.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct TKeyword {
  const char* Text;
  std::int32_t Length;
};

// The keywords of one hash value, in list order. An empty bucket is one whose
// keyword test is the scanner's AltFunc.
struct TKeywordBucket {
  const TKeyword* First = nullptr;
  const TKeyword* Last = nullptr;
  bool Empty() const { return First == Last; }
};

class TKeywordBuckets {
 public:
  // hashOf(word) must hash a listed word exactly as the scanner's KeyHash
  // hashes the same word in running text, or the word could never be found.
  // Words that hash outside 0..maxKey (hashOf may say -1 for a word KeyHash
  // cannot reach) are left out.
  template <class HashOf>
  TKeywordBuckets(std::initializer_list<const char*> words, int maxKey, HashOf hashOf)
      : TKeywordBuckets(words.begin(), words.end(), maxKey, hashOf) {}
  template <std::size_t N, class HashOf>
  TKeywordBuckets(const char* const (&words)[N], int maxKey, HashOf hashOf)
      : TKeywordBuckets(words, words + N, maxKey, hashOf) {}
  template <class HashOf>
  TKeywordBuckets(const char* const* first, const char* const* last, int maxKey, HashOf hashOf)
      : Buckets_(static_cast<std::size_t>(maxKey) + 1) {
    std::vector<std::pair<int, TKeyword>> hashed;
    for (const char* const* word = first; word != last; ++word) {
      const char* w = *word;
      const int h = hashOf(w);
      if (h < 0 || h > maxKey) continue;
      std::int32_t len = 0;
      while (w[len] != '\0') ++len;
      hashed.push_back({h, TKeyword{w, len}});
    }
    std::stable_sort(hashed.begin(), hashed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    Words_.reserve(hashed.size());
    for (const auto& e : hashed) Words_.push_back(e.second);
    for (std::size_t i = 0; i < hashed.size(); ++i) {
      TKeywordBucket& b = Buckets_[static_cast<std::size_t>(hashed[i].first)];
      if (b.Empty()) b.First = &Words_[i];
      b.Last = &Words_[i] + 1;
    }
  }
  TKeywordBuckets(const TKeywordBuckets&) = delete;
  TKeywordBuckets& operator=(const TKeywordBuckets&) = delete;

  // The bucket table, indexed by hash 0..maxKey.
  const TKeywordBucket* Table() const { return Buckets_.data(); }

 private:
  std::vector<TKeyword> Words_;
  std::vector<TKeywordBucket> Buckets_;
};

// The hash rule of the script scanners: letters of either case count their
// place in the alphabet (1..26), "_" counts 31, everything else 0.
constexpr std::array<std::int32_t, 256> MakeLetterHashTable() {
  std::array<std::int32_t, 256> t{};
  for (int c = 'a'; c <= 'z'; ++c) {
    t[static_cast<std::size_t>(c)] = c - 'a' + 1;
    t[static_cast<std::size_t>(c - 'a' + 'A')] = c - 'a' + 1;
  }
  t['_'] = 31;
  return t;
}

// ASCII digits, letters and "_".
constexpr std::array<bool, 256> MakeWordCharTable() {
  std::array<bool, 256> t{};
  for (int c = '0'; c <= '9'; ++c) t[static_cast<std::size_t>(c)] = true;
  for (int c = 'a'; c <= 'z'; ++c) {
    t[static_cast<std::size_t>(c)] = true;
    t[static_cast<std::size_t>(c - 'a' + 'A')] = true;
  }
  t['_'] = true;
  return t;
}

// An identifier's hash and length. The sum is 64 bits wide: the longest text
// the program holds (2^31 - 1 bytes) times the largest byte value (255) stays
// far inside it, so no identifier, however long, overflows the sum.
struct TWordHash {
  std::uint64_t Hash = 0;
  std::int32_t Length = 0;
};

// Sums values[b] over the bytes b from p on for which inWord(b) holds.
template <class InWord>
TWordHash HashWord(const char* p, const std::int32_t* values, InWord inWord) {
  const char* const start = p;
  std::uint64_t hash = 0;
  for (unsigned char b; inWord(b = static_cast<unsigned char>(*p)); ++p) {
    hash += static_cast<std::uint64_t>(values[b]);
  }
  return TWordHash{hash, static_cast<std::int32_t>(p - start)};
}

// The hash of a listed word for TKeywordBuckets: -1 when the word does not
// hash whole under the rule (it could never be found) or lies beyond maxKey.
template <class InWord>
int ListedWordHash(const char* word, const std::int32_t* values, InWord inWord, int maxKey) {
  const TWordHash h = HashWord(word, values, inWord);
  if (word[h.Length] != '\0' || h.Hash > static_cast<std::uint64_t>(maxKey)) return -1;
  return static_cast<int>(h.Hash);
}

// The comparison of KeyComp: same length, and the same hash value byte for byte.
inline bool SameUnderHash(const TKeyword& keyword, const char* ident, std::int32_t identLen,
                          const std::int32_t* hashTable) {
  if (keyword.Length != identLen) return false;
  for (std::int32_t i = 0; i < identLen; ++i) {
    if (hashTable[static_cast<unsigned char>(keyword.Text[i])] !=
        hashTable[static_cast<unsigned char>(ident[i])])
      return false;
  }
  return true;
}
