// The record of a scan's line starts: for every line, the scanner's state and
// the reader's look where it begins. A whole-document conversion writes it as
// it goes; a later refresh resumes a scan from it and stops where a new line
// start meets its old record again.
#pragma once

#include <cstdint>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "scan_state.h"

// Follows the look from token to token and tells the look of each token's text.
class TLookTracker {
 public:
  explicit TLookTracker(TLookId look = kDocumentStartLook) : Look_(look) {}

  // The look of the token's bytes. A line end is written after the "\par"
  // that stands for it, in the look before its own frame.
  TLookId Token(const TFragmentFrame& frame, bool lineEnd) {
    TFrameEffect effect;
    if (!Effects_.Find(frame, effect)) {
      Failed_ = true;
      return Look_;
    }
    if (lineEnd) {
      const TLookId shown = Look_;
      Look_ = effect.AfterTail(effect.AfterHead(Look_));
      return shown;
    }
    const TLookId shown = effect.AfterHead(Look_);
    Look_ = effect.AfterTail(shown);
    return shown;
  }
  TLookId Look() const { return Look_; }
  bool Failed() const { return Failed_; }
  void Fail() { Failed_ = true; }

 private:
  TFrameEffects Effects_;
  TLookId Look_;
  bool Failed_ = false;
};

// A token the record cannot stand for: a CR or LF that is not part of a
// CR LF pair. The reader drops such a byte from the text, so a document
// holding one is replaced by the conversion and its lines are not the scan's.
inline bool IsLoneLineEnd(std::string_view token) {
  return token.size() == 1 && (token[0] == '\r' || token[0] == '\n');
}

inline bool IsCrLf(std::string_view token) {
  return token.size() == 2 && token[0] == '\r' && token[1] == '\n';
}

// The record of a line start no scan has reached yet: it equals no record a
// scan writes, whose low bits hold a look.
constexpr std::uint64_t kUnscannedLine = ~std::uint64_t{0};
static_assert(kLookCount < 0xFFFF, "no look has the unscanned line's low bits");

// One line start: the scanner state above the look.
constexpr std::uint64_t PackLine(TScanState state, TLookId look) {
  return state.Value << 16 | look;
}
constexpr TLookId LineLook(std::uint64_t line) { return static_cast<TLookId>(line & 0xFFFF); }
constexpr TScanState LineState(std::uint64_t line) { return TScanState{line >> 16}; }

class TLineRecord {
 public:
  // A new record for a scan by `scanner`, whose state at the text start is `initial`.
  void Begin(const std::type_info& scanner, TScanState initial) {
    Class_ = &scanner;
    Lines_.clear();
    Lines_.push_back(PackLine(initial, kDocumentStartLook));
    Tracker_ = TLookTracker();
    Valid_ = true;
  }
  // Called for every token of the scan, and after each CR LF with the state there.
  void Token(const TFragmentFrame& frame, std::string_view token, bool lineEnd) {
    if (!lineEnd && IsLoneLineEnd(token)) Valid_ = false;
    Tracker_.Token(frame, lineEnd);
  }
  void LineStart(TScanState state) { Lines_.push_back(PackLine(state, Tracker_.Look())); }
  void Invalidate() { Valid_ = false; }

  bool Valid() const { return Valid_ && !Tracker_.Failed(); }
  const std::type_info* ScannerClass() const { return Class_; }
  std::vector<std::uint64_t>& Lines() { return Lines_; }
  const std::vector<std::uint64_t>& Lines() const { return Lines_; }

 private:
  const std::type_info* Class_ = nullptr;
  std::vector<std::uint64_t> Lines_;
  TLookTracker Tracker_;
  bool Valid_ = false;
};
