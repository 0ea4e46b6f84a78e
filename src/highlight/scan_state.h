// What a scan carries from one token to the next, as small values: the
// scanner's own state (its range and whatever else a token's scan reads of
// the tokens before it) and the look the RTF reader is in between tokens.
// A scan from a line start is fixed by the bytes from there on and these two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "rtf_fragment.h"

// A scanner's carried state; equal values scan equal bytes to equal tokens.
struct TScanState {
  std::uint64_t Value = 0;
  bool operator==(const TScanState& o) const { return Value == o.Value; }
  bool operator!=(const TScanState& o) const { return Value != o.Value; }
};

// The character look between two tokens as the RTF reader holds it: the colour
// index (-1 for none, as at the document start), bold and italic, in one
// number: bit 0 italic, bit 1 bold, the bits above the colour index plus one.
using TLookId = std::uint16_t;

constexpr int kMaxLookColor = 99;
constexpr std::size_t kLookCount = (kMaxLookColor + 2) * 4;
constexpr TLookId kDocumentStartLook = 0;

constexpr TLookId MakeLook(int color, bool bold, bool italic) {
  return static_cast<TLookId>((color + 1) * 4 + (bold ? 2 : 0) + (italic ? 1 : 0));
}
constexpr int LookColor(TLookId look) { return look / 4 - 1; }
constexpr bool LookBold(TLookId look) { return (look & 2) != 0; }
constexpr bool LookItalic(TLookId look) { return (look & 1) != 0; }

// What a token's frame does to the look: its head, then (after the token's
// text) its tail, each as the bits it keeps and the bits it sets.
struct TFrameEffect {
  std::uint16_t HeadKeep = 0xFFFF;
  std::uint16_t HeadSet = 0;
  std::uint16_t TailKeep = 0xFFFF;
  std::uint16_t TailSet = 0;

  TLookId AfterHead(TLookId look) const {
    return static_cast<TLookId>((look & HeadKeep) | HeadSet);
  }
  TLookId AfterTail(TLookId look) const {
    return static_cast<TLookId>((look & TailKeep) | TailSet);
  }
};

// Reads the control words of a frame's head or tail into an effect. Only
// "\cfN" (N up to kMaxLookColor), "\b", "\b0", "\i" and "\i0", each closed by
// a space, are understood: false for anything else, whose look the scan
// cannot follow.
bool ReadFrameWords(std::string_view rtf, std::uint16_t& keep, std::uint16_t& set);
bool ReadFrameEffect(const TFragmentFrame& frame, TFrameEffect& effect);

// Frame effects already read, looked up by the frame's address and checked
// against its bytes (a frame may be rewritten in place).
class TFrameEffects {
 public:
  // False when the frame holds words the scan cannot follow.
  bool Find(const TFragmentFrame& frame, TFrameEffect& effect) {
    Entry& e = Entries_[(reinterpret_cast<std::uintptr_t>(&frame) >> 3) % kEntries];
    if (e.Frame != &frame || std::memcmp(&e.Bytes, &frame, sizeof frame) != 0) {
      if (!ReadFrameEffect(frame, e.Effect)) {
        e.Frame = nullptr;
        return false;
      }
      e.Frame = &frame;
      std::memcpy(&e.Bytes, &frame, sizeof frame);
    }
    effect = e.Effect;
    return true;
  }

 private:
  struct Entry {
    const TFragmentFrame* Frame = nullptr;
    TFragmentFrame Bytes;
    TFrameEffect Effect;
  };
  static constexpr std::size_t kEntries = 64;
  Entry Entries_[kEntries];
};
