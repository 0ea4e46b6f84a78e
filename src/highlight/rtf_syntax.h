// The highlighter base class: the RTF document parts, the conversion loop that
// walks a scanner's tokens and writes one RTF document, and the scanner contract.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "look_scan.h"
#include "rtf_fragment.h"

// A colour value: red in the low byte, green in the second, blue in the third.
// A value with the high byte 0xFF is a system colour, which the colour table
// writes as black.
using TColor = std::uint32_t;

constexpr TColor RGBColor(unsigned r, unsigned g, unsigned b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr TColor kSystemColorFlag = 0xFF000000u;

// A font as the font table needs it: the metrics the platform reports for it.
struct TFontDesc {
  std::string Name;
  std::uint8_t PitchAndFamily = 0;  // high four bits: the family
  std::uint8_t CharSet = 0;
};

// "Courier New" as a fixed-pitch modern face with the ANSI character set.
TFontDesc DefaultCourierNew();

// Replaces the description the constructor passes to SetFonts, so every new
// highlighter's font table names what the editor really shows.
void SetDefaultFont(const TFontDesc& font);

// A writable byte stream.
class TStream {
 public:
  virtual ~TStream() = default;
  virtual void Write(const char* data, std::size_t count) = 0;
};

// An in-memory stream; writes go to Position and extend the data.
class TMemoryStream : public TStream {
 public:
  void Write(const char* data, std::size_t count) override;
  const std::string& Data() const { return Data_; }
  std::string& Data() { return Data_; }
  std::size_t Position = 0;

 private:
  std::string Data_;
};

class TqorRTFSyntax {
 public:
  TqorRTFSyntax();
  virtual ~TqorRTFSyntax() = default;
  TqorRTFSyntax(const TqorRTFSyntax&) = delete;
  TqorRTFSyntax& operator=(const TqorRTFSyntax&) = delete;

  // Virtual operations, in slot order.
  virtual void EscapeToken(std::string& token);  // 0
  // Appends the RTF fragment for a token to out (the fragment is the text the
  // operation returns; appending spares a string per token): the head that
  // FrameToken gives, the token and the tail.
  virtual void FormatToken(int colorIndex, std::string_view token,
                           std::string& out);              // 1
  virtual void Next();                                     // 2
  virtual bool GetEol();                                   // 3
  virtual std::string GetToken();                          // 4
  virtual int GetTokenKind();                              // 5
  virtual std::string ColorToRtf(TColor color);            // 6
  virtual void SetLine(const char* text, int lineNumber);  // 7
  virtual void SetText(const char* text);                  // 8
  virtual void ConvertToRtf(TStream& stream);              // 9
  virtual std::string ConvertToRtfString();                // 10
  // The name of the current token's kind as the scanner's token table spells
  // it ("TagName", "Symbol", ...), for token dumps.
  virtual const char* GetTokenKindName();  // 11
  // The current token's place in the text given to SetText: its first byte
  // and the byte after it; -1 from a class that does not tell.
  virtual std::int32_t TokenStart() const { return -1; }
  virtual std::int32_t TokenEnd() const { return -1; }

  // The scanner's carried state at this point, as a value, and its return;
  // false from a class that cannot give it (its scans are never resumed).
  virtual bool SaveState(TScanState& state) const;
  virtual void RestoreState(const TScanState& state);
  // Makes the next ConvertToRtf write the record of its line starts; call it
  // before SetText. The record is left invalid where the scan cannot be resumed.
  void RecordLines(TLineRecord& record);
  // Scans from scan.Text on, resumed from scan.State, writing looks and
  // reporting line starts; fails at once in a class that cannot.
  virtual void ScanLooks(TLookScan& scan);

  void SetColors(const std::vector<TColor>& colors);
  void SetFonts(const std::vector<TFontDesc>& fonts);

  // Fixed document parts.
  std::string RtfHeader;
  std::string RtfFontTableEnd;
  std::string RtfDocumentStart;
  std::string RtfColorTable;
  std::string RtfFontTable;
  std::int32_t CodePage = 1252;

 protected:
  // The frame of a token's fragment, for the escaped token: the plain form
  // unless the scanner has forms of its own. The frame lives until the next call.
  virtual const TFragmentFrame& FrameToken(int colorIndex, std::string_view token);
  // The plain form: "\cf" and the colour index in decimal, a space, no tail.
  const TFragmentFrame& PlainFrame(int colorIndex);
  // The plain form, but italic for colour index 1 and bold for 3: comments and
  // keywords of the scanners that write them so.
  const TFragmentFrame& ItalicBoldFrame(int colorIndex);

  // The current token's text where the scanner reads it (GetToken without the
  // copy), valid until the next Next. A scanner that gives it promises that its
  // EscapeToken is EscapeRtf and that its FrameToken gives the same frame for a
  // token as it stands and escaped, so the loop escapes straight into the
  // output. The default gives none and returns false.
  virtual bool TokenInPlace(std::string_view& token);

  // Appends the fragments of the tokens left in the scan to out, handing every
  // full block to flushTo when there is one. Each scanner is final, befriends
  // this class and overrides it with AppendTokensOf(*this, out, flushTo): the
  // loop then calls the scanner's own operations directly, not through the
  // virtual table, which costs more per token than writing the fragment does,
  // and writes the frame and the token in place of calling FormatToken. Any
  // other class gets the loop through the virtual operations, token by token.
  virtual void AppendTokens(std::string& out, TStream* flushTo);
  template <class Scanner>
  void AppendTokensOf(Scanner& scanner, std::string& out, TStream* flushTo);
  // ScanLooks for the scanner's own class, as AppendTokensOf.
  template <class Scanner>
  void ScanLooksOf(Scanner& scanner, TLookScan& scan);

 private:
  // The conversion loop: appends the document to out, handing every full block
  // to flushTo when there is one.
  void AppendDocument(std::string& out, TStream* flushTo);
  // Gives out room for `need` more bytes; runs whenever the writer's stretch
  // of room is used up. While the document is in memory it also sees to room
  // for the rest of the text, as far as that can be foreseen from the RTF that
  // the first `consumed` bytes of it made since tokensStart.
  void MakeRoom(std::string& out, std::size_t need, std::size_t tokensStart, std::size_t consumed,
                bool inMemory);

  // Length of the text given to SetText; the output is sized from it.
  std::size_t TextLength_ = 0;
  // The fragment of a FormatToken that the loop cannot see through.
  std::string Fragment_;
  // The plain frame of a colour index that has no ready-made one.
  TFragmentFrame OddFrame_;
  // The record the next conversion writes, if any.
  TLineRecord* Record_ = nullptr;
};

// Appends a number in decimal, without sign or leading zeros (no printf per token).
void AppendDecimal(std::string& out, unsigned value);
// Writes the same digits to out (room for 10 bytes) and returns their count.
std::size_t WriteDecimal(char* out, unsigned value);

// Escapes "\", "{" and "}" in place, backslashes first.
void EscapeRtf(std::string& token);

namespace rtf_detail {

// "\cf0 " to "\cf99 ", ready-made: every scanner's indexes are among them.
struct PlainFrames {
  TFragmentFrame Of[100];
};

constexpr PlainFrames MakePlainFrames() {
  PlainFrames t{};
  for (int i = 0; i < 100; ++i) {
    char* head = t.Of[i].Head;
    std::uint8_t n = 0;
    head[n++] = '\\';
    head[n++] = 'c';
    head[n++] = 'f';
    if (i >= 10) head[n++] = static_cast<char>('0' + i / 10);
    head[n++] = static_cast<char>('0' + i % 10);
    head[n++] = ' ';
    t.Of[i].HeadSize = n;
  }
  return t;
}

inline constexpr PlainFrames kPlainFrames = MakePlainFrames();

// Blocks handed to a stream that is not in memory.
inline constexpr std::size_t kBlockSize = 1u << 16;

}  // namespace rtf_detail

inline const TFragmentFrame& TqorRTFSyntax::FrameToken(int colorIndex, std::string_view) {
  return PlainFrame(colorIndex);
}

inline const TFragmentFrame& TqorRTFSyntax::PlainFrame(int colorIndex) {
  if (colorIndex >= 0 && colorIndex < 100) return rtf_detail::kPlainFrames.Of[colorIndex];
  TFragmentFrame& frame = OddFrame_;
  std::memcpy(frame.Head, "\\cf", 3);
  std::size_t n = 3;
  unsigned value = static_cast<unsigned>(colorIndex);
  if (colorIndex < 0) {
    // "%d" of a negative index; no scanner produces one.
    frame.Head[n++] = '-';
    value = static_cast<unsigned>(-static_cast<long long>(colorIndex));
  }
  n += WriteDecimal(frame.Head + n, value);
  frame.Head[n++] = ' ';
  frame.HeadSize = static_cast<std::uint8_t>(n);
  return frame;
}

inline const TFragmentFrame& TqorRTFSyntax::ItalicBoldFrame(int colorIndex) {
  static constexpr TFragmentFrame kItalic = TFragmentFrame::Of("\\cf1 \\i ", "\\i0 ");
  static constexpr TFragmentFrame kBold = TFragmentFrame::Of("\\cf3 \\b ", "\\b0 ");
  if (colorIndex == 1) return kItalic;
  if (colorIndex == 3) return kBold;
  return PlainFrame(colorIndex);
}

template <class Scanner>
void TqorRTFSyntax::AppendTokensOf(Scanner& scanner, std::string& out, TStream* flushTo) {
  using namespace rtf_detail;
  // The frame stands for the whole fragment only where FormatToken is the
  // base's, and where no class further down can replace either of them.
  constexpr bool kFramed =
      std::is_final_v<Scanner> &&
      std::is_same_v<decltype(&Scanner::FormatToken),
                     void (TqorRTFSyntax::*)(int, std::string_view, std::string&)>;
  TRawAppender writer(out);
  const std::size_t tokensStart = writer.Size();
  std::size_t consumed = 0;  // text bytes behind the tokens written so far
  const auto makeRoom = [&](std::size_t need) {
    if (writer.Room() < need) {
      MakeRoom(writer.Text(), need, tokensStart, consumed, flushTo == nullptr);
      writer.Expose(need);
    }
  };
  const auto isLineEnd = [](std::string_view t) {
    return t.size() == 2 && t[0] == '\r' && t[1] == '\n';
  };
  std::string copied;
  TLineRecord* const record = Record_;
  Record_ = nullptr;
  while (!scanner.GetEol()) {
    std::string_view token;
    if (kFramed && scanner.TokenInPlace(token)) {
      const int kind = scanner.GetTokenKind();
      // A token without a byte to escape is its own escaped text: it is framed
      // and copied as it stands, and only a token that holds one is written
      // again, escaped on the way, with no copy of it between.
      const TFragmentFrame& frame = scanner.FrameToken(kind, token);
      makeRoom(token.size() + kFragmentRoom);
      const bool lineEnd = isLineEnd(token);
      if (record != nullptr) {
        record->Token(frame, token, lineEnd);
        TScanState state;
        if (lineEnd && scanner.SaveState(state)) record->LineStart(state);
      }
      if (lineEnd) writer.Put("\\par ");
      const std::size_t start = writer.Size();
      writer.PutHead(frame);
      if (!writer.PutUnlessSpecial(token)) {
        writer.Cut(start);
        makeRoom(token.size() + CountRtfSpecial(token) + kFragmentRoom);
        writer.PutHead(frame);
        writer.PutEscaped(token);
      }
      writer.PutTail(frame);
      consumed += token.size();
    } else {
      // A fragment the loop cannot see through: its looks are not followed.
      if (record != nullptr) record->Invalidate();
      copied = scanner.GetToken();
      const int kind = scanner.GetTokenKind();
      const std::size_t textBytes = copied.size();
      scanner.EscapeToken(copied);
      Fragment_.clear();
      scanner.FormatToken(kind, copied, Fragment_);
      makeRoom(Fragment_.size() + kFragmentRoom);
      if (isLineEnd(copied)) writer.Put("\\par ");
      writer.Put(Fragment_);
      consumed += textBytes;
    }
    // Other streams get large blocks: one write per token would cost more than the scan.
    if (flushTo != nullptr && writer.Size() >= kBlockSize) {
      flushTo->Write(writer.Data(), writer.Size());
      writer.Cut(0);
    }
    scanner.Next();
  }
}

template <class Scanner>
void TqorRTFSyntax::ScanLooksOf(Scanner& scanner, TLookScan& scan) {
  constexpr bool kFramed =
      std::is_final_v<Scanner> &&
      std::is_same_v<decltype(&Scanner::FormatToken),
                     void (TqorRTFSyntax::*)(int, std::string_view, std::string&)>;
  if (!kFramed) {
    scan.Failed = true;
    return;
  }
  scanner.RestoreState(scan.State);
  scanner.SetLine(scan.Text, 1);
  while (!scanner.GetEol()) {
    std::string_view token;
    scanner.TokenInPlace(token);
    const bool lineEnd = IsCrLf(token);
    if (!lineEnd && IsLoneLineEnd(token)) {
      scan.Failed = true;
      return;
    }
    const int kind = scanner.GetTokenKind();
    const TLookId look = scan.Tracker.Token(scanner.FrameToken(kind, token), lineEnd);
    scan.Show(static_cast<std::size_t>(scanner.TokenStart()),
              static_cast<std::size_t>(scanner.TokenEnd()), look);
    if (scan.Failed || scan.Tracker.Failed()) {
      scan.Failed = true;
      return;
    }
    if (lineEnd) {
      TScanState state;
      scanner.SaveState(state);
      if (scan.LineStart(static_cast<std::size_t>(scanner.TokenEnd()), state)) {
        scan.Stopped = true;
        return;
      }
    }
    scanner.Next();
  }
  scan.End = static_cast<std::size_t>(scanner.TokenStart());
}
