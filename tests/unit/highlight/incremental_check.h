// The editor's refresh over a text held in a string, as the editor does it: a
// whole-document conversion read by the RTF reader into a record of looks, then
// after every change the incremental rescan into that record, falling back to
// the whole conversion where the rescan declines. A rescan may pause, leaving
// the rest as a change for the next one (the editor's idle slices, or the next
// key's refresh). Mismatch compares the record with a fresh whole conversion of
// the same text, look by look, once nothing is left for later.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "highlighter_factory.h"
#include "look_refresh.h"

namespace incremental_check {

// Lines as the editor counts them: after each LF, and after a CR no LF follows.
class TStringText final : public TDocumentText {
 public:
  explicit TStringText(const std::string& text) : Text_(text) {
    Starts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
        Starts_.push_back(i + 1);
    }
  }
  std::size_t Length() const override { return Text_.size(); }
  std::size_t LineCount() const override { return Starts_.size(); }
  std::size_t LineStart(std::size_t line) const override { return Starts_[line]; }
  std::size_t LineOf(std::size_t position) const override {
    return static_cast<std::size_t>(std::upper_bound(Starts_.begin(), Starts_.end(), position) -
                                    Starts_.begin()) -
           1;
  }
  void Copy(std::size_t from, std::size_t count, char* to) const override {
    std::memcpy(to, Text_.data() + from, count);
  }

 private:
  const std::string& Text_;
  std::vector<std::size_t> Starts_;
};

// Values of the record beyond a document's formats, as the editor keeps them.
constexpr std::uint8_t kInserted = 0xFF;
constexpr std::uint8_t kUncovered = 0xFE;

class TDocument {
 public:
  TDocument(std::string syntax, std::string text)
      : Syntax_(std::move(syntax)), Text_(std::move(text)) {
    WholeRefresh();
  }

  const std::string& Text() const { return Text_; }
  // Refreshes done incrementally and in whole since the document was made.
  int Incremental = 0;
  int Whole = 0;

  // Replaces `removed` bytes at `at` (clamped to the text) by `inserted`.
  void Replace(std::size_t at, std::size_t removed, std::string_view inserted) {
    at = std::min(at, Text_.size());
    removed = std::min(removed, Text_.size() - at);
    const std::size_t tail = Text_.size() - at - removed;
    Change_.From = Changed_ ? std::min(Change_.From, at) : at;
    Change_.Tail = Changed_ ? std::min(Change_.Tail, tail) : tail;
    Changed_ = true;
    Text_.replace(at, removed, inserted);
    std::vector<std::uint8_t>& shown = Doc_.FormatOf;
    shown.erase(shown.begin() + static_cast<std::ptrdiff_t>(at),
                shown.begin() + static_cast<std::ptrdiff_t>(at + removed));
    shown.insert(shown.begin() + static_cast<std::ptrdiff_t>(at), inserted.size(), kInserted);
  }

  // After one or more changes; true when the refresh was incremental. The
  // rescan may pause at the first line start after pauseAfter (and after the
  // changes) where the old looks do not hold yet.
  bool Refresh(std::size_t pauseAfter = kNoPause) {
    std::unique_ptr<TqorRTFSyntax> highlighter = CreateHighlighter(Syntax_).Highlighter;
    const TRescanResult result =
        RescanIntoDocument(*highlighter, TStringText(Text_), Change_, Record_, Doc_, pauseAfter);
    Changed_ = false;
    Pending_ = false;
    Refreshed_ = Text_;
    if (result.Done) {
      ++Incremental;
      if (result.Paused) {
        Change_ = Remaining(result, Text_.size());
        Changed_ = Pending_ = true;
        ++Paused;
      }
      return true;
    }
    WholeRefresh();
    return false;
  }

  // Colours the whole text by a scan from its start, as the editor does for a
  // load or a syntax choice, keeping the looks it shows until the scan writes
  // over them (or none, as on new text); it may pause as a refresh does.
  // False where the editor would convert instead (the scan would not give
  // what the conversion gives, or the class cannot resume).
  bool ColourFromStart(std::size_t pauseAfter, bool keepShownLooks) {
    std::unique_ptr<TqorRTFSyntax> highlighter = CreateHighlighter(Syntax_).Highlighter;
    const TStringText text(Text_);
    TTextChange all;
    if (!ScansAsConverted(Text_) || !BeginUnscanned(*highlighter, text, Record_, all)) {
      return false;
    }
    if (!keepShownLooks) Doc_.FormatOf.assign(Text_.size(), kUncovered);
    Change_ = all;
    Changed_ = true;
    return Refresh(pauseAfter);
  }
  // The syntax of the refreshes from now on.
  void SetSyntax(std::string syntax) { Syntax_ = std::move(syntax); }

  // Whether a paused rescan left looks for later, and the refreshes that
  // finish them, in slices of about `slice` bytes.
  bool Pending() const { return Pending_; }
  std::size_t PendingFrom() const { return Change_.From; }
  void Settle(std::size_t slice = kNoPause) {
    while (Pending_) {
      if (!Refresh(slice == kNoPause ? kNoPause : Change_.From + slice)) return;
    }
  }
  int Paused = 0;

  // The first byte whose look differs from a fresh whole conversion's of the
  // text as it was at the last refresh (a conversion that reads the text
  // otherwise than it stands replaces it), or "".
  std::string Mismatch() const {
    if (Pending_) return "looks are still pending";
    const std::size_t covered = strnlen(Refreshed_.c_str(), Refreshed_.size());
    RtfDocument fresh;
    ParseRtf(Convert(Refreshed_), fresh, std::string_view(Refreshed_.data(), covered));
    const std::string shown = Refreshed_.substr(0, fresh.KnownBytes) + fresh.Text;
    if (Text_.compare(0, shown.size(), shown) != 0) return "the text is not the conversion's";
    for (std::size_t i = 0; i < fresh.Size(); ++i) {
      const std::uint8_t value = Doc_.FormatOf[i];
      if (value >= Doc_.Formats.size() || Doc_.Formats[value] != fresh.Formats[fresh.FormatOf[i]]) {
        return "look of byte " + std::to_string(i) + " of " + std::to_string(Text_.size()) +
               " differs (record value " + std::to_string(value) + ")";
      }
    }
    return "";
  }

 private:
  std::string Convert(const std::string& text, TLineRecord* record = nullptr) const {
    std::unique_ptr<TqorRTFSyntax> highlighter = CreateHighlighter(Syntax_).Highlighter;
    if (record != nullptr) highlighter->RecordLines(*record);
    highlighter->SetText(text.c_str());
    return highlighter->ConvertToRtfString();
  }

  // The refresh path of a load or a syntax choice: the reader stops at the
  // first NUL; text it reads otherwise than it stands replaces it.
  void WholeRefresh() {
    ++Whole;
    Refreshed_ = Text_;
    const std::size_t covered = strnlen(Text_.c_str(), Text_.size());
    ParseRtf(Convert(Text_, &Record_), Doc_, std::string_view(Text_.data(), covered));
    if (Doc_.Size() != covered || !Doc_.Text.empty()) {
      Text_ = Text_.substr(0, Doc_.KnownBytes) + Doc_.Text + Text_.substr(covered);
      Doc_.Text.clear();
      Record_.Invalidate();
    }
    if (Doc_.Size() < Text_.size()) Record_.Invalidate();
    Doc_.FormatOf.resize(Text_.size(), kUncovered);
    Changed_ = false;
    Pending_ = false;
  }

  std::string Syntax_;
  std::string Text_;
  std::string Refreshed_;
  RtfDocument Doc_;
  TLineRecord Record_;
  TTextChange Change_;
  bool Changed_ = false;
  bool Pending_ = false;
};

// What random documents and edits are made of: the openers and closers of
// every syntax, words that switch a scanner's state, line ends of every kind.
inline const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> pieces = {
      "<",         ">",     "</",   "=",        "\"",        "'",       " ",        "\t",
      "{",         "}",     "\\",   "/",        "*",         "(*",      "*)",       "//",
      "/*",        "*/",    "--",   "#",        "<!--",      "-->",     "<?php",    "?>",
      "<?",        "<%",    "%>",   "&amp;",    "&",         ";",       "$x",       "if",
      "then",      "begin", "end",  "End",      "asm",       "ASM",     "property", "read",
      "SELECT",    "from",  "Dim",  "var",      "html",      "body",    "123",      "0x1F",
      "3.14",      "abc",   "Zed",  "_id",      "\xE9",      "\x80",    "\xFF",     "\r\n",
      "\r\n",      "\r\n",  "\r\n", "\r\n\r\n", "<![CDATA[", "]]>",     "<script>", "</script>",
      "<!DOCTYPE", "xmlns", "&lt;", "&#9;",     "\"\"\"",    "a=\"b\"", "<b>",      "'comment"};
  return pieces;
}

// pick(n) gives a number below n.
template <class Pick>
std::string RandomText(Pick& pick, std::size_t length) {
  std::string text;
  while (text.size() < length) text += Pieces()[pick(Pieces().size())];
  return text;
}

// One random change of the document: an insert, delete or replace of one to a
// few hundred bytes at a random place, a CR LF split or joined, a lone CR or
// LF, a NUL, or a paste of a whole other document. Most changes keep CR LF
// pairs whole, as the editor's own do.
template <class Pick>
void RandomEdit(TDocument& doc, Pick& pick, const std::vector<std::string>& pastes) {
  const std::string& text = doc.Text();
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos && pick(3) == 0) return doc.Replace(nul, 1, "");
  const auto inPair = [&text](std::size_t at) {
    return at > 0 && at < text.size() && text[at - 1] == '\r' && text[at] == '\n';
  };
  std::size_t at = pick(text.size() + 1);
  if (inPair(at) && pick(8) != 0) ++at;
  const auto some = [&pick] { return 1 + (pick(4) == 0 ? pick(300) : pick(12)); };
  const auto removed = [&](std::size_t n) {
    n = std::min(n, text.size() - at);
    return inPair(at + n) && pick(8) != 0 ? n + 1 : n;
  };
  switch (pick(40)) {
    case 0:
    case 1: {
      // Into a CR LF pair, or the pair's LF away.
      const std::size_t cr = text.find("\r\n", at);
      if (cr == std::string::npos) break;
      if (pick(2) == 0) {
        doc.Replace(cr + 1, 0, Pieces()[pick(Pieces().size())]);
      } else {
        doc.Replace(cr + 1, 1, "");
      }
      break;
    }
    case 2:
      doc.Replace(at, 0, pick(2) == 0 ? "\r" : "\n");
      break;
    case 3:
      doc.Replace(at, removed(pick(2)), std::string(1, '\0'));
      break;
    case 4:
    case 5:
      if (!pastes.empty())
        doc.Replace(at, pick(3) == 0 ? removed(some()) : 0, pastes[pick(pastes.size())]);
      break;
    default:
      switch (pick(4)) {
        case 0:
          doc.Replace(at, 0, RandomText(pick, some()));
          break;
        case 1:
          doc.Replace(at, removed(some()), "");
          break;
        case 2:
          doc.Replace(at, removed(some()), RandomText(pick, some()));
          break;
        default:
          doc.Replace(at, removed(pick(2)), Pieces()[pick(Pieces().size())]);
          break;
      }
  }
}

}  // namespace incremental_check
