#include "line_rescan.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace {

class TRescan final : public TLookScan {
 public:
  TRescan(const std::vector<std::uint64_t>& oldLines, std::ptrdiff_t lineShift,
          std::size_t changeEnd, std::size_t pauseAfter, std::size_t firstLine,
          const TLookResolver& resolve)
      : OldLines_(oldLines),
        LineShift_(lineShift),
        ChangeEnd_(changeEnd),
        PauseAfter_(pauseAfter),
        Line_(firstLine),
        Resolve_(resolve) {}

  bool LineStart(std::size_t at, TScanState state) override {
    const std::size_t position = Base + at;
    ++Line_;
    const std::uint64_t line = PackLine(state, Tracker.Look());
    // Behind the changed bytes a line start of the new text is one of the old
    // text too (its line end is an old byte), Shift lines further on.
    if (position > ChangeEnd_) {
      const auto old = static_cast<std::ptrdiff_t>(Line_) - LineShift_;
      if (old >= 0 && static_cast<std::size_t>(old) < OldLines_.size() &&
          OldLines_[static_cast<std::size_t>(old)] == line) {
        StoppedAt = at;
        return true;
      }
      if (position > PauseAfter_) {
        // This line start is the first of the rest: its record is the new one.
        NewLines.push_back(line);
        StoppedAt = at;
        Paused = true;
        return true;
      }
    }
    NewLines.push_back(line);
    return false;
  }
  bool ResolveLook(TLookId look, std::uint8_t& value) override { return Resolve_(look, value); }

  std::size_t Line() const { return Line_; }
  // The records of the lines scanned past, from the first changed line's next on.
  std::vector<std::uint64_t> NewLines;
  std::size_t StoppedAt = 0;
  bool Paused = false;

 private:
  const std::vector<std::uint64_t>& OldLines_;
  std::ptrdiff_t LineShift_;
  std::size_t ChangeEnd_;
  std::size_t PauseAfter_;
  std::size_t Line_;
  const TLookResolver& Resolve_;
};

std::size_t FirstLine(const TDocumentText& text, TTextChange change) {
  const std::size_t line = text.LineOf(change.From);
  return line > 0 ? line - 1 : 0;
}

}  // namespace

std::size_t RescanFrom(const TDocumentText& text, TTextChange change) {
  return text.LineStart(FirstLine(text, change));
}

TRescanResult RescanLines(TqorRTFSyntax& highlighter, const TDocumentText& text, TTextChange change,
                          TLineRecord& record, std::uint8_t* formatOf, const TLookResolver& resolve,
                          std::size_t pauseAfter, std::size_t chunk) {
  TRescanResult result;
  std::vector<std::uint64_t>& lines = record.Lines();
  const std::size_t length = text.Length();
  if (!record.Valid() || record.ScannerClass() == nullptr ||
      *record.ScannerClass() != typeid(highlighter) || lines.empty() || change.From > length ||
      change.Tail > length - change.From) {
    record.Invalidate();
    return result;
  }
  const std::size_t changeEnd = length - change.Tail;
  const auto lineShift =
      static_cast<std::ptrdiff_t>(text.LineCount()) - static_cast<std::ptrdiff_t>(lines.size());
  const std::size_t firstLine = FirstLine(text, change);
  if (firstLine >= lines.size()) {
    record.Invalidate();
    return result;
  }
  TRescan scan(lines, lineShift, changeEnd, pauseAfter, firstLine, resolve);
  scan.FormatOf = formatOf;
  std::size_t position = text.LineStart(firstLine);
  std::uint64_t start = lines[firstLine];
  std::string buffer;
  for (;;) {
    const std::size_t available = length - position;
    std::size_t n = std::min(available, chunk);
    buffer.resize(n + 1);
    text.Copy(position, n, &buffer[0]);
    if (n < available) {
      // The piece ends behind a line end, so no token of it reads past it.
      const std::size_t lf = std::string_view(buffer.data(), n).rfind('\n');
      if (lf == std::string_view::npos) {
        chunk *= 2;
        continue;
      }
      n = lf + 1;
    }
    buffer[n] = '\0';
    scan.Text = buffer.data();
    scan.Base = position;
    scan.State = LineState(start);
    scan.Tracker = TLookTracker(LineLook(start));
    scan.End = 0;
    highlighter.ScanLooks(scan);
    result.ChangedFrom = scan.ChangedTo > 0 ? scan.ChangedFrom : 0;
    result.ChangedTo = scan.ChangedTo;
    if (scan.Failed || (!scan.Stopped && scan.End != n)) {
      // Something the record cannot stand for, or a NUL, which ends the
      // conversion there: the whole document is converted.
      record.Invalidate();
      return result;
    }
    if (scan.Stopped) {
      result.Scanned += scan.StoppedAt;
      break;
    }
    result.Scanned += n;
    position += n;
    if (position == length) break;
    start = scan.NewLines.back();
  }
  // Lines firstLine + 1 up to the line the scan stopped in front of (or to the
  // end) take the new records; a paused scan's last line start too.
  const std::size_t replacedFrom = firstLine + 1;
  std::size_t replacedTo = lines.size();
  if (scan.Stopped) {
    replacedTo = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(scan.Line()) - lineShift) +
                 (scan.Paused ? 1 : 0);
  }
  const std::size_t kept = lines.size() - (replacedTo - replacedFrom);
  if (replacedTo < replacedFrom || kept + scan.NewLines.size() != text.LineCount()) {
    record.Invalidate();
    return result;
  }
  if (replacedTo - replacedFrom == scan.NewLines.size()) {
    std::copy(scan.NewLines.begin(), scan.NewLines.end(), lines.begin() + replacedFrom);
  } else {
    lines.erase(lines.begin() + replacedFrom, lines.begin() + replacedTo);
    lines.insert(lines.begin() + replacedFrom, scan.NewLines.begin(), scan.NewLines.end());
  }
  result.Done = true;
  if (scan.Paused) {
    result.Paused = true;
    result.ResumeFrom = position + scan.StoppedAt;
  }
  return result;
}
