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
      : Buckets_(static_cast<std::size_t>(maxKey) + 1) {
    std::vector<std::pair<int, TKeyword>> hashed;
    for (const char* w : words) {
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
