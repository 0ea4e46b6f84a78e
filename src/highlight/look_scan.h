// A scan resumed at a line start that writes the look of every byte into the
// caller's record of looks and reports each line start it reaches, so the
// caller can stop it where the rest of the document is known to hold.
#pragma once

#include <cstddef>
#include <cstdint>

#include "line_record.h"

class TLookScan {
 public:
  virtual ~TLookScan() = default;

  // The text from a line start on, ending in a NUL; its first byte is byte
  // `Base` of the document, scanned from state `State` and look `Tracker.Look()`.
  const char* Text = "";
  std::size_t Base = 0;
  TScanState State;
  TLookTracker Tracker;

  // The caller's record of looks, one value per byte of the document, and the
  // value that stands for each look (FormatOfLook fills the table).
  std::uint8_t* FormatOf = nullptr;

  // Set by the scan: Failed when it met what it cannot follow (the caller
  // then converts the whole document), Stopped when LineStart asked to stop,
  // else End is where the text ended (its NUL, relative to Text).
  bool Failed = false;
  bool Stopped = false;
  std::size_t End = 0;
  // The bytes whose record value changed; ChangedTo 0 while none did.
  std::size_t ChangedFrom = 0;
  std::size_t ChangedTo = 0;

  // Called after every CR LF with the position (relative to Text) and state
  // of the line start behind it; true stops the scan there.
  virtual bool LineStart(std::size_t at, TScanState state) = 0;
  // The record value of a look not yet in the table; false when there is none
  // to give (the scan then fails).
  virtual bool ResolveLook(TLookId look, std::uint8_t& value) = 0;

  // Writes the look of the bytes from..to (relative to Text).
  void Show(std::size_t from, std::size_t to, TLookId look) {
    if (from == to) return;
    std::uint8_t value = Value_[look];
    if (!Known_[look]) {
      if (!ResolveLook(look, value)) {
        Failed = true;
        return;
      }
      Value_[look] = value;
      Known_[look] = true;
    }
    std::uint8_t* p = FormatOf + Base + from;
    std::uint8_t* const end = FormatOf + Base + to;
    unsigned changed = 0;
    for (std::uint8_t* q = p; q != end; ++q) {
      changed |= *q ^ value;
      *q = value;
    }
    if (changed != 0) {
      if (ChangedTo == 0) ChangedFrom = Base + from;
      ChangedTo = Base + to;
    }
  }

 private:
  std::uint8_t Value_[kLookCount] = {};
  bool Known_[kLookCount] = {};
};
