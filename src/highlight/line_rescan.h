// The incremental refresh's scan: after a change, a fresh highlighter resumes
// at the first changed line (one earlier, so nothing a token there looks back
// at is missed) with the state recorded for it, writes the looks of what it
// scans, and stops at the first line start behind the changed bytes whose state
// and look equal those recorded for the same line before the change: from there
// on the old tokens, and so the old looks, hold. The record is brought up to date.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "line_record.h"
#include "rtf_syntax.h"

// The document as the scan reads it: bytes, and lines as the editor counts them
// (a line ends after each LF, and after a CR no LF follows).
class TDocumentText {
 public:
  virtual ~TDocumentText() = default;
  virtual std::size_t Length() const = 0;
  virtual std::size_t LineCount() const = 0;
  virtual std::size_t LineStart(std::size_t line) const = 0;
  virtual std::size_t LineOf(std::size_t position) const = 0;
  virtual void Copy(std::size_t from, std::size_t count, char* to) const = 0;
};

// What changed since the record was written: the first From bytes and the last
// Tail bytes of the text are those it was written for.
struct TTextChange {
  std::size_t From = 0;
  std::size_t Tail = 0;
};

struct TRescanResult {
  // False when the scan could not be done incrementally: the caller converts
  // the whole document (and the record is no longer valid).
  bool Done = false;
  // Done, but only up to the line start ResumeFrom, where the scan paused
  // before it met the old record again: the looks and line records before it
  // are those of the new text, those from it on are still the old ones. The
  // rest is a change like any other: Remaining() gives it, for a later scan
  // (or one that also takes in changes made since).
  bool Paused = false;
  std::size_t ResumeFrom = 0;
  // The bytes of the record of looks whose value the scan changed (also when
  // it failed after writing some); ChangedTo 0 where none.
  std::size_t ChangedFrom = 0;
  std::size_t ChangedTo = 0;
  // The bytes scanned, for the benchmarks.
  std::size_t Scanned = 0;
};

// The record value of a look (false where the caller has none to give).
using TLookResolver = std::function<bool(TLookId look, std::uint8_t& value)>;

// Bytes read into the scan at a time; a line longer than this doubles it.
inline constexpr std::size_t kRescanChunk = 64 * 1024;

// Where the scan of a change begins: the start of the line before the one the
// change begins in. Nothing before it is read or written.
std::size_t RescanFrom(const TDocumentText& text, TTextChange change);

// What is left to scan after a paused scan of a text of `length` bytes.
inline TTextChange Remaining(const TRescanResult& result, std::size_t length) {
  return TTextChange{result.ResumeFrom, length - result.ResumeFrom};
}

// No pause: the scan goes on until it meets the old record or the text ends.
inline constexpr std::size_t kNoPause = static_cast<std::size_t>(-1);

// formatOf[i] is the record value of byte i of the current text for every i
// from RescanFrom(text, change) on (the bytes the change inserted with any
// value). The scan may pause at the first line start after both the change
// and the byte pauseAfter where it has not met the old record yet.
TRescanResult RescanLines(TqorRTFSyntax& highlighter, const TDocumentText& text, TTextChange change,
                          TLineRecord& record, std::uint8_t* formatOf, const TLookResolver& resolve,
                          std::size_t pauseAfter = kNoPause, std::size_t chunk = kRescanChunk);
