// What every scanner keeps and does alike: the text and the scan position, the
// current token, the handlers of blanks, line ends and the end of the text, and
// the conversion loop called on the scanner's own class.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "byte_class.h"
#include "keyword_buckets.h"
#include "rtf_syntax.h"

// Derived is the final scanner class; Kind its token kinds, which have an
// EndOfText; BlankKind is the kind its blanks and line ends are written as.
template <class Derived, class Kind, Kind BlankKind>
class TScannerBase : public TqorRTFSyntax {
  // The base class's conversion loop calls the scanner's own operations.
  friend class TqorRTFSyntax;

 public:
  void EscapeToken(std::string& token) override { EscapeRtf(token); }
  bool GetEol() override { return TokenKind == Kind::EndOfText; }
  std::string GetToken() override { return std::string(TokenText()); }
  void SetLine(const char* text, int lineNumber) override {
    Line = text != nullptr ? text : "";
    Run = 0;
    LineNumber = lineNumber;
    static_cast<Derived*>(this)->Next();
  }

  // The state is the last token's kind (a token may take it over, as the
  // HTML scanner's empty one does) and what the scanner carries itself
  // (CarriedState: its range and the like).
  bool SaveState(TScanState& state) const override {
    state.Value = std::uint64_t{static_cast<std::uint8_t>(TokenKind)} << 32 |
                  static_cast<const Derived*>(this)->CarriedState();
    return true;
  }
  void RestoreState(const TScanState& state) override {
    TokenKind = static_cast<Kind>(static_cast<std::uint8_t>(state.Value >> 32));
    static_cast<Derived*>(this)->RestoreCarried(static_cast<std::uint32_t>(state.Value));
  }
  void ScanLooks(TLookScan& scan) override { ScanLooksOf(static_cast<Derived&>(*this), scan); }

  std::int32_t TokenStart() const override { return TokenPos; }
  std::int32_t TokenEnd() const override { return Run; }

 protected:
  bool TokenInPlace(std::string_view& token) override {
    token = TokenText();
    return true;
  }
  void AppendTokens(std::string& out, TStream* flushTo) override {
    AppendTokensOf(static_cast<Derived&>(*this), out, flushTo);
  }

  // A byte handler as the entry of a handler table: a plain function, so the
  // table holds no pointers to members of two classes.
  template <auto Proc>
  static void Call(Derived& scanner) {
    (scanner.*Proc)();
  }

  std::string_view TokenText() const {
    return std::string_view(Line + TokenPos, static_cast<std::size_t>(Run - TokenPos));
  }

  void NullProc() { TokenKind = Kind::EndOfText; }
  void SpaceProc() {
    do {
      ++Run;
    } while (byte_class::IsBlank(Line[Run]));
    TokenKind = BlankKind;
  }
  void LFProc() {
    ++Run;
    TokenKind = BlankKind;
  }
  // CR LF is one token, a lone CR one of its own.
  void CRProc() {
    ++Run;
    if (Line[Run] == '\n') ++Run;
    TokenKind = BlankKind;
  }
  // Inside a construct that stays open across lines, a line end (or the end of
  // the text) is still a token of its own: scans it and returns true when the
  // scan position is at one.
  bool LineEndInRange() {
    switch (Line[Run]) {
      case '\0':
        NullProc();
        return true;
      case '\n':
        LFProc();
        return true;
      case '\r':
        CRProc();
        return true;
      default:
        return false;
    }
  }

  // Steps to the line end (or the end of the text): a comment to the end of the line.
  void ScanToLineEnd() {
    while (!byte_class::IsLineEnd(Line[Run])) ++Run;
  }
  // Steps to just after the next "*/" and returns true, or to the line end,
  // where a block comment stays open for the next line.
  bool ScanPastCommentClose() {
    for (;;) {
      const char c = Line[Run];
      if (byte_class::IsLineEnd(c)) return false;
      if (c == '*' && Line[Run + 1] == '/') {
        Run += 2;
        return true;
      }
      ++Run;
    }
  }

  // The keyword test of the scanners with a keyword list: the listed word the
  // identifier at ToIdent (StringLen bytes, hashed to `hash`) is, compared
  // under the scanner's hash table; null for any other identifier.
  const TKeyword* FindKeyword(std::uint64_t hash, int maxKey, const std::int32_t* hashTable) const {
    if (hash > static_cast<std::uint64_t>(maxKey)) return nullptr;
    const TKeywordBucket& bucket = IdentFuncTable[hash];
    for (const TKeyword* k = bucket.First; k != bucket.Last; ++k) {
      if (KeyComp(*k, hashTable)) return k;
    }
    return nullptr;
  }
  bool KeyComp(const TKeyword& keyword, const std::int32_t* hashTable) const {
    return SameUnderHash(keyword, ToIdent, StringLen, hashTable);
  }

  // An empty text until SetLine, so a premature Next is harmless.
  const char* Line = "";
  std::int32_t Run = 0;
  std::int32_t TokenPos = 0;
  std::int32_t LineNumber = 0;
  Kind TokenKind = Kind{};
  std::int32_t StringLen = 0;
  const char* ToIdent = nullptr;
  const TKeywordBucket* IdentFuncTable = nullptr;
};
