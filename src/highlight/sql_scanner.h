// The SQL highlighter: comments navy and italic, keywords bold, strings blue,
// everything else black. Only "/*" comments span lines; strings end at the line end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "keyword_buckets.h"
#include "rtf_syntax.h"

class TqorSQLRTF final : public TqorRTFSyntax {
  // The base class's conversion loop calls the scanner's own operations.
  friend class TqorRTFSyntax;

 public:
  enum class TTokenKind : std::uint8_t {
    Comment,
    Identifier,
    Key,
    Number,
    Symbol,
    String,
    EndOfText,
  };
  enum class TRangeState : std::uint8_t { Normal, Comment };

  static constexpr int MaxKey = 156;

  TqorSQLRTF();

  void EscapeToken(std::string& token) override;
  void Next() override;
  bool GetEol() override;
  std::string GetToken() override;
  int GetTokenKind() override;
  void SetLine(const char* text, int lineNumber) override;
  const char* GetTokenKindName() override;

  TTokenKind GetTokenId() const { return TokenKind; }
  TRangeState GetRange() const { return Range; }

  using TProcTableProc = void (TqorSQLRTF::*)();

 protected:
  const TFragmentFrame& FrameToken(int colorIndex, std::string_view token) override;
  bool TokenInPlace(std::string_view& token) override;
  void AppendTokens(std::string& out, TStream* flushTo) override;

 private:
  void InitIdent();
  void MakeMethodTables();

  std::int32_t KeyHash(const char* p);
  TTokenKind IdentKind(const char* p);
  bool KeyComp(const TKeyword& keyword) const;
  TTokenKind KeyFunc(const TKeywordBucket& bucket) const;
  TTokenKind AltFunc() const;

  // Byte handlers of ProcTable.
  void NullProc();
  void SpaceProc();
  void LFProc();
  void CRProc();
  void DoubleQuoteProc();
  void HashProc();
  void ApostropheProc();
  void MinusProc();
  void NumberProc();
  void SlashProc();
  void IdentProc();
  void SymbolProc();

  // The rest of a line of a "/*" comment while Range is Comment.
  void CommentProc();
  void ScanCommentBody();
  void ScanToLineEnd();

  TRangeState Range = TRangeState::Normal;
  const char* Line = nullptr;
  const TProcTableProc* ProcTable = nullptr;
  std::int32_t Run = 0;
  std::int32_t StringLen = 0;
  std::int32_t LineNumber = 0;
  const char* ToIdent = nullptr;
  std::int32_t TokenPos = 0;
  TTokenKind TokenKind = TTokenKind::Comment;
  const TKeywordBucket* IdentFuncTable = nullptr;
};
